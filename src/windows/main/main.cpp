// The entry point: program folder, command line, hand-over to a running viewer, picture store,
// settings, first or second running copy, temporary files, gallery, the main window, and the
// orderly shutdown that writes the settings back.
#include <QApplication>
#include <QScreen>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <optional>

#include "persist/own_options.h"
#include "persist/settings_io.h"
#include "picture/file_helpers.h"
#include "platform/program_folder.h"
#include "platform/running_copy.h"
#include "platform/viewer_handover.h"
#include "text/translate.h"
#include "windows/main/dialog_language.h"
#include "windows/main/drawn_icons.h"
#include "windows/main/qt_user_port.h"
#include "windows/main/screen_fit.h"
#include "windows/main/workbench_window.h"
#include "windows/viewer/stand_alone_viewer.h"
#include "windows/viewer/viewer_window.h"
#include "workbench/commands/command_line.h"
#include "workbench/commands/window_layout.h"
#include "workbench/gallery/gallery_startup.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/settings/settings_session.h"

namespace vemla {
namespace {

const std::string& firstName(const CommandLineNames& given) {
  return given.names[index(PictureSlot::First)];
}

// The language of the texts (VEMLA_LANG, the stored choice or the locale), chosen before
// anything is shown; the standard dialogs (file, colour) speak it too.
void chooseProgramLanguage(QApplication& app, const std::string& settingsFolder) {
  const text::Language language = text::chooseLanguage(text::LanguageEnvironment::current(),
                                                       persist::storedLanguageChoice(settingsFolder));
  if (!text::useLanguage(language, text::catalogueFolder())) {
    std::fputs("vemla: the English catalogue (locale/en/LC_MESSAGES/vemla.mo) is missing; "
               "showing Japanese\n",
               stderr);
  }
  if (text::language() == text::Language::Japanese) installDialogTranslation(app);
}

// One picture file with ViewerForSingleFile on: the stand-alone viewer comes first, after
// VemlaPinf.dat and before the other settings files and the running-copy lock. Until the
// operator goes on into the full program this copy creates and writes nothing. The exit
// status when this copy ends here; nullopt to go on (`started`: the settings were started).
std::optional<int> startAsViewer(Workbench& bench, QtUserPort& user, const CommandLineNames& given,
                                 StandAloneViewer& viewOnly, bool& started) {
  started = false;
  if (!isViewerHandOver(given.names)) return std::nullopt;
  if (!persist::startWorkbench(bench, user, {bench.settings.folder, std::nullopt, false})) return 1;
  started = true;
  if (bench.options.ViewerForSingleFile) {
    const StandAloneResult viewed =
        runStandAloneViewer(bench.options, user, bench.settings.folder, firstName(given), viewOnly);
    if (!viewed.proceed) return 0;
    if (viewed.raw) user.presetRawSize(firstName(given), *viewed.raw);
  }
  return std::nullopt;
}

// The settings files (only the first running copy creates or writes them), stale temporary
// files and the gallery. False when the settings cannot be started.
bool startSettings(Workbench& bench, QtUserPort& user, bool started) {
  if (!started) {
    if (!persist::startWorkbench(bench, user, {bench.settings.folder, std::nullopt, !bench.secondCopy})) {
      return false;
    }
  } else if (!bench.secondCopy &&
             !fileExists(bench.settings.folder + "/" + persist::kProgramSettingsFile)) {
    persist::saveProgramSettingsNow(bench, user);  // created as a first copy creates it
  }
  persist::loadSettingsAtStart(bench, user);
  // Temporary files of copies that no longer run; a live copy's files are left alone.
  if (!bench.secondCopy) deleteStaleTemporaryFiles(bench.settings.folder);
  startGallery(bench, user);  // a second copy has no gallery
  return true;
}

// The main window from its first show until it closes.
void runMainWindow(QApplication& app, Workbench& bench, QtUserPort& user,
                   const CommandLineNames& given, StandAloneViewer& viewOnly) {
  const QSize screen = QGuiApplication::primaryScreen() != nullptr
                           ? QGuiApplication::primaryScreen()->availableSize()
                           : QSize(kLayoutWidth, kLayoutHeight);
  WorkbenchWindow window(bench, user, screen);
  user.setParent(&window);
  if (!window.usesBaseWindow()) {
    const persist::WindowRectangle rect =
        restoredWindowRect(bench.shell.window, screen.width(), screen.height());
    window.move(rect.x, rect.y);
  }
  window.show();
  // The gallery comes up in its stored form and place unless the option hides it.
  if (bench.gallery.available && !bench.options.hideGalleryAtStart) window.runCommand(kGallery);
  // A copy started as a stand-alone viewer keeps taking hand-overs while a viewer is open.
  if (viewOnly.listener != nullptr) viewOnly.serve(&window.viewer());
  // The command line's archive or pictures open once the window is up.
  if (!given.archivePath.empty()) {
    window.requestOpenArchive(QString::fromStdString(given.archivePath));
  } else if (std::ranges::any_of(given.names, [](const std::string& name) { return !name.empty(); })) {
    QStringList names;
    for (PictureSlot slot : kPictureSlots) names << QString::fromStdString(given.names[index(slot)]);
    window.requestOpen(names, OpenMode::Both, true);
  }
  app.exec();
  user.setParent(nullptr);
}

}  // namespace
}  // namespace vemla

int main(int argc, char** argv) {
  vemla::useWholeScaleFactors();
  QApplication app(argc, argv);
  // Docks and task bars match the windows to the installed menu entry by this name.
  QGuiApplication::setDesktopFileName("org.vemla.Vemla");
  QApplication::setWindowIcon(vemla::applicationIcon());
  // QApplication took the user's locale for every category; numbers are written with "." in
  // every language.
  std::setlocale(LC_NUMERIC, "C");
  const std::string settingsFolder = vemla::platform::programFolder();
  vemla::chooseProgramLanguage(app, settingsFolder);
  vemla::FileDialogDress fileDialogDress;
  app.installEventFilter(&fileDialogDress);
  // Every dialog is kept inside the free area of its screen.
  vemla::ScreenFit screenFit;
  app.installEventFilter(&screenFit);
  vemla::Workbench bench;
  bench.settings.folder = settingsFolder;
  vemla::QtUserPort user(nullptr, bench.options);

  std::vector<std::string> args;
  for (const QString& argument : app.arguments().mid(1)) args.push_back(argument.toStdString());
  const vemla::CommandLineNames given = vemla::commandLineNames(args, user);

  // One picture file while a stand-alone viewer runs: it opens there and this copy ends.
  if (vemla::isViewerHandOver(given.names) &&
      vemla::platform::handOverToViewer(QString::fromStdString(bench.settings.folder),
                                        QString::fromStdString(vemla::firstName(given)))) {
    return 0;
  }
  vemla::StandAloneViewer viewOnly;
  bool started = false;
  if (const auto status = vemla::startAsViewer(bench, user, given, viewOnly, started)) return *status;

  // The lock of the running copies is held until the end.
  const auto copy = vemla::platform::joinRunningCopies(bench);
  if (!vemla::startSettings(bench, user, started)) return 1;
  vemla::runMainWindow(app, bench, user, given, viewOnly);
  // Only the first running copy writes the settings back; a normal end is success either way.
  vemla::persist::saveSettingsAtShutdown(bench, user);
  vemla::deleteOwnTemporaryFiles(bench.settings.folder);
  return 0;
}
