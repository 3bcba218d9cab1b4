#include "picture/memory_item.h"

#include <gtest/gtest.h>

#include "picture/bitmap.h"
#include "support/fake_user_port.h"
#include "support/test_files.h"

namespace vemla {
namespace {

using testing::FakeUserPort;
using testing::makeBitmap;
using testing::TempDir;
using testing::writeBytes;

class MemoryItems : public ::testing::Test {
 protected:
  static constexpr int kMax = 64;
  MemoryItemRequest request(const std::string& name) {
    MemoryItemRequest r;
    r.name = dir.file(name);
    r.maxWidth = r.maxHeight = kMax;
    return r;
  }
  int read(const MemoryItemRequest& r) {
    return readFileIntoMemoryItem(r, user, rawSize, destination, scratch, item);
  }
  TempDir dir;
  FakeUserPort user;
  RawSize rawSize{};
  std::vector<std::uint8_t> destination = std::vector<std::uint8_t>(4 * kMax * kMax);
  std::vector<std::uint8_t> scratch = std::vector<std::uint8_t>(4 * kMax * kMax);
  MemoryItem item;
};

TEST_F(MemoryItems, TrueColourBitmapsKeepTheirBytesTopDown) {
  writeBytes(dir.file("c.bmp"), makeBitmap(9, 8, 24, [](int x, int y) {
               return std::vector<std::uint8_t>{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 7};
             }));
  ASSERT_EQ(read(request("c.bmp")), 0);
  EXPECT_EQ(item.kind, kItemBitmap);
  EXPECT_EQ(item.bytesPerPixel, 3);
  EXPECT_EQ(item.width, 9);
  EXPECT_EQ(item.height, 8);
  // Row 5, column 4: unpadded rows of 27 bytes.
  EXPECT_EQ(destination[5 * 27 + 4 * 3 + 0], 4);
  EXPECT_EQ(destination[5 * 27 + 4 * 3 + 1], 5);
  EXPECT_EQ(destination[5 * 27 + 4 * 3 + 2], 7);
}

TEST_F(MemoryItems, TrueColourBitmapsBecomeEightBitWhenAsked) {
  // Bottom-up 10 x 8 (R8 = 12): the result must be compacted to 10-byte rows and upright.
  writeBytes(dir.file("c.bmp"), makeBitmap(10, 8, 32, [](int x, int y) {
               const std::uint8_t v = static_cast<std::uint8_t>(10 * y + x);
               return std::vector<std::uint8_t>{v, v, v, 0};
             }));
  MemoryItemRequest r = request("c.bmp");
  r.convertTo8Bit = true;
  r.trueColourMode = 1;
  r.askRatio = true;
  user.ratioAnswers.push_back(RgbRatio{0.0, 1.0, 0.0});
  ASSERT_EQ(read(r), 0);
  ASSERT_EQ(user.ratioPrompts.size(), 1u);
  EXPECT_EQ(user.ratioPrompts[0].suffix, "c.bmp");
  EXPECT_EQ(item.bytesPerPixel, 1);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 10; ++x) ASSERT_EQ(destination[y * 10 + x], 10 * y + x);
  }
  user.ratioAnswers.push_back(std::nullopt);
  EXPECT_EQ(read(r), kItemAbandoned);
}

TEST_F(MemoryItems, RawFilesAskForTheirSizeAndKeepTheLimits) {
  writeBytes(dir.file("a.raw"), std::vector<std::uint8_t>(100, 9));
  user.rawAnswers.push_back(RawSize{10, 10, 0});
  ASSERT_EQ(read(request("a.raw")), 0);
  EXPECT_EQ(item.kind, kItemRaw);
  EXPECT_EQ(rawSize, (RawSize{10, 10, 0}));
  EXPECT_EQ(item.palette, greyRamp());
  EXPECT_EQ(user.rawPrompts[0].file, "a.raw");

  user.rawAnswers.push_back(RawSize{65, 8, 0});
  EXPECT_EQ(read(request("a.raw")), kTooLarge);
  EXPECT_EQ(user.messages.back().text,
            "画像／ﾃﾞｰﾀのｻｲｽﾞが大きすぎます (64x64以内)\n" + dir.file("a.raw"));
  user.rawAnswers.push_back(RawSize{8, 7, 0});
  EXPECT_EQ(read(request("a.raw")), kItemTooSmall);
  EXPECT_EQ(user.messages.back().text,
            "画像ｻｲｽﾞが小さすぎます (8x8以上が必要)\n" + dir.file("a.raw") + " ");
  user.rawAnswers.push_back(std::nullopt);
  EXPECT_EQ(read(request("a.raw")), kItemAbandoned);
}

TEST_F(MemoryItems, OtherFilesAreDataItemsWithinTheirLimit) {
  writeBytes(dir.file("notes.txt"), {'a', 'b', 'c'});
  ASSERT_EQ(read(request("notes.txt")), 0);
  EXPECT_EQ(item.kind, kItemData);
  EXPECT_EQ(item.width, 3);
  EXPECT_EQ(item.height, 1);
  EXPECT_EQ(destination[2], 'c');

  MemoryItemRequest noData = request("notes.txt");
  noData.noData = true;
  EXPECT_EQ(read(noData), kItemNotPicture);

  writeBytes(dir.file("exact.dat"), std::vector<std::uint8_t>(4 * kMax * kMax, 1));
  EXPECT_EQ(read(request("exact.dat")), 0);
  writeBytes(dir.file("big.dat"), std::vector<std::uint8_t>(4 * kMax * kMax + 1, 1));
  EXPECT_EQ(read(request("big.dat")), kTooLarge);
  EXPECT_EQ(user.messages.back().text,
            "画像／ﾃﾞｰﾀのｻｲｽﾞが大きすぎます (16384ﾊﾞｲﾄ以内)\n" + dir.file("big.dat"));
}

TEST_F(MemoryItems, ReportsOnlyWhenAsked) {
  MemoryItemRequest quiet = request("missing.bmp");
  quiet.report = false;
  EXPECT_EQ(read(quiet), kReadError);
  EXPECT_TRUE(user.messages.empty());
  EXPECT_EQ(read(request("missing.bmp")), kReadError);
  EXPECT_EQ(user.onlyMessage(), "ﾌｧｲﾙの読み込みに失敗しました\n" + dir.file("missing.bmp"));
}

TEST_F(MemoryItems, SmallBitmapsAreRefused) {
  writeBytes(dir.file("s.bmp"), makeBitmap(4, 4, 8, [](int, int) { return std::vector<std::uint8_t>{1}; }));
  EXPECT_EQ(read(request("s.bmp")), kItemTooSmall);
}

}  // namespace
}  // namespace vemla
