#include "text/cp932.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace vemla::text {
namespace {

std::vector<std::uint8_t> bytesOf(std::string_view text) {
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

std::string repeat(std::string_view unit, int count) {
  std::string result;
  for (int i = 0; i < count; ++i) result += unit;
  return result;
}

// 0x5C and 0x7E are the ASCII backslash and tilde in CP932; a converter for plain Shift-JIS
// would turn them into the yen sign and the overline and break every Windows-style path.
TEST(Cp932, KeepsBackslashAndTildeAsAsciiBytes) {
  EXPECT_EQ(utf8ToCp932("C:\\dir\\~a.bmp"),
            "C:\x5C"
            "dir\x5C\x7E"
            "a.bmp");
  EXPECT_EQ(cp932ToUtf8("\x5C\x7E"), "\\~");
}

// Half-width katakana U+FF61..U+FF9F occupy the single bytes 0xA1..0xDF:
// ｻ U+FF7B -> 0xBB, ﾎ U+FF8E -> 0xCE, ﾟ U+FF9F -> 0xDF, ｰ U+FF70 -> 0xB0, ﾄ U+FF84 -> 0xC4.
TEST(Cp932, HalfWidthKatakanaAreSingleBytes) {
  EXPECT_EQ(utf8ToCp932("ｻﾎﾟｰﾄ"), "\xBB\xCE\xDF\xB0\xC4");
  EXPECT_EQ(cp932ToUtf8("\xBB\xCE\xDF\xB0\xC4"), "ｻﾎﾟｰﾄ");
}

TEST(Cp932, ConvertsDoubleByteCharactersBothWays) {
  // あ 0x82A0, 日 0x93FA, 本 0x967B, full-width tilde 0x8160.
  EXPECT_EQ(utf8ToCp932("あ日本～"), "\x82\xA0\x93\xFA\x96\x7B\x81\x60");
  EXPECT_EQ(cp932ToUtf8("\x82\xA0\x93\xFA\x96\x7B\x81\x60"), "あ日本～");
  // 表 0x955C: its second byte is a backslash, which must not be taken for one.
  EXPECT_EQ(cp932ToUtf8("\x95\x5C"), "表");
  EXPECT_EQ(utf8ToCp932(""), "");
}

// The NEC-selected and the IBM extension rows both hold 纊 (U+7E8A); either reads as the
// same character, and writing it back gives one two-byte code.
TEST(Cp932, ReadsBothCodesOfADuplicatedCharacter) {
  EXPECT_EQ(cp932ToUtf8("\xED\x40"), "纊");
  EXPECT_EQ(cp932ToUtf8("\xFA\x5C"), "纊");
  const auto encoded = utf8ToCp932("纊");
  ASSERT_TRUE(encoded.has_value());
  EXPECT_EQ(encoded->size(), 2u);
}

// Characters that the C library would map onto another character's code are refused rather
// than stored lossily: the yen sign would come back as a backslash, the wave dash as the
// full-width tilde.
TEST(Cp932, RefusesTextThatWouldNotReadBackUnchanged) {
  EXPECT_EQ(utf8ToCp932("\u00A5"), std::nullopt);         // ¥
  EXPECT_EQ(utf8ToCp932("a\u301C"), std::nullopt);        // 〜 wave dash
  EXPECT_EQ(utf8ToCp932("\U0001F600"), std::nullopt);     // emoji outside CP932
  EXPECT_EQ(utf8ToCp932("\u00E9t\u00E9"), std::nullopt);  // é has no code
}

TEST(Cp932, RefusesInvalidUtf8) {
  EXPECT_EQ(utf8ToCp932("\xC0\xAF"), std::nullopt);       // overlong '/'
  EXPECT_EQ(utf8ToCp932("a\xED\xA0\x80"), std::nullopt);  // encoded surrogate
  EXPECT_EQ(utf8ToCp932("\xE3\x81"), std::nullopt);       // cut-off sequence
  EXPECT_EQ(utf8ToCp932("\xFF"), std::nullopt);
}

TEST(Cp932, RefusesInvalidCp932) {
  EXPECT_EQ(cp932ToUtf8("a\x82"), std::nullopt);     // lead byte without its trail byte
  EXPECT_EQ(cp932ToUtf8("\x82\x20"), std::nullopt);  // trail byte out of range
  EXPECT_EQ(cp932ToUtf8("\x80"), std::nullopt);
  EXPECT_EQ(cp932ToUtf8("\xA0"), std::nullopt);
  EXPECT_EQ(cp932ToUtf8("\xFD"), std::nullopt);
  EXPECT_EQ(cp932ToUtf8("\xFF"), std::nullopt);
}

// A 512-byte field holds 511 CP932 bytes and the terminator; the limit counts CP932 bytes,
// not characters and not UTF-8 bytes.
TEST(Cp932Replacing, WritesEachCharacterCp932CannotHoldAsOneQuestionMark) {
  const struct {
    std::string utf8, shown;
    bool replaced;
  } cases[] = {
      {"検査.bmp", "検査.bmp", false},
      {"café.txt", "caf?.txt", true},
      {"검사_01.png", "??_01.png", true},
      {"\xF0\x9F\x98\x80x", "?x", true},
      {"\xC2\xA5"
       "100",
       "?100", true},                         // the yen sign would read back as "\"
      {std::string("a\0b", 3), "a?b", true},  // a zero would cut the field
      {"a\xFF\xC3"
       "b",
       "a??b", true},            // bytes that are not UTF-8
      {"\xE6\xA4", "??", true},  // a sequence cut short
      {"", "", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shown);
    bool replaced = !c.replaced;
    EXPECT_EQ(storableText(c.utf8, &replaced), c.shown);
    EXPECT_EQ(replaced, c.replaced);
    EXPECT_EQ(cp932ToUtf8(utf8ToCp932Replacing(c.utf8)), c.shown);
  }
}

TEST(Cp932FixedField, CountsCp932BytesAgainstTheField) {
  EXPECT_EQ(checkFixedField(repeat("a", 511), 512), FieldStatus::Ok);
  EXPECT_EQ(checkFixedField(repeat("a", 512), 512), FieldStatus::TooLong);
  // 255 kanji are 510 bytes, one more ASCII letter makes 511.
  EXPECT_EQ(checkFixedField(repeat("日", 255) + "a", 512), FieldStatus::Ok);
  EXPECT_EQ(checkFixedField(repeat("日", 256), 512), FieldStatus::TooLong);
  // 511 half-width katakana are 1533 UTF-8 bytes but only 511 CP932 bytes.
  EXPECT_EQ(checkFixedField(repeat("ｱ", 511), 512), FieldStatus::Ok);
  EXPECT_EQ(checkFixedField("", 1), FieldStatus::Ok);
  EXPECT_EQ(checkFixedField("", 0), FieldStatus::TooLong);
}

TEST(Cp932FixedField, ReportsUnrepresentableBeforeLength) {
  EXPECT_EQ(checkFixedField("\u00A5", 512), FieldStatus::NotRepresentable);
  EXPECT_EQ(checkFixedField(repeat("a", 600) + "\u00A5", 512), FieldStatus::NotRepresentable);
  // A zero inside the text would cut it short when read back.
  EXPECT_EQ(checkFixedField(std::string("a\0b", 3), 512), FieldStatus::NotRepresentable);
  EXPECT_EQ(checkFixedField("\xC0\xAF", 512), FieldStatus::NotRepresentable);
}

TEST(Cp932FixedField, WritesTextAndZeroFillsTheRest) {
  std::array<std::uint8_t, 8> field;
  field.fill(0xEE);
  ASSERT_EQ(writeFixedField(field, "a\\ｱ日"), FieldStatus::Ok);
  const std::array<std::uint8_t, 8> expected = {'a', 0x5C, 0xB1, 0x93, 0xFA, 0, 0, 0};
  EXPECT_EQ(field, expected);
}

TEST(Cp932FixedField, LeavesFieldUntouchedWhenRefused) {
  std::array<std::uint8_t, 4> field;
  field.fill(0xEE);
  const std::array<std::uint8_t, 4> untouched = field;
  EXPECT_EQ(writeFixedField(field, "abcd"), FieldStatus::TooLong);
  EXPECT_EQ(field, untouched);
  EXPECT_EQ(writeFixedField(field, "a日b"), FieldStatus::TooLong);  // 4 bytes + terminator
  EXPECT_EQ(field, untouched);
  EXPECT_EQ(writeFixedField(field, "\u00A5"), FieldStatus::NotRepresentable);
  EXPECT_EQ(field, untouched);
  EXPECT_EQ(writeFixedField(std::span<std::uint8_t>(), ""), FieldStatus::TooLong);
}

TEST(Cp932FixedField, ReadStopsAtFirstZeroOrFieldEnd) {
  EXPECT_EQ(readFixedField(bytesOf(std::string_view("ab\0cd", 5))), "ab");
  EXPECT_EQ(readFixedField(bytesOf("abc")), "abc");
  EXPECT_EQ(readFixedField(bytesOf(std::string_view("\xBB\xCE\xDF\xB0\xC4\0\0", 7))), "ｻﾎﾟｰﾄ");
  EXPECT_EQ(readFixedField({}), "");
  // Whatever follows the terminator is not looked at.
  EXPECT_EQ(readFixedField(bytesOf(std::string_view("a\0\x80\xFF", 4))), "a");
}

TEST(Cp932FixedField, ReadRefusesInvalidBytesBeforeTheTerminator) {
  EXPECT_EQ(readFixedField(bytesOf(std::string_view("a\x80\0", 3))), std::nullopt);
  // The field ends in the middle of a double-byte character.
  EXPECT_EQ(readFixedField(bytesOf("ab\x93")), std::nullopt);
}

TEST(Cp932FixedField, WrittenFieldReadsBackTheSameText) {
  const std::string text = "C:\\画像\\ｻﾎﾟｰﾄ~1.bmp";
  std::array<std::uint8_t, 512> field{};
  ASSERT_EQ(writeFixedField(field, text), FieldStatus::Ok);
  EXPECT_EQ(readFixedField(field), text);
}

}  // namespace
}  // namespace vemla::text
