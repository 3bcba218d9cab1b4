#pragma once
// The one object that owns the picture store and the state record of every subsystem.
// Operations are free functions that take the workbench (or the records they need).
#include <array>
#include <string>
#include <vector>

#include "editing/dialog_memory.h"
#include "editing/edit_settings.h"
#include "extensions/launcher_settings.h"
#include "extensions/user_colours.h"
#include "gallery/gallery_state.h"
#include "net/importer_settings.h"
#include "options/options.h"
#include "persist/settings_state.h"
#include "picture/last_files.h"
#include "picture/picture_slot.h"
#include "picture/picture_state.h"
#include "picture/picture_store.h"
#include "processing/image_control.h"
#include "processing/image_statistics.h"
#include "processing/pane_raster.h"
#include "processing/picture_control.h"
#include "processing/picture_thumbnail.h"
#include "processing/user_entries.h"
#include "text/translate.h"
#include "tools/tool_state.h"
#include "workbench/worker_pool.h"

namespace vemla {

// Image kinds of Image 1 and Image 2 and what their last creation left.
struct ImageState {
  static constexpr std::array<int, 2> kFirstKinds{0, 1};
  std::array<int, 2> kind = kFirstKinds;  // 0..9, or 99 with the entry in userEntry
  std::array<int, 2> userEntry{0, 0};     // user simple image processing entry 0..15
  bool blankInvalid = false;              // "有効範囲": blank outside the statistics rectangle
  std::array<ImageStatistics, 2> statistics{};
  std::array<std::uint8_t, 2> fill{0, 0};  // 128 for the offset difference, else 0
  ImageControlSelections selections;       // colour associations, intensity, brightness
  DisplayMarks marks{};                    // the image control's display-position marks
};

// The two comparison views of an image pane: blink ("交互表示") alternates shifted Picture 1
// and shifted Picture 2, swipe ("分割表示") shows Picture 1 before a divider and Picture 2 from
// it on. While either is on, the pane's image is kind "画像１" and Picture 2 is kept beside it,
// created and rendered with the same settings, so a flip or a divider move redoes no image
// work. Neither is stored in the settings or state files.
enum class ComparisonMode { Off, Blink, Swipe };
struct PaneComparison {
  ComparisonMode mode = ComparisonMode::Off;
  int givenBackKind = 0;    // the kind the pane had before the mode (its user entry stays)
  bool second = false;      // blink: Picture 2 is the one shown
  int divider = 256;        // swipe: first view column (row) of Picture 2, 1..511
  bool horizontal = false;  // swipe: the divider runs across the pane
  std::vector<std::uint8_t> picture2;  // image "画像２" (W x H, blanked as the pane's image)
  ImageStatistics statistics2{};       // its statistics
  PaneRaster raster2;                  // Picture 2 as the pane paints it
  bool on() const { return mode != ComparisonMode::Off; }
};
// Blink rate in flips per second, in tenths: 0.5..10, default 2.
inline constexpr int kMinBlinkTenths = 5, kMaxBlinkTenths = 100, kDefaultBlinkTenths = 20;

// View state of the image panes that depends on the picture size.
// The thumbnail of a picture pane without pictures: the empty raster.
inline PictureThumbnail emptyPictureThumbnail() {
  PictureThumbnail none;
  buildPictureThumbnail(nullptr, 0, 0, none);
  return none;
}

struct ViewState {
  static constexpr int kPaneSize = 512;
  int centreX = 0, centreY = 0;
  int displayOffsetX = 0, displayOffsetY = 0;
  Rect extraction{};
  double reductionRatio = 1.0;
  bool reducedDisplay = false;
  int magnification = 1;
  bool zoomInterpolation = true;
  bool colourDisplay = false;
  std::array<bool, 2> rangeExtraction{false, false};
  bool grid = false;
  bool reducedMeasureWarned = false;  // the reduced display's measurement warning was shown once
  // The cursor is (centreX, centreY); its fine position is 0..m-1 on each axis.
  int fineX = 0, fineY = 0;
  bool cursorShown = true;    // "ｶｰｿﾙ"
  bool fineMovement = false;  // "微動"
  bool colourBars = false;    // "ﾊﾟﾚｯﾄ"
  ViewPlacement placement{};  // extraction origin and magnified window of the last rendering
  struct RangeBounds {
    int lower = 0, upper = 255;
  };
  std::array<RangeBounds, 2> range{};  // "下位", "上位" per image
  bool rangeLinked = false;            // "連動"
  int gridWidth = 10;                  // L, 1..20
  int gridOffsetX = 0, gridOffsetY = 0;
  std::array<PaneRaster, 2> panes{};
  // The picture panes' thumbnails of the shifted pictures, built by the refresh chain.
  std::array<PictureThumbnail, 2> thumbnails{emptyPictureThumbnail(), emptyPictureThumbnail()};
  RenderWork renderWork{};
  std::array<PaneComparison, 2> comparison{};
  int blinkTenths = kDefaultBlinkTenths;
};

// Titles shown by the windows, in the language in use; rebuilt after every open.
struct TitleState {
  std::array<std::string, 2> pane{text::tr("画像１"), text::tr("画像２")};
  std::string main = "Vemla";
};

// What the main window's commands keep between commands.
struct ShellState {
  std::string archivePath;             // an archive named on the command line or dropped
  bool saveDisplayedImage = false;     // "表示ｲﾒｰｼﾞで保存(&C)"; off at every start
  bool quickHelp = false;              // "ｸｲｯｸﾍﾙﾌﾟ(&Q)"; off at every start
  bool imageScope = false;             // "ｲﾒｰｼﾞｽｺｰﾌﾟ(&S)"; off at every start
  PictureDialogMemory pictureDialogs;  // the small picture dialogs' last choices
  int userProcessingSelection = -1;    // the entry last chosen in the user processing editor
  UserColourEditorState userColourEditor;  // the user colour editor's choices
  PictureEditMemory pictureEdit;           // the picture edit dialog's settings and session
  // Kept in the settings files from one run to the next (workbench/settings/live_records.h).
  LastFiles lastFiles;                        // where the file dialogs start
  persist::FileHistory fileHistory;           // the File menu's history, the recent pictures
  persist::StateMemorySettings stateMemory;   // the state memory's choices and last file
  persist::WindowRectangle window;            // the main window's place at the last close
  RgbRatio rgbRatios{};                       // last confirmed in the RGB-ratio dialog
  std::array<std::uint32_t, 16> customColours{};  // of the system colour chooser
};

// Told when a change needs the windows to refresh.
class WorkbenchListener {
 public:
  virtual ~WorkbenchListener() = default;
  virtual void picturesChanged() = 0;
  // The image panes were rendered or painted again without a picture change.
  virtual void panesChanged() {}
  // Only the tool area's content or state changed.
  virtual void toolsChanged() {}
  // A blinking pane flipped to its other picture (both renderings were kept: repaint only).
  virtual void viewFlipped(ImageSlot image) { static_cast<void>(image); }
};

class Workbench {
 public:
  PictureStore store;
  Options options;
  PictureState pictures;
  PictureControlState control;
  ImageState images;
  ViewState view;
  TitleState titles;
  bool secondCopy = false;          // a second running copy: "(M)" in the title
  UserEntries userEntries;          // user processing and user colour entries
  net::ImporterSettings importer;   // registered exporters and the user name
  LauncherSettings launcher;        // the user program launcher's committed settings
  persist::SettingsState settings;  // the settings files' other records and program folder
  ShellState shell;
  GalleryState gallery;    // associations and dialog choices; the records are settings.gallery
  tools::ToolState tools;  // the active tool and the tools' content

  // The threads the shift, the image kinds and the alignment share their rows out to.
  WorkerPool workers;

  // A listener may come or go while the listeners are being told (a tool window is created
  // when its tool is chosen): one added hears the rest of that round, one removed hears no more.
  void addListener(WorkbenchListener* listener) { listeners_.push_back(listener); }
  void removeListener(WorkbenchListener* listener);
  // The tool content is computed again before the listeners hear of a picture or pane change.
  void notifyPicturesChanged();
  void notifyPanesChanged();
  void notifyToolsChanged();
  void notifyViewFlipped(ImageSlot image);

 private:
  void notify(void (WorkbenchListener::*event)());
  std::vector<WorkbenchListener*> listeners_;  // null: removed during a round
  int notifying_ = 0;                          // rounds in progress
};

}  // namespace vemla
