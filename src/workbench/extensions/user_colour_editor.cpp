#include "workbench/extensions/user_colour_editor.h"

#include <algorithm>

#include "processing/colour_tables.h"
#include "processing/image_kinds.h"
#include "text/format.h"
#include "text/translate.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {
namespace {

namespace m = msg::user_colours;

std::size_t kindOf(std::size_t slot) {
  return static_cast<std::size_t>(kFirstUserColour) + slot;
}

std::size_t at(int grey, int channel) {
  return static_cast<std::size_t>(std::clamp(grey, 0, 255)) * 3 +
         static_cast<std::size_t>(std::clamp(channel, 0, 2));
}

}  // namespace

UserColourEditing::UserColourEditing(Workbench& bench, UserPort& user)
    : EntryEditing(bench, bench.userEntries.colours, bench.shell.userColourEditor.selection,
                   user) {
  open();
}

void UserColourEditing::setFirstGrey(int grey) {
  firstGrey_ = std::clamp(grey, 0, kLastFirstGrey);
}

int UserColourEditing::channel(int grey, int channel) const {
  return edit_.table[at(grey, channel)];
}

void UserColourEditing::setChannel(int grey, int channel, int value) {
  edit_.table[at(grey, channel)] = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

void UserColourEditing::setColour(int grey, const std::array<std::uint8_t, 3>& colour) {
  for (int c = 0; c < 3; ++c) setChannel(grey, c, colour[static_cast<std::size_t>(c)]);
}

UserColourEditing::ReadOutcome UserColourEditing::readFile(const std::string& path) {
  state().path = path;
  const ColourFileRead read = readColourTableFile(path);
  if (read.status == ColourFileStatus::Read) {
    edit_.table = read.table;
    return ReadOutcome::Read;
  }
  const std::string message = colourFileMessage(read, path);
  if (read.status == ColourFileStatus::FormatError) {
    const Answer answer = user_.askYesNoCancel(message + text::tr(m::kFormatHints), Icon::Warning);
    return answer == Answer::Yes ? ReadOutcome::Edit : ReadOutcome::Refused;
  }
  user_.tell(Icon::Error, message);
  return ReadOutcome::Refused;
}

bool UserColourEditing::writeFile(const std::string& path) {
  state().path = path;
  if (writeColourTableFile(path, edit_.table)) return true;
  user_.tell(Icon::Error, text::format(text::tr(m::kWriteError), path.c_str()));
  return false;
}

void UserColourEditing::interpolate(int from, int to, const std::array<bool, 3>& channels) {
  UserColourEditorState& kept = state();
  from = std::clamp(from, 0, 255);
  to = std::clamp(to, 0, 255);
  kept.from = std::min(from, to);
  kept.to = std::max(from, to);
  kept.channels = channels;
  interpolateColourTable(edit_.table, from, to, channels);
}

std::optional<std::string> UserColourEditing::validate(UserColourEntry& candidate,
                                                       int changing) {
  return checkColourEntry(candidate, table_, changing);
}

void UserColourEditing::prepareSlot(std::size_t slot) {
  ImageControlSelections& selections = bench_.images.selections;
  selections.intensity[kindOf(slot)] = 1;
  selections.brightness[kindOf(slot)] = kNeutralBrightness;
}

// Deleting moves the later tables to lower colour kinds, so no association may name any user
// table, whichever is deleted.
std::optional<std::string> UserColourEditing::removalRefusal() const {
  const ImageControlSelections& selections = bench_.images.selections;
  for (std::size_t image = 0; image < 2; ++image) {
    for (std::size_t kind = 0; kind < kBuiltInKindCount; ++kind) {
      if (isUserColourKind(selections.kindColours[image][kind])) return text::tr(m::kColourInUse);
    }
    for (std::size_t entry = 0; entry < kUserEntryCount; ++entry) {
      if (bench_.userEntries.processing[entry].inUse == 1 &&
          isUserColourKind(selections.userProcessingColours[image][entry])) {
        return text::tr(m::kColourInUse);
      }
    }
  }
  return std::nullopt;
}

void UserColourEditing::moveCarried(std::size_t to, std::size_t from) {
  ImageControlSelections& selections = bench_.images.selections;
  selections.intensity[kindOf(to)] = selections.intensity[kindOf(from)];
  selections.brightness[kindOf(to)] = selections.brightness[kindOf(from)];
}

void UserColourEditing::clearCarried(std::size_t slot) {
  prepareSlot(slot);
}

// The pixels do not depend on the colour table: the panes showing it are painted again.
void UserColourEditing::showChanged(int slot) {
  bool shown = false;
  for (ImageSlot image : kImageSlots) {
    if (colourKindOf(bench_, image) == kFirstUserColour + slot) {
      markRedone(image);
      shown = true;
    }
  }
  if (shown) paintPanes(bench_);
}

void UserColourEditing::redoImage(ImageSlot) {
  paintPanes(bench_);
}

}  // namespace vemla
