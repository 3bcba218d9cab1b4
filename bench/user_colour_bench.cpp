// User colour tables: an edit of a table that both panes show (the panes are painted again, the
// pixels do not depend on the table), at x1 and x64; and vemla-cli colour-image on a 4096 x 4096
// image against the memory-bandwidth floor (a 64 MiB memcpy: 16 MiB read, 48 MiB written).
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <sstream>
#include <vector>

#include "cli/cli.h"
#include "extensions/user_colours.h"
#include "picture/bitmap.h"
#include "ports/quiet_user_port.h"
#include "processing/image_kinds.h"
#include "shift_pictures.h"
#include "workbench/extensions/user_colour_editor.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/view/refresh_chain.h"

namespace {

using vemla::bench::kSide;

const std::vector<std::uint8_t>& image() {
  static const std::vector<std::uint8_t> picture = vemla::bench::texturedPicture(kSide, kSide);
  return picture;
}

vemla::UserColourTable rampTable() {
  vemla::UserColourTable table{};
  for (std::size_t g = 0; g < 256; ++g) {
    table[g * 3] = static_cast<std::uint8_t>(g);
    table[g * 3 + 2] = static_cast<std::uint8_t>(255 - g);
  }
  return table;
}

// Arg: magnification.
void BM_UserColourEdit(benchmark::State& state) {
  static vemla::Workbench bench;
  static vemla::QuietUserPort user;
  if (!bench.pictures.picturesPresent) {
    bench.store.allocate(kSide, kSide);
    vemla::MemoryPictures given;
    given.width = given.height = kSide;
    given.pixels = {image().data(), image().data()};
    vemla::setPicturesFromMemory(bench, user, given);
    bench.userEntries.colours[0] = {1, "ramp", rampTable()};
    for (std::size_t image = 0; image < 2; ++image) {
      bench.images.selections.kindColours[image][static_cast<std::size_t>(
          bench.images.kind[image])] = vemla::kFirstUserColour;
    }
    bench.view.colourDisplay = true;
  }
  vemla::setMagnification(bench, static_cast<int>(state.range(0)));
  vemla::UserColourEditing editing(bench, user);
  vemla::UserColourEntry edit = editing.edit();
  for (auto _ : state) {
    ++edit.table[0];  // a different table each time, so that it is stored and shown
    editing.setEdit(edit);
    editing.change();
    benchmark::ClobberMemory();
  }
  std::string label = "x";
  label += std::to_string(state.range(0));
  label += ", both panes";
  state.SetLabel(label);
}
BENCHMARK(BM_UserColourEdit)->Arg(1)->Arg(64)->Unit(benchmark::kMicrosecond);

struct ColourImageFiles {
  std::filesystem::path folder;
  std::string image, table, out;
  ColourImageFiles() {
    folder = std::filesystem::temp_directory_path() / "vemla-bench-colour";
    std::filesystem::create_directories(folder);
    image = (folder / "image.bmp").string();
    table = (folder / "table.txt").string();
    out = (folder / "out.bmp").string();
    vemla::writeBitmap(image, kSide, kSide, 1, ::image().data(), nullptr);
    vemla::writeColourTableFile(table, rampTable());
  }
  ~ColourImageFiles() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
};

void BM_ColourImageCli(benchmark::State& state) {
  static const ColourImageFiles files;
  for (auto _ : state) {
    std::ostringstream out, err;
    if (vemla::cli::runCli({"colour-image", files.image, files.table, files.out,
                            "--max", "4096x4096"},
                           out, err) != 0) {
      state.SkipWithError(err.str().c_str());
      break;
    }
  }
  state.SetBytesProcessed(state.iterations() * std::int64_t{kSide} * kSide * 4);
  state.SetLabel("4096 x 4096, 16 MiB read + 48 MiB written");
}
BENCHMARK(BM_ColourImageCli)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ColourImageFloorMemcpy(benchmark::State& state) {
  const std::size_t bytes = std::size_t{64} << 20;
  std::vector<std::uint8_t> from(bytes, 1), to(bytes);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
  state.SetLabel("64 MiB memcpy");
}
BENCHMARK(BM_ColourImageFloorMemcpy)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
