#pragma once
// The exchange file VemlaCCaP.dat that moves one picture or data item between pictures, gallery
// slots and running copies: a 1600-byte header (kind, colour code, title, width or length,
// height, 48 zero bytes, palette) and the payload. Every running copy reads and writes it; the
// last writer wins, and a reader sees either the old or the new file, never a partial one.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "picture/palette.h"
#include "ports/ports.h"
#include "text/translate.h"

namespace vemla::persist {

inline constexpr std::size_t kExchangeHeaderBytes = 1600;
inline constexpr int kExchangePicture = 0;
inline constexpr int kExchangeData = 1;

// Results of reading besides the kind (0 or 1).
inline constexpr int kExchangeFailed = -1;
inline constexpr int kExchangeTooSmall = -2;
inline constexpr int kExchangeTooLarge = -3;
inline constexpr int kExchangeDataTooLarge = -4;
inline constexpr int kExchangeNotPicture = -5;
inline constexpr int kExchangeCancelled = 99;  // the RGB-ratio dialog was cancelled

namespace msg {
inline constexpr const char* kExchangeReadFailed =
    text::N_("VemLA間のｺﾋﾟｰ&ﾍﾟｰｽﾄ情報の取り込みに失敗しました");
inline constexpr const char* kExchangeWriteFailed =
    text::N_("VemLA間のｺﾋﾟｰ&ﾍﾟｰｽﾄ情報の退避に失敗しました");
inline constexpr const char* kExchangeNotPicture = text::N_("画像情報ではありません");
inline constexpr const char* kExchangeDataTooLarge = text::N_("ﾃﾞｰﾀのｻｲｽﾞが大きすぎます");
inline constexpr const char* kExchangeTooLarge = text::N_("画像ｻｲｽﾞが大きすぎます");
inline constexpr const char* kExchangeTooSmall = text::N_("画像ｻｲｽﾞが小さすぎます");
inline constexpr const char* kExchangeSize = text::N_("%s(%dx%d)");
}  // namespace msg

struct ExchangeItem {
  int kind = kExchangePicture;
  int colourCode = 0;  // 0, 1, 2: one, three (blue, green, red) or four bytes per pixel
  std::string title;   // at most 511 CP932 bytes are stored
  int width = 0;       // a data item: its length in bytes
  int height = 0;
  Palette palette = greyRamp();
  std::vector<std::uint8_t> payload;  // rows top-down, width * bytes per pixel each
};

struct ExchangeRequest {
  bool pictureOnly = true;     // false: a data item is welcome too
  bool convertTo8Bit = false;  // three and four bytes per pixel become one
  int maxWidth = 1024;
  int maxHeight = 1024;
  std::uint64_t dataLimit = 0;  // the most bytes a data item may have
  // How a true-colour picture becomes 8-bit (TrueColourOpenMode, AskRatioPerFile, GreyRatio).
  int trueColourMode = 0;
  bool askRatio = true;
  RgbRatio ratios{};
};

int bytesPerPixelOfCode(int colourCode);  // 1, 3 or 4

// Checks a whole file's bytes and takes the item out of them: the kind, or a negative result.
// No messages, no conversion.
int decodeExchangeItem(std::span<const std::uint8_t> bytes, const ExchangeRequest& request,
                       ExchangeItem& item);

// Reads the exchange file of `folder`: the kind (0 or 1), kExchangeCancelled, or a negative
// result after its message. A damaged file is moved aside to "VemlaCCaP.dat.bad".
int readExchangeItem(const std::string& folder, const ExchangeRequest& request, UserPort& user,
                     ExchangeItem& item);

// Replaces the exchange file with `item`: 0, or -1 after the message (the previous file stays).
int writeExchangeItem(const std::string& folder, const ExchangeItem& item, UserPort& user);

bool exchangeItemPresent(const std::string& folder);
// Removes the exchange file ("Vla内貼り付けﾌｧｲﾙのｸﾘｱ"); false when there was none to remove.
bool deleteExchangeFile(const std::string& folder);

}  // namespace vemla::persist
