// Window tests, run offscreen: the user colour editor's grid, ramps, picker, interpolation,
// file buttons and its opening from the menu, second copy included.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>

#include "options/options.h"
#include "support/recording_port.h"
#include "support/test_files.h"
#include "windows/editors/memo_editor.h"
#include "windows/editors/user_colour_editor.h"
#include "windows/main/quick_help.h"
#include "windows/main/workbench_window.h"
#include "workbench/commands/command_ids.h"

using namespace vemla;
using vemla::testing::RecordingPort;

namespace {

QString u(const char* text) {
  return QString::fromUtf8(text);
}

// Two tables: "warm" (grey g is g, 10, 255 - g) and "cold" (all zero).
struct Setup {
  vemla::testing::TempDir folder;
  Workbench bench;
  RecordingPort user;
  QStringList opened;      // what the file dialogs handed out
  QList<QUrl> desktop;     // what went to the desktop
  std::optional<QColor> colour;
  Setup() {
    bench.settings.folder = folder.path();
    auto& tables = bench.userEntries.colours;
    tables[0].inUse = 1;
    tables[0].name = "warm";
    for (std::size_t g = 0; g < 256; ++g) {
      tables[0].table[g * 3] = static_cast<std::uint8_t>(g);
      tables[0].table[g * 3 + 1] = 10;
      tables[0].table[g * 3 + 2] = static_cast<std::uint8_t>(255 - g);
    }
    tables[1].inUse = 1;
    tables[1].name = "cold";
  }
  UserColourEditorDialogs dialogs() {
    UserColourEditorDialogs made;
    made.open = [this](const QString&, const QString&, const QString&) {
      return opened.isEmpty() ? QString() : opened.takeFirst();
    };
    made.save = made.open;
    made.chooseColour = [this](const QColor&, std::array<std::uint32_t, 16>&) { return colour; };
    made.desktop = [this](const QUrl& url) {
      desktop << url;
      return true;
    };
    return made;
  }
  std::unique_ptr<UserColourEditorDialog> dialog() {
    auto made = std::make_unique<UserColourEditorDialog>(bench, user, dialogs());
    made->show();
    QApplication::setActiveWindow(made.get());
    return made;
  }
  int channel(int grey, int c) const {
    return bench.userEntries.colours[0].table[static_cast<std::size_t>(grey * 3 + c)];
  }
};

void click(ColourRamp* ramp, int y) {
  QTest::mouseClick(ramp, Qt::LeftButton, {}, QPoint(5, y));
}

void press(UserColourEditorDialog& dialog, const char* name) {
  dialog.findChild<QPushButton*>(name)->click();
}

}  // namespace

class UserColourEditorTest : public QObject {
  Q_OBJECT
 private slots:
  void opensOnTheFirstTableWithTheGridAtGreyZero() {
    Setup s;
    auto dialog = s.dialog();
    QCOMPARE(dialog->windowTitle(), u("ﾕｰｻﾞｶﾗｰｲﾒｰｼﾞの編集"));
    QCOMPARE(dialog->entryList()->count(), 2);
    QCOMPARE(dialog->nameField()->text(), QString("warm"));
    QCOMPARE(dialog->greyLabel(15)->text(), QString("15"));
    QCOMPARE(dialog->field(3, 2)->text(), QString("252"));
    QCOMPARE(dialog->scrollBar()->maximum(), 240);
    QCOMPARE(dialog->scrollBar()->pageStep(), 16);
    QVERIFY(!quickHelpOf(dialog->findChild<QPushButton*>("read")).isEmpty());
    QVERIFY(!quickHelpOf(dialog->findChild<QPushButton*>("interpolate")).isEmpty());
  }

  // The table ramp moves the grid (at most to 240) or sets the focused range field; a channel
  // ramp sets the strip's channel of the focused row.
  void rampClicksFollowTheFocus() {
    Setup s;
    auto dialog = s.dialog();
    click(dialog->ramp(ColourRamp::Show::Table), 250);
    QCOMPARE(dialog->scrollBar()->value(), 240);
    QCOMPARE(dialog->greyLabel(0)->text(), QString("240"));
    click(dialog->ramp(ColourRamp::Show::Table), 100);
    QCOMPARE(dialog->greyLabel(2)->text(), QString("102"));

    dialog->field(2, 0)->setFocus();
    click(dialog->ramp(ColourRamp::Show::Green), 77);
    QCOMPARE(dialog->field(2, 1)->text(), QString("77"));
    QCOMPARE(dialog->session().channel(102, 1), 77);
    QCOMPARE(dialog->session().channel(102, 0), 102);

    dialog->toField()->setFocus();
    click(dialog->ramp(ColourRamp::Show::Table), 200);
    click(dialog->ramp(ColourRamp::Show::Blue), 180);
    QCOMPARE(dialog->toField()->text(), QString("180"));
    QCOMPARE(dialog->greyLabel(0)->text(), QString("100"));  // the grid stayed
  }

