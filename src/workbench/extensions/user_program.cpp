#include "workbench/extensions/user_program.h"

#include <array>
#include <cstring>

#include "extensions/launcher_messages.h"
#include "gallery/gallery.h"
#include "picture/bitmap.h"
#include "picture/file_helpers.h"
#include "processing/image_kinds.h"
#include "text/format.h"
#include "text/translate.h"
#include "workbench/gallery/gallery_slots.h"
#include "workbench/picture/picture_commands.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {
namespace {

constexpr char kLaunchKind = 'U';  // "$VU…" temporary files

std::string withName(const char* format, const std::string& name) {
  return text::format(text::tr(format), name.c_str());
}

// Writes one source into its temporary file in the settings' format. Returns the warning, empty
// on success.
std::string writeSource(Workbench& bench, const LaunchFile& file, const std::string& path,
                        bool raw) {
  const int width = bench.pictures.width, height = bench.pictures.height;
  auto write = [&](int w, int h, const std::uint8_t* pixels, const Palette& palette) {
    const int status = raw ? writePictureFile(path, w, h, 1, pixels, nullptr)
                           : writeBitmap(path, w, h, 1, pixels, &palette);
    return status == 0 ? std::string() : withName(launcher_msg::kTemporaryFailed, path);
  };
  switch (file.source) {
    case LaunchSource::Picture1:
    case LaunchSource::Picture2: {
      const PictureSlot picture =
          file.source == LaunchSource::Picture1 ? PictureSlot::First : PictureSlot::Second;
      return write(width, height, bench.store.plane(unshiftedPlane(picture)),
                   bench.pictures.pictures[index(picture)].palette);
    }
    case LaunchSource::Image1:
    case LaunchSource::Image2: {
      const ImageSlot image =
          file.source == LaunchSource::Image1 ? ImageSlot::First : ImageSlot::Second;
      return write(width, height, bench.store.plane(imagePlane(image)),
                   imageDisplayPalette(bench, image));
    }
    case LaunchSource::Gallery: {
      const persist::GallerySlot& record =
          liveGallery(bench)->info.slotRecords[static_cast<std::size_t>(file.slot - 1)];
      std::span<std::uint8_t> buffer = bench.store.planes(kScratch4, 4);
      if (readSlot(bench, file.slot - 1, buffer) != 0) {
        return text::format(text::tr(launcher_msg::kGalleryReadFailed), file.slot,
                            slotFilePath(bench.settings.folder, file.slot - 1).c_str());
      }
      return write(record.width, record.height, buffer.data(), record.palette);
    }
    case LaunchSource::Output:
      return {};
  }
  return {};
}

// Writes the plan's temporary files ("$VU" files of this process from earlier runs are deleted
// first) and returns their names; nothing, after the warning, when one cannot be written.
std::optional<std::vector<std::string>> writeLaunchFiles(Workbench& bench, const LaunchPlan& plan,
                                                         const LauncherSettings& settings,
                                                         UserPort& user, BusyPort& busy) {
  const std::string& folder = bench.settings.folder;
  deleteOwnTemporaryFiles(folder, kLaunchKind);
  BusyScope wait(busy);
  std::vector<std::string> names;
  for (const LaunchFile& file : plan.files) {
    const std::optional<std::string> name =
        temporaryName(folder, false, kLaunchKind, false, launchExtension(settings));
    std::string message = name ? writeSource(bench, file, *name, settings.format == 1)
                               : withName(launcher_msg::kTemporaryFailed, folder);
    if (!message.empty()) {
      deleteOwnTemporaryFiles(folder, kLaunchKind);
      user.tell(Icon::Warning, message);
      return std::nullopt;
    }
    names.push_back(*name);
  }
  return names;
}

// Reads the program's output into the user program result buffer: the destination image
// (1 or 2; 0 none) switches to its kind and every image showing it is recomputed. False, after
// the warning, when the output cannot be read.
bool takeLaunchOutput(Workbench& bench, const std::string& output, bool raw, int destination,
                      UserPort& user, BusyPort& busy, ProgressPort& progress) {
  BusyScope wait(busy);
  const int width = bench.pictures.width, height = bench.pictures.height;
  std::span<std::uint8_t> scratch = bench.store.planes(kScratch1, 1);
  const std::string message =
      readLaunchOutput(output, raw, width, height, bench.options.GreyRatio, scratch);
  if (!message.empty()) {
    user.tell(Icon::Warning, message);
    return false;
  }
  std::memcpy(bench.store.plane(kUserResult), scratch.data(),
              static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  bench.pictures.userResultWidth = width;
  bench.pictures.userResultHeight = height;
  for (ImageSlot image : kImageSlots) {
    const bool switched = destination == 1 + static_cast<int>(index(image));
    if (switched) {
      setImageKind(bench, image, kKindUserProgram, 0, user, busy, progress);
    } else if (bench.images.kind[index(image)] == kKindUserProgram) {
      createImage(bench, image, true, true, user, busy, progress);
      bench.notifyPanesChanged();
    }
  }
  return true;
}

}  // namespace

LaunchInputs launchInputsOf(const Workbench& bench) {
  LaunchInputs inputs;
  inputs.width = bench.pictures.width;
  inputs.height = bench.pictures.height;
  inputs.cursorX = bench.view.centreX;
  inputs.cursorY = bench.view.centreY;
  inputs.gallerySlots = galleryCount(bench);
  inputs.slotIsGreyPicture = [&bench](int slot) {
    const persist::HeldGallery* gallery = liveGallery(bench);
    if (gallery == nullptr || slot < 1 || slot > galleryCount(bench)) return false;
    const persist::GallerySlot& record =
        gallery->info.slotRecords[static_cast<std::size_t>(slot - 1)];
    return record.kind == kSlotPicture && record.trueColourCode == 0;
  };
  return inputs;
}

std::optional<std::vector<std::string>> confirmLaunch(const Workbench& bench, UserPort& user,
                                                      const LauncherSettings& settings) {
  const LaunchBuild build = buildLaunchPlan(settings, launchInputsOf(bench));
  if (!build.message.empty()) {
    user.tell(Icon::Warning, build.message);
    return std::nullopt;
  }
  return confirmationLines(build.plan, launchExtension(settings));
}

void commitLauncherSettings(Workbench& bench, const LauncherSettings& settings) {
  bench.launcher = settings;
}

LaunchResult runUserProgram(Workbench& bench, UserPort& user, BusyPort& busy,
                            ProgressPort& progress, ProgramRunnerPort& runner,
                            const LauncherSettings& launch) {
  LaunchResult result;
  commitLauncherSettings(bench, launch);
  const LaunchBuild build = buildLaunchPlan(launch, launchInputsOf(bench));
  if (!build.message.empty()) {
    user.tell(Icon::Warning, build.message);
    return result;
  }
  const std::string& folder = bench.settings.folder;
  const bool raw = launch.format == 1;
  const std::optional<std::vector<std::string>> written =
      writeLaunchFiles(bench, build.plan, launch, user, busy);
  if (!written) return result;
  const std::vector<std::string>& names = *written;
  // The output's name stays reserved until now, so that "no output" means the program wrote
  // none.
  const std::string output =
      build.plan.outputFile >= 0 ? names[static_cast<std::size_t>(build.plan.outputFile)] : "";
  if (!output.empty()) deleteFile(output);

  const std::size_t capture = static_cast<std::size_t>(bench.store.planeBytes()) - 1;
  progress.setText(launch.program);
  progress.startWait();
  const ProgramRun run =
      runner.run(launchArguments(build.plan, names), launch.console == 1, capture, progress);
  progress.finish();
  if (!run.started) {
    deleteOwnTemporaryFiles(folder, kLaunchKind);
    user.tell(Icon::Warning,
              std::string(text::tr(launcher_msg::kBadProgram)) + "\n" + launch.program);
    return result;
  }
  const bool wantOutput = launch.output == 1;
  const bool outputMissing = wantOutput && !fileExists(output);
  result.status = LaunchResult::Status::Ran;
  result.exitStatus = run.output.exitStatus;
  result.signal = run.output.signal;
  result.lines = resultLines(run.output, outputMissing, launch.timing == 1,
                             launch.showOutput == 1 && launch.console != 1);
  // A program ended by a signal failed whatever it left behind; one that exited with a status
  // still gives its output (such as a comparison's "different"), and the list shows the status.
  if (run.output.endedBySignal()) {
    result.status = LaunchResult::Status::Failed;
    return result;
  }
  if (wantOutput && !outputMissing &&
      !takeLaunchOutput(bench, output, raw, launch.destination, user, busy, progress)) {
    result.status = LaunchResult::Status::Failed;
    return result;
  }
  if (result.status == LaunchResult::Status::Ran && run.output.exitStatus == 0 &&
      launch.close == 1) {
    deleteLaunchFiles(bench);
  }
  return result;
}

void deleteLaunchFiles(const Workbench& bench) {
  deleteOwnTemporaryFiles(bench.settings.folder, kLaunchKind);
}

}  // namespace vemla
