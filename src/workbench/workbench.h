#pragma once
// The one object that owns the picture store and the state record of every subsystem.
// Operations are free functions that take the workbench (or the records they need).
#include <array>
#include <string>
#include <vector>

#include "gallery/gallery_state.h"
#include "options/options.h"
#include "persist/settings_state.h"
#include "picture/picture_state.h"
#include "picture/picture_store.h"
#include "processing/picture_control.h"

namespace vemla {

// Image kinds of Image 1 and Image 2.
struct ImageState {
  static constexpr std::array<int, 2> kFirstKinds{0, 1};
  std::array<int, 2> kind = kFirstKinds;
};

// View state of the image panes that depends on the picture size.
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
};

// Titles shown by the windows; rebuilt after every open.
struct TitleState {
  std::array<std::string, 2> pane{"画像１", "画像２"};
  std::string main = "Vemla";
};

// Told when a change needs the windows to refresh.
class WorkbenchListener {
 public:
  virtual ~WorkbenchListener() = default;
  virtual void picturesChanged() = 0;
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
  bool secondCopy = false;  // a second running copy: "(M)" in the title
  persist::SettingsState settings;  // the settings files' other records and program folder
  GalleryState gallery;  // associations and dialog choices; the records are settings.gallery

  void addListener(WorkbenchListener* listener) { listeners_.push_back(listener); }
  void removeListener(WorkbenchListener* listener);
  void notifyPicturesChanged();

 private:
  std::vector<WorkbenchListener*> listeners_;
};

}  // namespace vemla
