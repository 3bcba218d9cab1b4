// Figures of the windows that Google Benchmark cannot drive (they need an application object and
// real widgets), printed as medians of repeated rounds:
// - mouse move to image scope shown: a move over image pane 1 of the main window with a
//   4096 x 4096 pair open, handled and the scope repainted at once (a real move waits for the
//   next frame on top of this);
// - blink flip: image pane 2 blinking over a 4096 x 4096 pair at x1, one flip (the workbench's
//   state, the listeners, the title strip and the statistics) and the pane repainted at once;
//   the budget is 2 ms, so 60 flips a second leave the rest of each frame free;
// - window open: a new process of this program opens a 4096 x 4096 pair the way the program's
//   `main` does (picture store, settings, gallery, main window, then the command line's two
//   bitmaps), timed from its start to both image panes painted with the pair; it reports that
//   moment on its output and ends. The process start comes before its `main`, so the figure is
//   an upper bound; the new process also prints where its time went;
// - hand-over (with --handover PATH/TO/vemla): this process plays a running stand-alone viewer
//   (listener and viewer window) and starts the real program with a 1024 x 1024 bitmap as the
//   new copy, timing process start to the repainted viewer. The process start comes before the
//   new copy's `main`, so the figure is an upper bound.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>
#include <string_view>
#include <utility>
#include <vector>

#include "picture/bitmap.h"
#include "platform/running_copy.h"
#include "platform/viewer_handover.h"
#include "windows/main/dialog_language.h"
#include "windows/main/drawn_icons.h"
#include "windows/main/qt_user_port.h"
#include "windows/main/screen_fit.h"
#include "windows/main/workbench_window.h"
#include "windows/panes/image_pane.h"
#include "windows/panes/image_scope_window.h"
#include "windows/viewer/stand_alone_viewer.h"
#include "windows/viewer/viewer_window.h"
#include "workbench/commands/command_ids.h"
#include "workbench/gallery/gallery_startup.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/settings/settings_session.h"
#include "workbench/view/comparison_view.h"

namespace {

constexpr int kOpenSide = 4096;

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

std::vector<std::uint8_t> texture(int side) {
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(side) * side);
  for (std::size_t i = 0; i < pixels.size(); ++i)
    pixels[i] = static_cast<std::uint8_t>(i * 7 + i / 4093);
  return pixels;
}

