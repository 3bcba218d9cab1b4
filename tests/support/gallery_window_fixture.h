#pragma once
// A started gallery of 16 slots in a temporary program folder: #1 a grey 8 x 8 picture titled
// "a", #2 data "d.txt". `form` is the stored display form (0 normal, 1 small), `count` the
// number of slots.
#include <vector>

#include "support/recording_port.h"
#include "support/test_files.h"
#include "workbench/gallery/gallery_slots.h"
#include "workbench/gallery/gallery_startup.h"

namespace vemla::testing {

struct GalleryBench {
  TempDir folder;
  Workbench bench;
  RecordingPort user;
  explicit GalleryBench(int form = 1, int count = 16) {
    bench.settings.folder = folder.path();
    bench.options = Options{};
    bench.settings.gallery.emplace();
    bench.settings.gallery->info.header.displayForm = form;
    bench.settings.gallery->info.header.galleryCount = count;
    startGallery(bench, user);
    const std::vector<std::uint8_t> grey(64, 9);
    SlotPicture picture;
    picture.pixels = grey;
    picture.width = picture.height = 8;
    picture.title = "a";
    storePictureInSlot(bench, user, 0, picture);
    storeDataInSlot(bench, user, 1, grey, "d.txt");
  }
  persist::GalleryHeader& header() { return bench.settings.gallery->info.header; }
  // The header as VemlaGinf.dat now holds it.
  persist::GalleryHeader storedHeader() const {
    persist::GalleryInformation info;
    bool keepBad = false;
    RecordingPort quiet;
    persist::loadGalleryInformation(folder.path(), info, quiet, false, keepBad);
    return info.header;
  }
};

}  // namespace vemla::testing
