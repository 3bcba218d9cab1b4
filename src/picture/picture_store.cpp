#include "picture/picture_store.h"

#include <cstdlib>

#include "text/format.h"

namespace vemla {

std::uint8_t* PictureStore::defaultAllocate(std::size_t bytes) {
  return static_cast<std::uint8_t*>(std::calloc(bytes, 1));
}

void PictureStore::Free::operator()(std::uint8_t* p) const { std::free(p); }

bool PictureStore::allocate(int maxWidth, int maxHeight, const Allocator& allocator) {
  if (maxWidth <= 0 || maxHeight <= 0) return false;
  const std::size_t planeBytes = static_cast<std::size_t>(maxWidth) * static_cast<std::size_t>(maxHeight);
  std::uint8_t* block = allocator(planeBytes * kPlaneCount + kCacheLine - 1);
  if (block == nullptr) return false;
  block_.reset(block);
  base_ = onCacheLine(block);
  maxWidth_ = maxWidth;
  maxHeight_ = maxHeight;
  planeBytes_ = planeBytes;
  return true;
}

bool allocatePictureStore(PictureStore& store, int maxWidth, int maxHeight, UserPort& user,
                          const PictureStore::Allocator& allocator) {
  constexpr int kFallback = 1024;
  if (store.allocate(maxWidth, maxHeight, allocator)) return true;
  if ((maxWidth > kFallback || maxHeight > kFallback) &&
      store.allocate(kFallback, kFallback, allocator)) {
    user.tell(Icon::Warning,
              text::format("資源(ﾒﾓﾘ)が不足しているため最大画像\nｻｲｽﾞを %d x %d へ変更しました",
                           kFallback, kFallback));
    return true;
  }
  user.tell(Icon::Warning, "資源(ﾒﾓﾘ)が不足しています");
  return false;
}

}  // namespace vemla
