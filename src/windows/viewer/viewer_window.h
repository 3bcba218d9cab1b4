#pragma once
// The viewer "VemlaImage": a resizable window that shows one whole picture (grey through its
// palette, or colour) at a zoom from 1/8 to x64 with nearest samples, and beside it the 21 x 21
// grey-value table. Clicks (or the wheel alone, with ViewerWheelZoomOnly) zoom; any key but
// Shift or Ctrl closes it; dropped or pasted bitmap and raw files are viewed. A new picture
// replaces the shown one, and the window only grows. viewer_model.h holds the rules.
#include <QDialog>
#include <QIcon>
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "options/options.h"
#include "ports/ports.h"
#include "processing/viewer_file.h"
#include "processing/viewer_model.h"
#include "windows/panes/pane_menus.h"

namespace vemla {

// The grey-value table "Ｖｉｅｗ（階調値） (x,y)=(%3d,%3d)": headers and values at 24-pixel column
// and 14-pixel row spacing, the centre row and column highlighted.
class GradationTableWindow final : public QDialog {
  Q_OBJECT
 public:
  explicit GradationTableWindow(QWidget* owner);
  void setTable(const GradationTable& table);
  const GradationTable& table() const { return table_; }

 signals:
  void keyPressed(QKeyEvent* event);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  GradationTable table_;
};

class ViewerWindow final : public QWidget {
  Q_OBJECT
 public:
  // `options` (wheel zoom, gradation table, largest picture) are read at every use.
  ViewerWindow(const Options& options, UserPort& user, QWidget* owner = nullptr);

  // The screen the window opens on (the primary screen's size by default).
  void setScreenSize(QSize size) { screen_ = size; }
  // Stand-alone view mode: Escape ends the program, any other key continues into it.
  void setStandAlone(bool standAlone);
  void setMenuRunner(MenuRunner runner) { runner_ = std::move(runner); }
  void setClipboardFiles(std::function<std::vector<std::string>()> files) {
    clipboardFiles_ = std::move(files);
  }
  void setHelp(std::function<void(QWidget*, const QString&)> help) { help_ = std::move(help); }

  // The sources; each returns 0, or -1 after telling why (the shown picture stays).
  int openMemory(const std::uint8_t* pixels, int width, int height,
                 const std::array<std::uint32_t, 256>& palette);
  int openBitmap(const std::string& path);
  // A gallery slot file of the given size and kind, with the slot's palette.
  int openSlot(const std::string& path, int width, int height, int bytesPerPixel,
               const Palette& palette);
  int openRaw(const std::string& path, const RawSize& size);
  // A picture in memory as a slot file holds it (an archive item).
  int openContent(std::span<const std::uint8_t> content, int width, int height, int bytesPerPixel,
                  const Palette& palette);
  // A dropped, pasted or given file: ".bmp" as a bitmap, ".raw" after asking its size; others
  // are refused.
  int openFile(const std::string& path);
  // The raw size given with the last raw file (stand-alone start).
  std::optional<RawSize> lastRawSize() const { return lastRaw_; }

  int zoom() const { return zoom_; }
  QPoint centre() const { return {centreX_, centreY_}; }
  const ViewerImage& picture() const { return image_; }
  GradationTableWindow* gradationTable() const { return table_; }
  bool centreMarked() const { return markCentre_; }
  bool standAlone() const { return standAlone_; }

 signals:
  // Stand-alone view mode ended: `proceed` when a key other than Escape was pressed.
  void standAloneEnded(bool proceed);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QSize screenSize() const;
  int report(const std::string& failure);
  void present();
  void zoomAt(QPoint at, bool in);
  void setView(int zoom, int centreX, int centreY);
  void refreshTable();
  void placeTable();
  void toggleTable();
  void openMenu(QPoint at);
  void pressedKey(QKeyEvent* event);

  const Options& options_;
  UserPort& user_;
  QSize screen_;
  bool standAlone_ = false;
  MenuRunner runner_;
  std::function<std::vector<std::string>()> clipboardFiles_;
  std::function<void(QWidget*, const QString&)> help_;

  ViewerImage image_;
  std::optional<RawSize> lastRaw_;
  ViewerOpening opening_;
  int zoom_ = 1, centreX_ = 0, centreY_ = 0;
  bool markCentre_ = false;
  int wheelRemainder_ = 0;
  QImage client_;
  QPointer<GradationTableWindow> table_;
  std::optional<bool> standAloneOutcome_;  // set by the key that closes a stand-alone viewer
};

}  // namespace vemla
