#pragma once
// A started gallery of 16 slots in a temporary program folder, with helpers to fill slots.
#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

#include "support/fake_progress_port.h"
#include "support/fake_user_port.h"
#include "support/test_files.h"
#include "workbench/gallery/gallery_slots.h"
#include "workbench/gallery/gallery_startup.h"

namespace vemla::testing {

class GalleryFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    bench.settings.folder = dir.path();
    bench.settings.gallery.emplace();
    ASSERT_TRUE(startGallery(bench, user));
    user.messages.clear();
  }
  persist::GallerySlot& slot(int number) {
    return bench.settings.gallery->info.slotRecords[static_cast<std::size_t>(number)];
  }
  std::span<const std::uint8_t> thumbnail(int number) const {
    return std::span<const std::uint8_t>(bench.settings.gallery->thumbnails)
        .subspan(static_cast<std::size_t>(number) * 65536, 65536);
  }
  std::string slotFile(int number) const { return slotFilePath(dir.path(), number); }
  // A grey picture whose pixel i is (i * step + seed) mod 256.
  static std::vector<std::uint8_t> pixels(std::size_t count, int seed = 0, int step = 1) {
    std::vector<std::uint8_t> out(count);
    for (std::size_t i = 0; i < count; ++i) out[i] = static_cast<std::uint8_t>(i * step + seed);
    return out;
  }
  int storeGrey(int number, int width, int height, const std::string& title, int seed = 0) {
    const std::vector<std::uint8_t> content =
        pixels(static_cast<std::size_t>(width) * height, seed);
    SlotPicture picture;
    picture.pixels = content;
    picture.width = width;
    picture.height = height;
    picture.title = title;
    return storePictureInSlot(bench, user, number, picture);
  }
  int storeData(int number, const std::vector<std::uint8_t>& bytes, const std::string& title) {
    return storeDataInSlot(bench, user, number, bytes, title);
  }

  TempDir dir;
  Workbench bench;
  FakeUserPort user;
  FakeProgressPort progress;
};

}  // namespace vemla::testing
