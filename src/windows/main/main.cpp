// The entry point: program folder, command line, hand-over to a running viewer, picture store,
// settings, first or second running copy, temporary files, gallery, the main window, and the
// orderly shutdown that writes the settings back.
#include <QApplication>
#include <QScreen>
#include <clocale>
#include <cstdio>

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
#include "workbench/settings/settings_session.h"

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
  const vemla::text::Language language = vemla::text::chooseLanguage(
      vemla::text::LanguageEnvironment::current(),
      vemla::persist::storedLanguageChoice(settingsFolder));
  if (!vemla::text::useLanguage(language, vemla::text::catalogueFolder())) {
    std::fputs("vemla: the English catalogue (locale/en/LC_MESSAGES/vemla.mo) is missing; "
               "showing Japanese\n",
               stderr);
  }
  // The standard dialogs (file, colour) speak the program's language.
  if (vemla::text::language() == vemla::text::Language::Japanese) {
    vemla::installDialogTranslation(app);
  }
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
                                        QString::fromStdString(given.names[0]))) {
    return 0;
  }

  // One picture file with ViewerForSingleFile on: the stand-alone viewer comes first, after
  // VemlaPinf.dat and before the other settings files and the running-copy lock. Until the
  // operator goes on into the full program this copy creates and writes nothing.
  vemla::StandAloneViewer viewOnly;
  bool started = false;
  if (vemla::isViewerHandOver(given.names)) {
    if (!vemla::persist::startWorkbench(bench, user, {bench.settings.folder, std::nullopt, false}))
      return 1;
    started = true;
    if (bench.options.ViewerForSingleFile) {
      const vemla::StandAloneResult viewed = vemla::runStandAloneViewer(
          bench.options, user, bench.settings.folder, given.names[0], viewOnly);
      if (!viewed.proceed) return 0;
      if (viewed.raw) user.presetRawSize(given.names[0], *viewed.raw);
    }
  }

  // Only the first running copy creates or writes the settings files.
  const auto copy = vemla::platform::joinRunningCopies(bench);
  if (!started) {
    if (!vemla::persist::startWorkbench(bench, user,
                                        {bench.settings.folder, std::nullopt, !bench.secondCopy})) {
      return 1;
    }
  } else if (!bench.secondCopy && !vemla::fileExists(bench.settings.folder + "/" +
                                                     vemla::persist::kProgramSettingsFile)) {
    vemla::persist::saveProgramSettingsNow(bench, user);  // created as a first copy creates it
  }
  vemla::persist::loadSettingsAtStart(bench, user);
  // Temporary files of copies that no longer run; a live copy's files are left alone.
  if (!bench.secondCopy) vemla::deleteStaleTemporaryFiles(bench.settings.folder);
  vemla::startGallery(bench, user);  // a second copy has no gallery

  {
    const QSize screen = QGuiApplication::primaryScreen() != nullptr
                             ? QGuiApplication::primaryScreen()->availableSize()
                             : QSize(vemla::kLayoutWidth, vemla::kLayoutHeight);
    vemla::WorkbenchWindow window(bench, user, screen);
    user.setParent(&window);
    if (!window.usesBaseWindow()) {
      const vemla::persist::WindowRectangle rect =
          vemla::restoredWindowRect(bench.shell.window, screen.width(), screen.height());
      window.move(rect.x, rect.y);
    }
    window.show();
    // The gallery comes up in its stored form and place unless the option hides it.
    if (bench.gallery.available && !bench.options.hideGalleryAtStart) {
      window.runCommand(vemla::kGallery);
    }
    // A copy started as a stand-alone viewer keeps taking hand-overs while a viewer is open.
    if (viewOnly.listener != nullptr) viewOnly.serve(&window.viewer());
    // The command line's archive or pictures open once the window is up.
    if (!given.archivePath.empty()) {
      window.requestOpenArchive(QString::fromStdString(given.archivePath));
    } else if (!given.names[0].empty() || !given.names[1].empty()) {
      window.requestOpen(
          {QString::fromStdString(given.names[0]), QString::fromStdString(given.names[1])}, 0,
          true);
    }
    app.exec();
  }
  user.setParent(nullptr);
  // Only the first running copy writes the settings back; a normal end is success either way.
  vemla::persist::saveSettingsAtShutdown(bench, user);
  vemla::deleteOwnTemporaryFiles(bench.settings.folder);
  return 0;
}
