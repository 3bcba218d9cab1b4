#include "picture/field_codec.h"

#include <gtest/gtest.h>

#include <vector>

namespace vemla {
namespace {

TEST(FieldCodec, IntegersAndDoublesAreLittleEndian) {
  std::vector<std::uint8_t> bytes(16, 0xEE);
  FieldWriter w(bytes);
  w.int32(-2);
  w.uint32(0x01020304);
  w.real(1.0);  // 0x3FF0000000000000
  EXPECT_EQ(w.written(), 16u);
  EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0xFE, 0xFF, 0xFF, 0xFF, 4, 3, 2, 1, 0, 0, 0, 0, 0, 0,
                                              0xF0, 0x3F}));
  FieldReader r(bytes);
  EXPECT_EQ(r.int32(), -2);
  EXPECT_EQ(r.uint32(), 0x01020304u);
  EXPECT_EQ(r.real(), 1.0);
}

TEST(FieldCodec, WriterStopsAtTheEndOfItsSpan) {
  std::vector<std::uint8_t> bytes(6, 0);
  FieldWriter w(std::span<std::uint8_t>(bytes).first(5));
  w.int32(7);
  w.int32(8);  // does not fit: nothing of it is written
  EXPECT_TRUE(w.overflowed());
  EXPECT_EQ(bytes, (std::vector<std::uint8_t>{7, 0, 0, 0, 0, 0}));
}

TEST(FieldCodec, ReaderGivesZerosBeyondItsBytes) {
  const std::vector<std::uint8_t> bytes{1, 2};
  FieldReader r(bytes);
  EXPECT_EQ(r.int32(), 0x0201);
  EXPECT_EQ(r.int32(), 0);
  EXPECT_EQ(r.text(8), "");
}

TEST(FieldCodec, TextFieldIsCp932PaddedWithZeros) {
  std::vector<std::uint8_t> bytes(8, 0xEE);
  FieldWriter w(bytes);
  w.text("画a", 8);  // 画 is 0x89 0xE6 in CP932
  EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0x89, 0xE6, 'a', 0, 0, 0, 0, 0}));
  FieldReader r(bytes);
  EXPECT_EQ(r.text(8), "画a");
}

TEST(FieldCodec, LongTextIsCutAtACharacterBoundaryLeavingRoomForItsTerminator) {
  std::vector<std::uint8_t> bytes(4, 0xEE);
  FieldWriter w(bytes);
  w.text("a画像", 4);  // a + 2 bytes fits 3; the second kanji would reach the terminator
  EXPECT_EQ(bytes, (std::vector<std::uint8_t>{'a', 0x89, 0xE6, 0}));
  EXPECT_EQ(fitCp932("ab画", 3), "ab");
  EXPECT_EQ(fitCp932("\xff", 10), "?");  // not UTF-8
}

TEST(FieldCodec, FieldWithoutTerminatorEndsInsideTheField) {
  const std::vector<std::uint8_t> full{'a', 'b', 'c', 'd'};
  FieldReader r(full);
  EXPECT_EQ(r.text(4), "abc");
  // The byte before the last is a lead byte: its character would cross the end.
  const std::vector<std::uint8_t> split{'a', 'b', 0x89, 0xE6};
  FieldReader s(split);
  EXPECT_EQ(s.text(4), "ab");
  EXPECT_EQ(s.position(), 4u);
}

TEST(FieldCodec, InvalidCp932IsReportedAndReadAsEmpty) {
  const std::vector<std::uint8_t> bytes{0x81, 0x20, 0, 0};  // a lead byte with no valid trail
  FieldReader r(bytes);
  bool valid = true;
  EXPECT_EQ(r.text(4, &valid), "");
  EXPECT_FALSE(valid);
}

}  // namespace
}  // namespace vemla