bool scopeFigure(const QString& folder) {
  constexpr int kSide = 4096;
  vemla::Workbench bench;
  bench.settings.folder = folder.toStdString();
  bench.options = vemla::Options{};
  vemla::QtUserPort user(nullptr, bench.options);
  if (!bench.store.allocate(kSide, kSide)) return false;
  const std::vector<std::uint8_t> first = texture(kSide), second = texture(kSide);
  vemla::WorkbenchWindow window(bench, user, QSize(1280, 1024));
  window.show();
  vemla::MemoryPictures pictures;
  pictures.width = pictures.height = kSide;
  pictures.pixels = {first.data(), second.data()};
  if (vemla::setPicturesFromMemory(bench, user, pictures) != 0) return false;
  window.runCommand(vemla::kImageScope);
  QCoreApplication::processEvents();
  QWidget* pane = window.imagePane(vemla::ImageSlot::First);
  vemla::ImageScopeWindow& scope = window.imageScope();
  std::vector<double> times;
  QElapsedTimer clock;
  for (int round = 0; round < 400; ++round) {
    const QPoint at(40 + round % 400, 60 + (round * 7) % 380);
    QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(pane->mapToGlobal(at)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    clock.start();
    QApplication::sendEvent(pane, &move);
    scope.repaint();
    times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    if (!scope.isVisible()) return false;
  }
  std::printf(
      "mouse move to image scope shown (4096 x 4096 pair, 400 moves): %.3f ms median, "
      "%.3f ms worst\n",
      median(times), *std::max_element(times.begin(), times.end()));
  return true;
}

bool handOverFigure(const QString& program, const QString& folder) {
  constexpr int kSide = 1024, kRounds = 10;
  const std::vector<std::uint8_t> pixels = texture(kSide);
  const QString file = folder + "/handed.bmp";
  if (vemla::writeBitmap(file.toStdString(), kSide, kSide, 1, pixels.data(), nullptr) != 0)
    return false;
  vemla::Options options;
  vemla::QtUserPort user(nullptr, options);
  vemla::ViewerWindow viewer(options, user);
  viewer.setScreenSize({1280, 1024});
  viewer.setStandAlone(true);
  viewer.show();
  vemla::StandAloneViewer run;
  run.listener = std::make_unique<vemla::platform::ViewerListener>(folder);
  run.serve(&viewer);  // opens each handed-over file in the viewer

  QElapsedTimer clock;
  qint64 shownAt = -1;
  QObject::connect(run.listener.get(), &vemla::platform::ViewerListener::fileReceived, &viewer,
                   [&] {
                     viewer.repaint();
                     shownAt = clock.elapsed();
                   });
  std::vector<double> shown, ended;
  for (int round = 0; round < kRounds; ++round) {
    QProcess copy;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("VEMLA_HOME", folder);
    copy.setProcessEnvironment(environment);
    shownAt = -1;
    clock.start();
    copy.start(program, {file});
    while ((copy.state() != QProcess::NotRunning || shownAt < 0) && clock.elapsed() < 10000)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    if (shownAt < 0 || viewer.picture().width != kSide) {
      std::fprintf(stderr, "round %d: not handed over\n", round);
      return false;
    }
    shown.push_back(static_cast<double>(shownAt));
    ended.push_back(static_cast<double>(clock.elapsed()));
  }
  std::printf(
      "hand-over of a %d x %d bitmap (%d rounds): shown %.0f ms after the new copy's "
      "start (median, best %.0f), the new copy ended after %.0f ms\n",
      kSide, kSide, kRounds, median(shown), *std::min_element(shown.begin(), shown.end()),
      median(ended));
  return true;
}

bool flipFigure(const QString& folder) {
  constexpr int kSide = 4096;
  vemla::Workbench bench;
  bench.settings.folder = folder.toStdString();
  bench.options = vemla::Options{};
  vemla::QtUserPort user(nullptr, bench.options);
  if (!bench.store.allocate(kSide, kSide)) return false;
  std::vector<std::uint8_t> first = texture(kSide), second = texture(kSide);
  for (std::uint8_t& value : second) value = static_cast<std::uint8_t>(255 - value);
  vemla::WorkbenchWindow window(bench, user, QSize(1280, 1024));
  window.show();
  vemla::MemoryPictures pictures;
  pictures.width = pictures.height = kSide;
  pictures.pixels = {first.data(), second.data()};
  if (vemla::setPicturesFromMemory(bench, user, pictures) != 0) return false;
  window.runCommand(vemla::kBlinkImage2);
  vemla::setBlinkRate(bench, vemla::kMinBlinkTenths);  // the timer stays out of the rounds
  QCoreApplication::processEvents();
  QWidget* pane = window.imagePane(vemla::ImageSlot::Second);
  std::vector<double> times;
  QElapsedTimer clock;
  for (int round = 0; round < 600; ++round) {
    clock.start();
    vemla::flipBlink(bench, vemla::ImageSlot::Second);
    pane->repaint();
    times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
  }
  std::printf("blink flip (4096 x 4096 pair at x1, 600 flips): %.3f ms median, %.3f ms worst\n",
              median(times), *std::max_element(times.begin(), times.end()));
  return bench.view.comparison[1].mode == vemla::ComparisonMode::Blink;
}

// Milliseconds on the monotonic clock, which every process of the machine shares.
qint64 monotonicNow() {
  QElapsedTimer now;
  now.start();
  return now.msecsSinceReference();
}

// Notes the first paint of each image pane once the pictures are open, and when the first of
// them began.
class PaintWatch : public QObject {
 public:
  PaintWatch(const vemla::Workbench& bench, std::array<QWidget*, 2> panes)
      : bench_(bench), panes_(panes) {
    for (QWidget* pane : panes_) pane->installEventFilter(this);
  }
  bool bothPainted() const { return painted_[0] && painted_[1]; }
  qint64 firstPaint() const { return firstPaint_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Paint || !bench_.pictures.picturesPresent) return false;
    if (firstPaint_ < 0) firstPaint_ = monotonicNow();
    for (int k = 0; k < 2; ++k) painted_[k] = painted_[k] || watched == panes_[k];
    return false;
  }

 private:
  const vemla::Workbench& bench_;
  std::array<QWidget*, 2> panes_;
  std::array<bool, 2> painted_{};
  qint64 firstPaint_ = -1;
};

