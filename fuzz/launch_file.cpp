// Launch files (.vie) and the argument builder behind "確認": what decodes must encode to a
// file that decodes to the same settings, and its template must build (or be refused) without
// reading outside the text, listing at most 256 lines.
#include <cstdint>
#include <span>

#include "extensions/launcher.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vemla;
  LauncherSettings settings;
  if (decodeLaunchFile(std::span(data, size), settings) != LaunchFileStatus::Ok) return 0;
  const auto encoded = encodeLaunchFile(settings);
  LauncherSettings again;
  if (decodeLaunchFile(encoded, again) != LaunchFileStatus::Ok || !(again == settings)) {
    __builtin_trap();
  }
  LaunchInputs inputs;
  inputs.width = 640;
  inputs.height = 480;
  inputs.gallerySlots = 8;
  inputs.slotIsGreyPicture = [](int slot) { return slot % 2 == 1; };
  const LaunchBuild build = buildLaunchPlan(settings, inputs);
  if (build.message.empty()) {
    if (confirmationLines(build.plan, launchExtension(settings)).size() > 256) __builtin_trap();
    if (settings.output == 1 && build.plan.outputFile < 0) __builtin_trap();
  }
  return 0;
}
