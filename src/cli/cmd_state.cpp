#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <vector>

#include "cli/control_flags.h"
#include "cli/read_flags.h"
#include "cli/user_port.h"
#include "cli/verbs.h"
#include "persist/state_file.h"
#include "persist/user_info.h"
#include "picture/file_helpers.h"
#include "picture/messages.h"
#include "processing/colour_tables.h"
#include "processing/image_kinds.h"
#include "text/format.h"
#include "text/translate.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/picture/prepare_pictures.h"
#include "workbench/settings/state_memory.h"
#include "workbench/view/colour_controls.h"

namespace vemla::cli {
namespace {

const std::set<std::string> kSaveFlags{"--kinds", "--colours", "--mag", "--centre", "--result"};

int save(const Arguments& args, Context& io) {
  if (args.positional.size() != 4) throw UsageError("state save takes P1, P2 and OUT.vic");
  const std::string& name1 = args.positional[1];
  const std::string& name2 = args.positional[2];
  const std::string& out = args.positional[3];
  const ReadFlags readFlags = parseReadFlags(args);
  const ControlFlags control = parseControlFlags(args, std::nullopt, readFlags.options);
  std::pair<int, int> kinds{0, 1}, colours{0, 0};
  if (const auto value = args.value("--kinds")) {
    kinds = parsePair(*value, 0, kBuiltInKindCount - 1, "--kinds");
  }
  if (const auto value = args.value("--colours")) {
    colours = parsePair(*value, kColourGrey, kColourOffset, "--colours");
  }
  int magnification = 1;
  if (const auto value = args.value("--mag")) magnification = parseInt(*value, 1, 64, "--mag");

  CliUserPort user(io.err, readFlags.raw, readFlags.ratios);
  Workbench bench;
  if (!prepareWorkbench(bench, readFlags, user)) return 1;
  std::vector<std::uint8_t> result;
  int resultWidth = 0, resultHeight = 0;
  if (const auto name = args.value("--result")) {
    if (openPictureFiles(bench, user, &*name, nullptr, OpenMode::Both) != 0)
      return user.openFailed();
    resultWidth = bench.pictures.width;
    resultHeight = bench.pictures.height;
    const std::uint8_t* plane = bench.store.plane(kPicture1);
    result.assign(plane, plane + static_cast<std::size_t>(resultWidth) * resultHeight);
  }
  if (openPictureFiles(bench, user, &name1, &name2, OpenMode::Both) != 0) return user.openFailed();
  const int width = bench.pictures.width, height = bench.pictures.height;
  std::uint8_t* resultPlane = bench.store.plane(kUserResult);
  if (args.has("--result") && (resultWidth != width || resultHeight != height)) {
    io.err << text::tr(msg::kSizesDiffer) << '\n';
    return 1;
  }
  std::memset(resultPlane, 0, static_cast<std::size_t>(width) * height);
  if (!result.empty()) std::memcpy(resultPlane, result.data(), result.size());
  if (const auto value = args.value("--centre")) {
    const auto [x, y] = parsePair(*value, 0, std::max(width, height) - 1, "--centre");
    if (x >= width || y >= height) throw UsageError("--centre must lie inside the picture");
    bench.view.centreX = x;
    bench.view.centreY = y;
  } else {
    bench.view.centreX = width / 2;
    bench.view.centreY = height / 2;
  }
  bench.view.magnification = magnification;
  applyControlFlags(control, bench);
  bench.images.kind = {kinds.first, kinds.second};
  setColourAssociation(bench, ImageSlot::First, colours.first);
  setColourAssociation(bench, ImageSlot::Second, colours.second);
  NoBusyPort busy;
  // The alignment result is part of the state; a failed alignment tells and goes on.
  preparePictures(bench, user, busy);
  if (!saveState(bench, out)) {
    io.err << text::format(msg::kWithName, text::tr(msg::kStateStoreFailed), out.c_str()) << '\n';
    return 1;
  }
  io.out << text::format("size=%dx%d bytes=%lld", width, height,
                         static_cast<long long>(fileSize(out)))
         << '\n';
  return 0;
}

}  // namespace

int describeState(const std::string& file, Context& io) {
  persist::StateRecord record;
  const int header = persist::readStateHeader(file, record);
  const auto refuse = [&](const char* message) {
    io.err << text::format(msg::kWithName, text::tr(message), file.c_str()) << '\n';
    return 1;
  };
  if (header == persist::kStateHeaderReadError) return refuse(msg::kStateHeaderBroken);
  if (header != 0 || persist::checkStateRecord(record, INT_MAX, INT_MAX) != persist::kStateOk) {
    return refuse(msg::kStateNotStateFile);
  }
  // The pictures must all be there, as a restore needs them: a file cut short is broken.
  const std::uint64_t pixels =
      static_cast<std::uint64_t>(record.width) * static_cast<std::uint64_t>(record.height);
  const std::int64_t size = fileSize(file);
  if (size < 0 ||
      static_cast<std::uint64_t>(size) < persist::statePixelOffset(record.format) + 3 * pixels) {
    return refuse(msg::kStateHeaderBroken);
  }
  const persist::StateRecord r = takenOver(record);
  const auto names = std::make_unique<Workbench>();  // the built-in colour names
  const std::size_t image1 = index(ImageSlot::First), image2 = index(ImageSlot::Second);
  io.out << text::format(
                "format=%d size=%dx%d division=%d reduced=%d centre=%d,%d mag=%d kinds=%d,%d "
                "colours=%d,%d",
                r.format, r.width, r.height, r.division, r.reducedDisplay, r.centre[0], r.centre[1],
                r.magnification, r.kinds[image1], r.kinds[image2], r.colours[image1],
                r.colours[image2])
         << '\n'
         << "name1=" << r.names[index(PictureSlot::First)] << '\n'
         << "name2=" << r.names[index(PictureSlot::Second)] << '\n';
  for (std::size_t image = 0; image < 2; ++image) {
    io.out << "image" << image + 1 << '=' << stateKindName(r, image) << '\n'
           << "colour" << image + 1 << '=' << stateColourName(*names, r, image) << '\n';
  }
  return 0;
}

namespace {

int extract(const Arguments& args, Context& io) {
  if (args.positional.size() != 4) throw UsageError("state extract takes FILE.vic, OUT1 and OUT2");
  const std::string& file = args.positional[1];
  const std::string& out1 = args.positional[2];
  const std::string& out2 = args.positional[3];
  const auto out3 = args.value("--result");
  if (!checkOutputName(out1, io) || !checkOutputName(out2, io) ||
      (out3 && !checkOutputName(*out3, io))) {
    return 1;
  }
  const ReadFlags readFlags = parseReadFlags(args);
  CliUserPort user(io.err, readFlags.raw, readFlags.ratios);
  Workbench bench;
  if (!prepareWorkbench(bench, readFlags, user)) return 1;
  if (!readFlags.settingsFolder.empty()) {
    persist::UserInfo info;
    bool keepBad = false;
    persist::loadUserInfo(readFlags.settingsFolder, bench.userEntries, info, user, false, keepBad);
  }
  // Only the settings' options and entries count: no slot table is read or written.
  bench.settings.folder.clear();
  bench.shell.stateMemory.confirm = 0;
  bench.shell.stateMemory.displayOnly = 0;
  user.namedFile = file;  // the workbench's messages of the restore name the file
  const std::optional<int> result = restoreStateNamed(bench, user, file);
  if (!result || *result < 0) return 1;
  const int width = bench.pictures.width, height = bench.pictures.height;
  if (!writeOutputPicture(out1, width, height, bench.store.plane(kPicture1),
                          bench.pictures.pictures[index(PictureSlot::First)].palette, io) ||
      !writeOutputPicture(out2, width, height, bench.store.plane(kPicture2),
                          bench.pictures.pictures[index(PictureSlot::Second)].palette, io) ||
      (out3 &&
       !writeOutputPicture(*out3, width, height, bench.store.plane(kUserResult), greyRamp(), io))) {
    return 1;
  }
  io.out << text::format("size=%dx%d warnings=%d", width, height, *result) << '\n';
  return 0;
}

int info(const Arguments& args, Context& io) {
  if (args.positional.size() != 2) throw UsageError("state info takes one FILE.vic");
  return describeState(args.positional[1], io);
}

int state(const Arguments& args, Context& io) {
  const std::string verb = args.positional.empty() ? "" : args.positional[0];
  const bool saving = verb == "save";
  for (const std::string& flag : kSaveFlags) {
    if (args.has(flag) && !saving && !(flag == "--result" && verb == "extract")) {
      throw UsageError(flag + " belongs to 'state save'");
    }
  }
  if (saving) return save(args, io);
  if (verb == "info") return info(args, io);
  if (verb == "extract") return extract(args, io);
  throw UsageError("state takes save, info or extract");
}

}  // namespace

Command stateCommand() {
  std::set<std::string> values = kReadFlagNames;
  values.insert("--settings");
  values.insert(kControlFlagNames.begin(), kControlFlagNames.end());
  values.insert(kSaveFlags.begin(), kSaveFlags.end());
  return {
      "state",
      "save, describe or extract a state-memory file (.vic)",
      std::string(
          "usage: vemla-cli state save P1 P2 OUT.vic [OPTIONS]\n"
          "       vemla-cli state info FILE.vic\n"
          "       vemla-cli state extract FILE.vic OUT1 OUT2 [--result OUT3] [OPTIONS]\n"
          "  save: opens P1 and P2, applies the picture control and view flags and writes the\n"
          "  state as \"名前を付けて状態を記憶\" does; prints size=%dx%d bytes=%lld.\n"
          "  info: prints the record's numbers and names (seven lines).\n"
          "  extract: restores FILE into a fresh workbench (limits of --max, division and user\n"
          "  entries of --settings) and writes both pictures; prints size=%dx%d warnings=%d.\n")
          .append(kReadFlagsHelp)
          .append(kControlFlagsHelp)
          .append("  --kinds K1,K2                 image kinds 0..9 (default 0,1)\n"
                  "  --colours C1,C2               colours 0..3 (default 0,0)\n"
                  "  --mag M                       magnification 1..64 (default 1)\n"
                  "  --centre X,Y                  display centre inside the picture (default "
                  "W/2,H/2)\n"
                  "  --result FILE                 save: the user-program result, a picture of "
                  "the same size;\n"
                  "                                extract: where to write it\n"),
      values,
      {},
      state};
}

}  // namespace vemla::cli