  void gridFieldsAreLimitedWhenReadAndChangeStoresThem() {
    Setup s;
    auto dialog = s.dialog();
    QLineEdit* red = dialog->field(1, 0);
    red->setFocus();
    red->selectAll();
    QTest::keyClicks(red, "999");
    QCOMPARE(dialog->session().channel(1, 0), 255);
    QTest::keyClick(red, Qt::Key_Return);
    QCOMPARE(red->text(), QString("255"));
    press(*dialog, "change");
    QCOMPARE(s.channel(1, 0), 255);
    QVERIFY(s.user.messages.isEmpty());
  }

  void interpolationAndPickerWorkOnTheEditCopy() {
    Setup s;
    auto dialog = s.dialog();
    dialog->fromField()->setText("3");
    dialog->toField()->setText("0");
    dialog->findChild<QCheckBox*>("redTick")->setChecked(false);
    dialog->findChild<QCheckBox*>("blueTick")->setChecked(false);
    dialog->field(3, 1)->setText("");
    QTest::keyClicks(dialog->field(3, 1), "40");
    press(*dialog, "interpolate");
    QCOMPARE(dialog->fromField()->text(), QString("0"));
    QCOMPARE(dialog->toField()->text(), QString("3"));
    // Green 10 at grey 0 to 40 at grey 3; red and blue stay.
    QCOMPARE(dialog->field(1, 1)->text(), QString("20"));
    QCOMPARE(dialog->field(2, 1)->text(), QString("30"));
    QCOMPARE(dialog->field(2, 0)->text(), QString("2"));
    QCOMPARE(s.channel(1, 1), 10);  // the stored entry is untouched
    QCOMPARE(s.bench.shell.userColourEditor.channels, (std::array<bool, 3>{false, true, false}));

    s.colour = QColor(1, 2, 3);
    dialog->field(4, 0)->setFocus();
    press(*dialog, "pick");
    QCOMPARE(dialog->field(4, 2)->text(), QString("3"));
    QCOMPARE(dialog->findChild<QLineEdit*>("reference1")->text(), QString("2"));
    QCOMPARE(s.bench.shell.userColourEditor.lastColour, (std::array<std::uint8_t, 3>{1, 2, 3}));
  }

  // A bad file asks; its yes opens the file for editing, on the desktop for plain text and in
  // the built-in window for a script.
  void aBadFileOpensForEditingOnAYes() {
    Setup s;
    auto dialog = s.dialog();
    const std::string text = s.folder.file("bad.txt");
    const std::string script = s.folder.file("bad.sh");
    vemla::testing::writeBytes(text, {'1', '\n'});
    vemla::testing::writeBytes(script, {'#', '!', '/', 'b', 'i', 'n', '/', 's', 'h', '\n'});
    s.opened = {QString::fromStdString(text), QString::fromStdString(script)};
    s.user.yesNoCancelAnswers = {Answer::Yes, Answer::Yes};
    press(*dialog, "read");
    QCOMPARE(s.desktop, QList<QUrl>{QUrl::fromLocalFile(QString::fromStdString(text))});
    press(*dialog, "read");
    QCOMPARE(s.desktop.size(), 1);
    QVERIFY(dialog->findChild<MemoEditor*>() != nullptr);
  }

  void theMenuCommandAsksInASecondCopyAndOpensTheEditor() {
    Setup s;
    s.bench.options = Options{};
    QVERIFY(s.bench.store.allocate(64, 64));
    WorkbenchWindow window(s.bench, s.user, QSize(1920, 1200));
    QAction* action = window.menuAction(kUserColours);
    window.updateCommandStates();
    QVERIFY(action->isEnabled());
    bool shown = false;
    QTimer::singleShot(0, [&shown] {
      if (auto* editor = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        shown = editor->objectName() == "UserColourEditor";
        editor->reject();
      }
    });
    action->trigger();
    QVERIFY(shown);

    s.bench.secondCopy = true;
    s.user.yesNoAnswers = {false};
    action->trigger();
    QCOMPARE(s.user.questions.size(), 1);
  }
};

QTEST_MAIN(UserColourEditorTest)
#include "test_user_colour_editor.moc"
