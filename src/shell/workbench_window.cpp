#include "shell/workbench_window.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QMenuBar>
#include <QScrollArea>

#include "picture/open_pictures.h"
#include "views/picture_image.h"

namespace vemla {

WorkbenchWindow::WorkbenchWindow(Workbench& bench, UserPort& user, QWidget* parent)
    : QMainWindow(parent), bench_(bench), user_(user) {
  setObjectName("Vemla");
  auto* central = new QWidget(this);
  auto* grid = new QGridLayout(central);
  static constexpr const char* kPaneNames[] = {"Port1", "Port2"};
  for (int index = 0; index < 2; ++index) {
    titles_[index] = new QLabel(central);
    titles_[index]->setTextFormat(Qt::PlainText);
    titles_[index]->setObjectName(QString(kPaneNames[index]) + "Title");
    panes_[index] = new QLabel(central);
    panes_[index]->setObjectName(kPaneNames[index]);
    panes_[index]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* scroll = new QScrollArea(central);
    scroll->setWidget(panes_[index]);
    scroll->setMinimumSize(532, 532);
    grid->addWidget(titles_[index], 0, index);
    grid->addWidget(scroll, 1, index);
  }
  setCentralWidget(central);
  QMenu* file = menuBar()->addMenu(QString::fromUtf8("ﾌｧｲﾙ(&F)"));
  file->addAction(QString::fromUtf8("２つの画像で開く(&2)"), this, &WorkbenchWindow::chooseAndOpen);
  file->addAction(QString::fromUtf8("終了(&X)"), this, &QWidget::close);
  bench_.addListener(this);
  picturesChanged();
}

WorkbenchWindow::~WorkbenchWindow() { bench_.removeListener(this); }

void WorkbenchWindow::picturesChanged() {
  setWindowTitle(QString::fromStdString(bench_.titles.main));
  for (int index = 0; index < 2; ++index) {
    titles_[index]->setText(QString::fromStdString(bench_.titles.pane[index]));
    if (!bench_.pictures.picturesPresent) continue;
    const QImage image = pictureImage(bench_.store.plane(index == 0 ? kPicture1 : kPicture2),
                                      bench_.pictures.width, bench_.pictures.height,
                                      bench_.pictures.pictures[index].palette);
    panes_[index]->setPixmap(QPixmap::fromImage(image));
    panes_[index]->resize(image.size());
  }
}

int WorkbenchWindow::openNames(const QStringList& names) {
  const std::string first = names.size() > 0 ? names[0].toStdString() : std::string();
  const std::string second = names.size() > 1 ? names[1].toStdString() : std::string();
  return openPictureFiles(bench_, user_, &first, &second, false);
}

void WorkbenchWindow::chooseAndOpen() {
  const QStringList names = QFileDialog::getOpenFileNames(
      this, QString::fromUtf8("２つの画像で開く"), QString(),
      QString::fromUtf8("画像ﾌｧｲﾙ (*.bmp *.raw);;すべてのﾌｧｲﾙ (*)"));
  if (!names.isEmpty()) openNames(names.mid(0, 2));
}

}  // namespace vemla
