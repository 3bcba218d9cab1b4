#include "workbench/commands/command_state.h"

#include "picture/picture_state.h"
#include "workbench/workbench.h"

namespace vemla {
namespace {

// Which picture (0 or 1) a per-picture command of a pair concerns.
constexpr int pictureOf(int id, int firstOfPair) {
  return id - firstOfPair;
}

bool realName(const CommandSituation& s, int picture) {
  return isRealFileName(s.names[static_cast<std::size_t>(picture)]);
}

}  // namespace

bool isRealFileName(const std::string& name) {
  return !name.empty() && !isPseudoName(name);
}

CommandSituation situationOf(const Workbench& bench) {
  CommandSituation s;
  s.picturesPresent = bench.pictures.picturesPresent;
  s.editing = bench.pictures.editing;
  s.names = {bench.pictures.pictures[0].name, bench.pictures.pictures[1].name};
  s.secondCopy = bench.secondCopy;
  s.galleryExists = bench.gallery.available && !bench.secondCopy;
  s.quickHelp = bench.shell.quickHelp;
  s.saveDisplayedImage = bench.shell.saveDisplayedImage;
  s.restoreFormOnly = bench.settings.program.stateMemory.displayOnly != 0;
  s.confirmStates = bench.settings.program.stateMemory.confirm != 0;
  s.firstHistoryEntryUsed = bench.settings.user.history[0].used == 1;
  return s;
}

bool commandEnabled(int id, const CommandSituation& s) {
  const bool P = s.picturesPresent;
  const bool E = s.editing;
  if (isHistoryItem(id)) return !E;
  switch (id) {
    // File
    case kOpenTwo:
    case kOpenOne:
    case kOpenArchive:
      return !E;
    case kReplace1:  // keeps Picture 2, which must have a name
      return P && !E && !s.names[1].empty();
    case kReplace2:
      return P && !E && !s.names[0].empty();
    case kOverwrite1:
    case kOverwrite2:
      return P && realName(s, pictureOf(id, kOverwrite1));
    case kSaveAsPicture1:
    case kSaveAsPicture2:
    case kSaveAsImage1:
    case kSaveAsImage2:
    case kGreyValueText:
      return P;
    case kFileInformation:
      return realName(s, 0) || realName(s, 1);
    case kReopenBoth:
      return !E && realName(s, 0) && realName(s, 1);
    case kReopen1:
      return !E && realName(s, 0);
    case kReopen2:
      return !E && realName(s, 1);
    // Edit
    case kPaste:
      return s.clipboardHasFiles && !E;
    case kPasteToPicture1:
    case kPasteToPicture2:
      return s.clipboardHasFiles && P && !E;
    case kEdit1:
    case kEdit2:
    // Picture
    case kResize:
    case kSwap:
    case kCopy1To2:
    case kCopy2To1:
    case kImage1ToPicture1:
    case kImage1ToPicture2:
    case kImage2ToPicture1:
    case kImage2ToPicture2:
    case kImagesToPictures:
    case kImagesToPicturesCrossed:
    case kGreyScale1:
    case kGreyScale2:
      return P && !E;
    case kRename1:
    case kRename2:
      return P;
    // User
    case kUserProcessing:
    case kUserColours:
      return !E;
    case kUserProgram:
      return P && !E;
    // Communication
    case kExport:
      return P && !E;
    case kImport:
      return !E;
    // State memory
    case kRememberState1:
    case kRememberState2:
    case kRememberState3:
    case kRememberState4:
    case kSaveStateFile:
      return P;
    case kRestoreState1:
    case kRestoreState2:
    case kRestoreState3:
    case kRestoreState4:
      return !E && !(!P && s.restoreFormOnly) &&
             s.stateSlotUsed[static_cast<std::size_t>(id - kRestoreState1)];
    case kRestoreStateFile:
      return !E && !(!P && s.restoreFormOnly);
    case kRestoreFormOnly:
    case kConfirmStates:
      return true;
    case kStateList:
    case kClearStates:
      return s.stateSlotUsed[0] || s.stateSlotUsed[1] || s.stateSlotUsed[2] || s.stateSlotUsed[3];
    // Settings
    case kOptions:
      return !E;
    case kClearHistory:
      return s.firstHistoryEntryUsed && !E;
    case kClearExchangeFile:
      return s.exchangeFileExists;
    case kGalleryHome:
      return s.galleryExists;
    // Tools
    case kGradationTool:
    case kProfileTool:
    case k3DTool:
    case kMeasurementTool:
    case kPartialComparisonTool:
    case kImageScope:
      return P;
    case kGallery:
      return !s.secondCopy && s.galleryExists;
    // Toolbar only: they act only on the base window.
    case kLayoutTopLeft:
    case kLayoutTopRight:
    case kLayoutBottomLeft:
    case kLayoutBottomRight:
      return s.baseWindowInUse;
    default:
      // Commands without a rule (exit, save-displayed, colour and mark resets, memo,
      // calculator, version, web page, quick help) are always enabled.
      return findCommandText(id) != nullptr;
  }
}

bool commandChecked(int id, const CommandSituation& s) {
  switch (id) {
    case kSaveDisplayed:
      return s.saveDisplayedImage;
    case kRememberState1:
    case kRememberState2:
    case kRememberState3:
    case kRememberState4:
      return s.stateSlotUsed[static_cast<std::size_t>(id - kRememberState1)];
    case kRestoreFormOnly:
      return s.restoreFormOnly;
    case kConfirmStates:
      return s.confirmStates;
    case kGradationTool:
      return s.activeTool == kToolGradation;
    case kProfileTool:
      return s.activeTool == kToolProfile;
    case k3DTool:
      return s.activeTool == kTool3D;
    case kMeasurementTool:
      return s.activeTool == kToolMeasurement;
    case kPartialComparisonTool:
      return s.activeTool == kToolPartialComparison;
    case kImageScope:
      return s.imageScope;
    case kGallery:
      return s.galleryVisible;
    case kQuickHelp:
      return s.quickHelp;
    default:
      return false;
  }
}

bool submenuEnabled(Submenu submenu, const CommandSituation& s) {
  switch (submenu) {
    case Submenu::ReplaceOne:
    case Submenu::CopyPictures:
    case Submenu::CopyFromImages:
    case Submenu::GreyScale:
      return s.picturesPresent && !s.editing;
    case Submenu::Overwrite:
      return commandEnabled(kOverwrite1, s) || commandEnabled(kOverwrite2, s);
    case Submenu::SaveAs:
    case Submenu::Rename:
      return s.picturesPresent;
    case Submenu::Reopen:
      return commandEnabled(kReopenBoth, s) || commandEnabled(kReopen1, s) ||
             commandEnabled(kReopen2, s);
  }
  return false;
}

bool toolbarEnabled(int id, const CommandSituation& s) {
  const bool P = s.picturesPresent;
  const bool E = s.editing;
  switch (id) {
    case kOpenTwo:
    case kOpenOne:
    case kOpenArchive:
      return !E;
    case kOverwrite1:
    case kOverwrite2:
      return P && realName(s, pictureOf(id, kOverwrite1));
    case kEdit1:
    case kEdit2:
    case kSwap:
    case kImage1ToPicture1:
    case kImage2ToPicture2:
    case kUserProgram:
      return P && !E;
    case kPaste:
      return s.clipboardHasFiles && !E;
    case kPasteToPicture1:
    case kPasteToPicture2:
      return s.clipboardHasFiles && P && !E;
    case kGallery:
      return !s.secondCopy && s.galleryExists;
    case kOptions:
    case kImageScope:
    case kQuickHelp:
    case kCalculator:
    case kLayoutTopLeft:
    case kLayoutTopRight:
    case kLayoutBottomLeft:
    case kLayoutBottomRight:
      return true;
    default:
      return false;
  }
}

bool toolbarChecked(int id, const CommandSituation& s) {
  switch (id) {
    case kImageScope:
      return s.imageScope;
    case kGallery:
      return s.galleryVisible;
    case kQuickHelp:
      return s.quickHelp;
    default:
      return false;
  }
}

}  // namespace vemla
