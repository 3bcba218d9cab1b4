#include "workbench/view/kind_choices.h"

#include "processing/image_kinds.h"
#include "text/translate.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {
namespace {

bool shows(const Workbench& bench, ImageSlot image, const KindChoice& choice) {
  const int kind = bench.images.kind[index(image)];
  if (kind != choice.kind) return false;
  return kind != kUserProcessingKind || bench.images.userEntry[index(image)] == choice.userEntry;
}

bool chooseKind(Workbench& bench, ImageSlot image, int index, bool userProgramAlways,
                UserPort& user, BusyPort& busy, ProgressPort& progress) {
  const std::vector<KindChoice> choices = kindChoices(bench);
  if (index < 0 || index >= static_cast<int>(choices.size())) return false;
  const KindChoice& choice = choices[static_cast<std::size_t>(index)];
  const bool again = userProgramAlways && choice.kind == kKindUserProgram;
  if (shows(bench, image, choice) && !again) return false;
  setImageKind(bench, image, choice.kind, choice.userEntry, user, busy, progress);
  return true;
}

}  // namespace

std::vector<KindChoice> kindChoices(const Workbench& bench) {
  std::vector<KindChoice> choices;
  for (int kind = 0; kind < kBuiltInKindCount; ++kind) {
    choices.push_back({text::tr(imageKindTable()[static_cast<std::size_t>(kind)].name), kind, 0});
  }
  const auto& entries = bench.userEntries.processing;
  for (std::size_t entry = 0; entry < entries.size(); ++entry) {
    if (entries[entry].inUse == 0) continue;
    choices.push_back({entries[entry].name, kUserProcessingKind, static_cast<int>(entry)});
  }
  return choices;
}

int kindChoiceIndex(const std::vector<KindChoice>& choices, const Workbench& bench,
                    ImageSlot image) {
  for (std::size_t row = 0; row < choices.size(); ++row) {
    if (shows(bench, image, choices[row])) return static_cast<int>(row);
  }
  return -1;
}

bool selectKindChoice(Workbench& bench, ImageSlot image, int index, UserPort& user, BusyPort& busy,
                      ProgressPort& progress) {
  return chooseKind(bench, image, index, false, user, busy, progress);
}

bool requestKind(Workbench& bench, ImageSlot image, int index, UserPort& user, BusyPort& busy,
                 ProgressPort& progress) {
  return chooseKind(bench, image, index, true, user, busy, progress);
}

}  // namespace vemla
