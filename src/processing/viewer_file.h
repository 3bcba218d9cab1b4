#pragma once
// The viewer's own copy of a picture and how files come into it: bitmaps as they are (grey
// with their palette, 24- or 32-bit colour), raw files as grey with the given size. A failed
// read leaves the held picture untouched and returns the message to show.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "picture/palette.h"
#include "picture/sixteen_bit.h"
#include "ports/ports.h"
#include "processing/viewer_model.h"
#include "text/translate.h"

namespace vemla {

inline constexpr const char* kViewerNoMemory = text::N_("資源不足です");
inline constexpr const char* kViewerUnsupported = text::N_("ｻﾎﾟｰﾄされていない形式のﾌｧｲﾙです");
inline constexpr const char* kViewerTooLarge = text::N_(
    "表示可能な上限を超えています\n「ｵﾌﾟｼｮﾝ情報-画像関連-"
    "画像情報」の\n画像の最大許容ｻｲｽﾞを上げて下さい");
inline constexpr const char* kViewerReadFailed = text::N_("画像ﾃﾞｰﾀの読み込みに失敗しました");
inline constexpr const char* kViewerCannotView =
    text::N_("指定したﾀｲﾌﾟのﾌｧｲﾙはViewできません\n[%s]");

// Pixel memory of the viewer: mapped straight from the system with its pages made present at
// once (huge pages where the system gives them), so that the first read into a 48 MiB buffer
// does not pay a page fault per 4 KiB, and never zeroed by us (every reader overwrites all of
// it). It is kept when a smaller picture follows, and reports failure instead of throwing.
class ViewerPixels {
 public:
  ViewerPixels() = default;
  ~ViewerPixels();
  ViewerPixels(const ViewerPixels&) = delete;
  ViewerPixels& operator=(const ViewerPixels&) = delete;
  bool resize(std::size_t bytes);  // false, unchanged, when the memory cannot be had
  void swap(ViewerPixels& other) noexcept;
  std::uint8_t* data() { return block_; }
  const std::uint8_t* data() const { return block_; }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  std::uint8_t operator[](std::size_t i) const { return block_[i]; }
  operator std::span<std::uint8_t>() { return {block_, size_}; }

 private:
  std::uint8_t* block_ = nullptr;
  std::size_t size_ = 0, capacity_ = 0;
};

struct ViewerImage {
  ViewerPixels pixels;  // top-down, width * bytesPerPixel bytes a row
  // The next picture is read here and swapped in only when it was read completely; both
  // buffers keep their memory, so opening again allocates nothing.
  ViewerPixels spare;
  int width = 0, height = 0;
  int bytesPerPixel = 1;
  std::array<std::uint32_t, 256> palette{};  // 0x00RRGGBB, grey pictures only
  bool empty() const { return pixels.empty(); }
  ViewerPicture picture() const;
};

// Any picture file but raw (bitmap, PNG, TIFF, JPEG, PGM/PPM by their first bytes, named with
// one of their extensions); 16-bit grey becomes 8-bit by `sixteen`. Empty on success, else the
// message (with "\n[" path "]" for file sources).
std::string loadViewerBitmap(const std::string& path, int maxWidth, int maxHeight,
                             ViewerImage& into, const SixteenBitConversion& sixteen = {});
// The same from the bytes of a file named `name` (the name only goes into messages).
std::string loadViewerBitmap(std::span<const std::uint8_t> file, const std::string& name,
                             int maxWidth, int maxHeight, ViewerImage& into,
                             const SixteenBitConversion& sixteen = {});
std::string loadViewerRaw(const std::string& path, const RawSize& size, int maxWidth, int maxHeight,
                          ViewerImage& into);
// A gallery slot's picture: its slot file holds exactly width x height x bytes per pixel bytes,
// rows top-down; grey pictures take the slot's palette (blue, green, red, 0 per entry). A
// missing, short or long file gives "画像ﾃﾞｰﾀの読み込みに失敗しました" without the path.
std::string loadViewerSlot(const std::string& path, int width, int height, int bytesPerPixel,
                           const Palette& palette, int maxWidth, int maxHeight, ViewerImage& into);
// The same from memory: `content` holds exactly the picture's bytes.
std::string loadViewerContent(std::span<const std::uint8_t> content, int width, int height,
                              int bytesPerPixel, const Palette& palette, int maxWidth,
                              int maxHeight, ViewerImage& into);
// A grey picture from memory with its palette.
std::string loadViewerMemory(const std::uint8_t* pixels, int width, int height,
                             const std::array<std::uint32_t, 256>& palette, int maxWidth,
                             int maxHeight, ViewerImage& into);

}  // namespace vemla
