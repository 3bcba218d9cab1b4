#include "shell/workbench_window.h"

#include <QApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QMenuBar>
#include <QScrollArea>

#include "picture/open_pictures.h"
#include "processing/image_kinds.h"
#include "processing/refresh_chain.h"
#include "views/picture_image.h"

namespace vemla {
namespace {

// The wait cursor while an image is created.
class WaitCursor final : public BusyPort {
 public:
  void begin() override { QApplication::setOverrideCursor(Qt::WaitCursor); }
  void end() override { QApplication::restoreOverrideCursor(); }
};

QLabel* plainLabel(QWidget* parent, const QString& name) {
  auto* label = new QLabel(parent);
  label->setTextFormat(Qt::PlainText);
  label->setObjectName(name);
  return label;
}

}  // namespace

WorkbenchWindow::WorkbenchWindow(Workbench& bench, UserPort& user, QWidget* parent)
    : QMainWindow(parent), bench_(bench), user_(user) {
  setObjectName("Vemla");
  auto* central = new QWidget(this);
  auto* grid = new QGridLayout(central);
  static constexpr const char* kPaneNames[] = {"Port1", "Port2"};
  static constexpr const char* kImageNames[] = {"Image1", "Image2"};
  for (int index = 0; index < 2; ++index) {
    titles_[index] = plainLabel(central, QString(kPaneNames[index]) + "Title");
    panes_[index] = new QLabel(central);
    panes_[index]->setObjectName(kPaneNames[index]);
    panes_[index]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* scroll = new QScrollArea(central);
    scroll->setWidget(panes_[index]);
    scroll->setMinimumSize(532, 260);
    grid->addWidget(titles_[index], 0, index);
    grid->addWidget(scroll, 1, index);

    imageTitles_[index] = plainLabel(central, QString(kImageNames[index]) + "Title");
    imagePanes_[index] = new QLabel(central);
    imagePanes_[index]->setObjectName(kImageNames[index]);
    imagePanes_[index]->setFixedSize(512, 512);
    imagePanes_[index]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(imageTitles_[index], 2, index);
    grid->addWidget(imagePanes_[index], 3, index);
  }
  setCentralWidget(central);
  QMenu* file = menuBar()->addMenu(QString::fromUtf8("ﾌｧｲﾙ(&F)"));
  file->addAction(QString::fromUtf8("２つの画像で開く(&2)"), this, &WorkbenchWindow::chooseAndOpen);
  file->addAction(QString::fromUtf8("終了(&X)"), this, &QWidget::close);
  bench_.addListener(this);
  picturesChanged();
}

WorkbenchWindow::~WorkbenchWindow() {
  bench_.removeListener(this);
}

void WorkbenchWindow::picturesChanged() {
  setWindowTitle(QString::fromStdString(bench_.titles.main));
  for (int index = 0; index < 2; ++index) {
    titles_[index]->setText(QString::fromStdString(bench_.titles.pane[index]));
    if (!bench_.pictures.picturesPresent) continue;
    const QImage image =
        pictureImage(bench_.store.plane(index == 0 ? kShifted1 : kShifted2), bench_.pictures.width,
                     bench_.pictures.height, bench_.pictures.pictures[index].palette);
    panes_[index]->setPixmap(QPixmap::fromImage(image));
    panes_[index]->resize(image.size());
  }
  panesChanged();
}

void WorkbenchWindow::panesChanged() {
  const std::optional<ViewPoint> cross = bench_.view.cursorShown && bench_.pictures.picturesPresent
                                             ? std::optional<ViewPoint>(cursorViewPointOf(bench_))
                                             : std::nullopt;
  for (int index = 0; index < 2; ++index) {
    imageTitles_[index]->setText(QString::fromStdString(imageLabelOf(bench_, index + 1)));
    imagePanes_[index]->setPixmap(panePixmap(bench_.view.panes[index], cross));
  }
}

int WorkbenchWindow::openNames(const QStringList& names) {
  const std::string first = names.size() > 0 ? names[0].toStdString() : std::string();
  const std::string second = names.size() > 1 ? names[1].toStdString() : std::string();
  const int result = openPictureFiles(bench_, user_, &first, &second, false);
  if (result == 0) {
    WaitCursor wait;
    NoProgressPort progress;
    setImageKind(bench_, 2, kKindDifference, 0, user_, wait, progress);
  }
  return result;
}

void WorkbenchWindow::chooseAndOpen() {
  const QStringList names =
      QFileDialog::getOpenFileNames(this, QString::fromUtf8("２つの画像で開く"), QString(),
                                    QString::fromUtf8("画像ﾌｧｲﾙ (*.bmp *.raw);;すべてのﾌｧｲﾙ (*)"));
  if (!names.isEmpty()) openNames(names.mid(0, 2));
}

}  // namespace vemla