// The new process of the window open figure (arguments: --open-child, the program folder, the
// two pictures and the monotonic clock when the process was started): the start of the
// program's `main` but for the hand-over to a viewer. It prints the moments of its start in
// milliseconds after the process's start. A pane's paint follows the filter within the same
// round of events, so the panes are painted when processEvents returns.
int openChild(int argc, char** argv, qint64 mainAt) {
  vemla::useWholeScaleFactors();
  QApplication app(argc, argv);
  const qint64 started = QString::fromLocal8Bit(argv[5]).toLongLong();
  const QString folder = QString::fromLocal8Bit(argv[2]);
  const QString first = QString::fromLocal8Bit(argv[3]), second = QString::fromLocal8Bit(argv[4]);
  QGuiApplication::setDesktopFileName("org.vemla.Vemla");
  QApplication::setWindowIcon(vemla::applicationIcon());
  vemla::installDialogTranslation(app);
  vemla::FileDialogDress fileDialogDress;
  app.installEventFilter(&fileDialogDress);
  vemla::ScreenFit screenFit;
  app.installEventFilter(&screenFit);
  std::vector<std::pair<const char*, qint64>> marks{{"main", mainAt},
                                                    {"application", monotonicNow()}};
  vemla::Workbench bench;
  bench.settings.folder = folder.toStdString();
  vemla::QtUserPort user(nullptr, bench.options);
  const auto copy = vemla::platform::joinRunningCopies(bench);
  // The maximum picture size the pair needs, as if the settings held it.
  if (!vemla::persist::startWorkbench(
          bench, user, {bench.settings.folder, std::pair{kOpenSide, kOpenSide}, true}))
    return 1;
  vemla::persist::loadSettingsAtStart(bench, user);
  vemla::startGallery(bench, user);
  marks.emplace_back("workbench", monotonicNow());
  if (QGuiApplication::primaryScreen() == nullptr) return 1;
  vemla::WorkbenchWindow window(bench, user, QGuiApplication::primaryScreen()->availableSize());
  user.setParent(&window);
  window.show();
  if (bench.gallery.available && !bench.options.hideGalleryAtStart)
    window.runCommand(vemla::kGallery);
  window.requestOpen({first, second}, 0, true);
  marks.emplace_back("window shown", monotonicNow());
  const PaintWatch watch(bench, {window.imagePane(vemla::ImageSlot::First),
                                 window.imagePane(vemla::ImageSlot::Second)});
  while (!watch.bothPainted() && monotonicNow() - started < 20000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  if (!watch.bothPainted() || bench.pictures.width != kOpenSide) return 1;
  marks.emplace_back("first pane paint", watch.firstPaint());
  marks.emplace_back("painted", monotonicNow());
  std::printf("painted");
  for (const auto& [what, at] : marks)
    std::printf(", %s %lld", what, static_cast<long long>(at - started));
  // The processor time of all its threads so far: on a busy machine steadier than the clock.
  std::printf(", processor time %.0f\n",
              1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC);
  std::fflush(stdout);
  user.setParent(nullptr);
  return 0;
}

bool openFigure(const QString& folder) {
  constexpr int kRounds = 7;
  std::vector<std::uint8_t> pixels = texture(kOpenSide);
  const QString first = folder + "/first.bmp", second = folder + "/second.bmp";
  const auto write = [&](const QString& file) {
    return vemla::writeBitmap(file.toStdString(), kOpenSide, kOpenSide, 1, pixels.data(),
                              nullptr) == 0;
  };
  if (!write(first)) return false;
  for (std::uint8_t& value : pixels) value = static_cast<std::uint8_t>(255 - value);
  if (!write(second)) return false;
  if (!QDir().mkpath(folder + "/home")) return false;
  std::vector<double> painted, processor;
  QString last;
  for (int round = 0; round < kRounds; ++round) {
    QProcess child;
    QElapsedTimer clock;
    clock.start();
    child.start(QCoreApplication::applicationFilePath(),
                {"--open-child", folder + "/home", first, second,
                 QString::number(clock.msecsSinceReference())});
    if (!child.waitForReadyRead(20000)) break;
    const qint64 shown = clock.elapsed();
    last = QString::fromLocal8Bit(child.readAllStandardOutput()).trimmed();
    child.waitForFinished(20000);
    if (!last.startsWith("painted")) break;
    painted.push_back(static_cast<double>(shown));
    processor.push_back(last.section(' ', -1).toDouble());
  }
  if (painted.size() != kRounds) {
    std::fprintf(stderr, "window open: the new process did not paint its panes\n");
    return false;
  }
  std::printf(
      "window open of a %d x %d bitmap pair (%d rounds): panes painted %.0f ms after the new "
      "process's start (median, best %.0f; %.0f ms of processor time); last round, ms after its "
      "start: %s\n",
      kOpenSide, kOpenSide, kRounds, median(painted),
      *std::min_element(painted.begin(), painted.end()), median(processor),
      qPrintable(last.mid(9)));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const qint64 mainAt = monotonicNow();
  if (argc == 6 && std::string_view(argv[1]) == "--open-child")
    return openChild(argc, argv, mainAt);
  QApplication app(argc, argv);
  QTemporaryDir folder;
  if (!folder.isValid() || !scopeFigure(folder.path()) || !flipFigure(folder.path()) ||
      !openFigure(folder.path()))
    return 1;
  if (argc == 3 && QString::fromLocal8Bit(argv[1]) == "--handover")
    return handOverFigure(QString::fromLocal8Bit(argv[2]), folder.path()) ? 0 : 1;
  return 0;
}
