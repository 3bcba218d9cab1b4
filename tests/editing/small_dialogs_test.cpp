#include "editing/small_dialogs.h"

#include <gtest/gtest.h>

namespace vemla {
namespace {

TEST(RawSizeCheck, AcceptsTheRangeAndNamesItWhenRefusing) {
  EXPECT_FALSE(checkRawSize({8, 8, 0}, 1024, 2048));
  EXPECT_FALSE(checkRawSize({1024, 2048, 1 << 30}, 1024, 2048));
  const std::string range = "幅／高さの指定に誤りがあります(8ｘ8～1024ｘ2048)";
  EXPECT_EQ(checkRawSize({7, 8, 0}, 1024, 2048), range);
  EXPECT_EQ(checkRawSize({8, 7, 0}, 1024, 2048), range);
  EXPECT_EQ(checkRawSize({1025, 8, 0}, 1024, 2048), range);
  EXPECT_EQ(checkRawSize({8, 2049, 0}, 1024, 2048), range);
  EXPECT_EQ(checkRawSize({8, 8, -1}, 1024, 2048), "読み込み開始位置に誤りがあります");
}

TEST(RawSizeCheck, Texts) {
  EXPECT_EQ(rawFileBytesText(262144), "262144ﾊﾞｲﾄ");
  EXPECT_EQ(
      rawSizeHelpText(1024, 1024),
      "画像ｻｲｽﾞを8ｘ8～1024ｘ1024\nの範囲で指定します\nｻｲｽﾞの範囲外のﾌｧｲﾙも\n読み込みが可能です");
}

TEST(RgbRatioDialogText, TitlesAndShortenedRatios) {
  EXPECT_EQ(rgbRatioTitle(rgbRatioFileSuffix(PictureSlot::First)), "TrueColor RGB比(ﾌｧｲﾙ1)");
  EXPECT_EQ(rgbRatioTitle(rgbRatioFileSuffix(PictureSlot::Second)), "TrueColor RGB比(ﾌｧｲﾙ2)");
  EXPECT_EQ(rgbRatioTitle(""), "TrueColor RGB比");
  EXPECT_EQ(formatRatio(1.0), "1.0");
  EXPECT_EQ(formatRatio(0.299), "0.299");
  EXPECT_EQ(formatRatio(0.0), "0.0");
  EXPECT_EQ(formatRatio(12.5), "12.5");
}

TEST(RgbRatioDialogText, FieldsReadAsDecimalNumbers) {
  EXPECT_DOUBLE_EQ(parseRatioField("0.587"), 0.587);
  EXPECT_DOUBLE_EQ(parseRatioField(" 1"), 1.0);
  EXPECT_DOUBLE_EQ(parseRatioField("abc"), 0.0);
  EXPECT_DOUBLE_EQ(parseRatioField(""), 0.0);
}

}  // namespace
}  // namespace vemla
