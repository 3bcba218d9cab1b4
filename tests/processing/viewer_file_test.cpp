#include "processing/viewer_file.h"

#include <gtest/gtest.h>

#include "support/test_files.h"

namespace vemla {
namespace {

using testing::TempDir;
using testing::writeBytes;

TEST(ViewerFile, SlotFilesMustHoldExactlyTheirPicture) {
  TempDir folder;
  const std::string slot = folder.file("~~VemlaG003.dat");
  Palette palette{};
  palette[4 * 5] = 1, palette[4 * 5 + 1] = 2, palette[4 * 5 + 2] = 3;  // entry 5: blue 1 ...
  ViewerImage image;
  writeBytes(slot, {5, 6, 7, 8, 9, 10});
  ASSERT_EQ(loadViewerSlot(slot, 3, 2, 1, palette, 64, 64, image), "");
  EXPECT_EQ(image.palette[5], 0x030201u);
  EXPECT_EQ(image.pixels[3], 8);
  // Short, long and missing files fail without the path and keep what was read before.
  for (const std::vector<std::uint8_t>& bytes :
       {std::vector<std::uint8_t>(5, 0), std::vector<std::uint8_t>(7, 0)}) {
    writeBytes(slot, bytes);
    EXPECT_EQ(loadViewerSlot(slot, 3, 2, 1, palette, 64, 64, image), kViewerReadFailed);
  }
  EXPECT_EQ(loadViewerSlot(folder.file("none.dat"), 3, 2, 1, palette, 64, 64, image),
            kViewerReadFailed);
  EXPECT_EQ(loadViewerSlot(slot, 0, 2, 1, palette, 64, 64, image), kViewerReadFailed);
  EXPECT_EQ(loadViewerSlot(slot, 3, 2, 2, palette, 64, 64, image), kViewerReadFailed);
  EXPECT_EQ(image.width, 3);
  EXPECT_EQ(image.pixels[3], 8);
}

TEST(ViewerFile, BitmapMessagesNameTheFile) {
  TempDir folder;
  ViewerImage image;
  const std::string big = folder.file("big.bmp");
  writeBytes(big,
             testing::makeBitmap(80, 8, 8, [](int, int) { return std::vector<std::uint8_t>{1}; }));
  EXPECT_EQ(loadViewerBitmap(big, 64, 64, image), std::string(kViewerTooLarge) + "\n[" + big + "]");
  const std::string text = folder.file("a.txt");
  EXPECT_EQ(loadViewerBitmap(text, 64, 64, image),
            std::string(kViewerUnsupported) + "\n[" + text + "]");
  const std::string compressed = folder.file("c.bmp");
  std::vector<std::uint8_t> bytes =
      testing::makeBitmap(4, 4, 8, [](int, int) { return std::vector<std::uint8_t>{1}; });
  bytes[30] = 1;  // compression
  writeBytes(compressed, bytes);
  EXPECT_EQ(loadViewerBitmap(compressed, 64, 64, image),
            std::string(kViewerUnsupported) + "\n[" + compressed + "]");
  EXPECT_TRUE(image.empty());
}

}  // namespace
}  // namespace vemla
