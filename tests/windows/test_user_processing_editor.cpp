// Window tests, run offscreen: the user simple image processing editor drives its editing
// session (list, edit copy, add, change, delete, update, cancel) and carries its quick help.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "extensions/expression_rules.h"
#include "support/fake_progress_port.h"
#include "support/recording_port.h"
#include "support/test_files.h"
#include "support/widget_fit.h"
#include "windows/editors/explanation_dialog.h"
#include "windows/editors/user_processing_editor.h"
#include "windows/main/quick_help.h"

using namespace vemla;
using vemla::testing::FakeProgressPort;
using vemla::testing::labelOf;
using vemla::testing::RecordingPort;
using vemla::testing::showsWhole;

namespace {

constexpr std::size_t at(int x, int y) {
  return static_cast<std::size_t>((y + 4) * 9 + x + 4);
}

QString u(const char* text) {
  return QString::fromUtf8(text);
}

// A workbench with two entries: "平滑" (a filter, 1 at the centre and 2 to its right, on
// picture 2) and "差分" (an expression).
struct Setup {
  Workbench bench;
  int selection = -1;
  RecordingPort user;
  FakeProgressPort progress;
  Setup() {
    auto& entries = bench.userEntries.processing;
    entries[0].inUse = 1;
    entries[0].name = "平滑";
    entries[0].form = 0;
    entries[0].filterPicture = 1;
    entries[0].elements[at(0, 0)] = "1";
    entries[0].elements[at(1, 0)] = "2";
    entries[0].correction = 1;
    entries[0].divisor = "3";
    entries[1].inUse = 1;
    entries[1].name = "差分";
    entries[1].form = 1;
    entries[1].expression = "P1(0,0)-P2(0,0)";
  }
  std::unique_ptr<UserProcessingEditorDialog> dialog() {
    auto made =
        std::make_unique<UserProcessingEditorDialog>(bench, selection, user, progress, progress);
    made->show();
    return made;
  }
  const UserProcessingEntry& entry(int slot) const {
    return bench.userEntries.processing[static_cast<std::size_t>(slot)];
  }
};

QPushButton* button(QWidget& dialog, const char* name) {
  auto* found = dialog.findChild<QPushButton*>(name);
  if (found == nullptr) qWarning("no button %s", name);
  return found;
}

void choose(UserProcessingEditorDialog& dialog, int row) {
  dialog.entryList()->setCurrentIndex(row);
  emit dialog.entryList()->activated(row);
}

}  // namespace

class UserProcessingEditorTest : public QObject {
  Q_OBJECT
 private slots:
  void opensWithTheFirstEntryShown() {
    Setup s;
    auto dialog = s.dialog();
    QCOMPARE(dialog->windowTitle(), u("ﾕｰｻﾞ簡易画像処理の編集"));
    QCOMPARE(dialog->entryList()->count(), 2);
    QCOMPARE(dialog->entryList()->itemText(1), u("差分"));
    QCOMPARE(dialog->entryList()->currentIndex(), 0);
    QCOMPARE(dialog->nameField()->text(), u("平滑"));
    QCOMPARE(dialog->element(0, 0)->text(), QString("1"));
    QCOMPARE(dialog->element(1, 0)->text(), QString("2"));
    QCOMPARE(dialog->element(-1, 0)->text(), QString());
    QVERIFY(dialog->findChild<QRadioButton*>("filterForm")->isChecked());
    QVERIFY(dialog->findChild<QRadioButton*>("picture2")->isChecked());
    QVERIFY(dialog->findChild<QCheckBox*>("correction")->isChecked());
    QCOMPARE(dialog->divisorField()->text(), QString("3"));
    // The filter form enables the grid and not the expression.
    QVERIFY(dialog->element(0, 0)->isEnabled());
    QVERIFY(!dialog->expressionField()->isEnabled());
    QVERIFY(dialog->element(5, 0) == nullptr);
  }

  void listAndNameFieldAreLabelledAndANameOfFullLengthShowsWhole() {
    Setup s;
    auto dialog = s.dialog();
    QCOMPARE(labelOf(dialog->entryList()), u("ﾕｰｻﾞ簡易画像処理"));
    QCOMPARE(labelOf(dialog->nameField()), u("画像処理名"));
    dialog->nameField()->setText("diff12_gauss3x3_then_threshold8");
    QCOMPARE(dialog->nameField()->text().size(), qsizetype(kMaxProcessingNameLength));
    QVERIFY(showsWhole(dialog->nameField()));
  }

  void choosingAnEntryShowsItAndAsksWhenEdited() {
    Setup s;
    auto dialog = s.dialog();
    choose(*dialog, 1);
    QVERIFY(s.user.questions.isEmpty());
    QCOMPARE(dialog->nameField()->text(), u("差分"));
    QVERIFY(dialog->findChild<QRadioButton*>("expressionForm")->isChecked());
    QCOMPARE(dialog->expressionField()->toPlainText(), QString("P1(0,0)-P2(0,0)"));
    QVERIFY(dialog->expressionField()->isEnabled());
    QVERIFY(!dialog->element(0, 0)->isEnabled());

    dialog->expressionField()->setPlainText("P1(0,0)");
    s.user.yesNoAnswers = {false};
    choose(*dialog, 0);
    QCOMPARE(s.user.questions, QStringList{u("編集中の情報が失われますがよいですか")});
    QCOMPARE(dialog->entryList()->currentIndex(), 1);  // put back
    QCOMPARE(dialog->expressionField()->toPlainText(), QString("P1(0,0)"));
    QCOMPARE(s.selection, 1);
  }

  void addStoresTheCleanedControlsAsANewEntry() {
    Setup s;
    auto dialog = s.dialog();
    dialog->nameField()->setText(u("新規"));
    dialog->element(-4, 4)->setText(" - 1 . 5 ");
    QTest::mouseClick(dialog->findChild<QRadioButton*>("picture1"), Qt::LeftButton);
    QTest::mouseClick(button(*dialog, "add"), Qt::LeftButton);
    QVERIFY(s.user.messages.isEmpty());
    const UserProcessingEntry& added = s.entry(2);
    QCOMPARE(added.inUse, 1);
    QCOMPARE(QString::fromStdString(added.name), u("新規"));
    QCOMPARE(added.filterPicture, 0);
    QCOMPARE(added.elements[at(-4, 4)], std::string("-1.5"));
    QCOMPARE(added.elements[at(1, 0)], std::string("2"));  // carried over from the shown entry
    QCOMPARE(dialog->entryList()->count(), 3);
    QCOMPARE(dialog->entryList()->currentIndex(), 2);
    QCOMPARE(dialog->element(-4, 4)->text(), QString("-1.5"));
    QCOMPARE(s.entry(0).name, std::string("平滑"));  // the shown entry is untouched
  }

  void refusalsShowTheMessageAndKeepTheControls() {
    Setup s;
    auto dialog = s.dialog();
    dialog->element(2, -3)->setText("1.");
    QTest::mouseClick(button(*dialog, "change"), Qt::LeftButton);
    QCOMPARE(s.user.messages, QStringList{u("ﾌｨﾙﾀ要素の指定に誤りがあります\n (X,Y)=( 2,-3)")});
    QCOMPARE(s.entry(0).elements[at(2, -3)], std::string());
    QCOMPARE(dialog->element(2, -3)->text(), QString("1."));
    QVERIFY(!dialog->session().modified());
  }

  void changeStoresTheFormSwitch() {
    Setup s;
    auto dialog = s.dialog();
    QTest::mouseClick(dialog->findChild<QRadioButton*>("expressionForm"), Qt::LeftButton);
    QVERIFY(dialog->expressionField()->isEnabled());
    dialog->expressionField()->setPlainText("P2(0,0) / 2");
    QTest::mouseClick(button(*dialog, "change"), Qt::LeftButton);
    QVERIFY(s.user.messages.isEmpty());
    QCOMPARE(s.entry(0).form, 1);
    QCOMPARE(s.entry(0).expression, std::string("P2(0,0) / 2"));
    QCOMPARE(s.entry(0).elements[at(1, 0)], std::string("2"));  // the filter is kept
  }

  void clearAllEmptiesTheGridOnly() {
    Setup s;
    auto dialog = s.dialog();
    QTest::mouseClick(button(*dialog, "clearAll"), Qt::LeftButton);
    QCOMPARE(dialog->element(0, 0)->text(), QString());
    QCOMPARE(dialog->element(1, 0)->text(), QString());
    QCOMPARE(dialog->nameField()->text(), u("平滑"));
    QCOMPARE(dialog->divisorField()->text(), QString("3"));
    QCOMPARE(s.entry(0).elements[at(0, 0)], std::string("1"));  // not stored
  }

  void deleteRemovesTheEntryFromTheList() {
    Setup s;
    auto dialog = s.dialog();
    QTest::mouseClick(button(*dialog, "delete"), Qt::LeftButton);
    QCOMPARE(dialog->entryList()->count(), 1);
    QCOMPARE(dialog->entryList()->itemText(0), u("差分"));
    QCOMPARE(dialog->nameField()->text(), u("差分"));
    QCOMPARE(s.entry(0).name, std::string("差分"));
  }

  void cancelAsksAfterChangesAndRestoresOnYes() {
    Setup s;
    auto dialog = s.dialog();
    QTest::mouseClick(button(*dialog, "delete"), Qt::LeftButton);
    s.user.yesNoAnswers = {false};
    QTest::mouseClick(button(*dialog, "cancel"), Qt::LeftButton);
    QCOMPARE(s.user.questions, QStringList{u("編集した内容が失われますがよいですか")});
    QVERIFY(dialog->isVisible());
    // Esc and the close button ask the same.
    s.user.yesNoAnswers = {false};
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    QVERIFY(dialog->isVisible());
    s.user.yesNoAnswers = {false};
    QVERIFY(!dialog->close());
    QVERIFY(dialog->isVisible());
    QCOMPARE(s.user.questions.size(), 3);

    s.user.yesNoAnswers = {true};
    QVERIFY(dialog->close());
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->result(), int(QDialog::Rejected));
    QCOMPARE(s.entry(0).name, std::string("平滑"));
    QCOMPARE(s.entry(1).name, std::string("差分"));
    QVERIFY(s.user.unscripted.isEmpty());
  }

  void cancelWithoutChangesClosesAtOnce() {
    Setup s;
    auto dialog = s.dialog();
    dialog->nameField()->setText("typed but not stored");
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    QVERIFY(!dialog->isVisible());
    QVERIFY(s.user.questions.isEmpty());
  }

  void okClosesOnlyAfterTheEntryIsStored() {
    Setup s;
    vemla::testing::TempDir folder;
    s.bench.settings.folder = folder.path();
    auto dialog = s.dialog();
    dialog->nameField()->clear();
    QTest::mouseClick(button(*dialog, "ok"), Qt::LeftButton);
    QCOMPARE(s.user.messages, QStringList{u("画像処理名の指定がありません")});
    QVERIFY(dialog->isVisible());
    dialog->nameField()->setText(u("平滑２"));
    QTest::mouseClick(button(*dialog, "ok"), Qt::LeftButton);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(s.entry(0).name, std::string("平滑２"));
    QVERIFY(QFile::exists(QString::fromStdString(folder.file("VemlaUinf.dat"))));
  }

  void updateKeepsTheDialogOpen() {
    Setup s;
    auto dialog = s.dialog();
    dialog->divisorField()->setText("4");
    QTest::mouseClick(button(*dialog, "update"), Qt::LeftButton);
    QVERIFY(dialog->isVisible());
    QCOMPARE(s.entry(0).divisor, std::string("4"));
    QVERIFY(!dialog->session().modified());
    // Saved: closing does not ask.
    QTest::mouseClick(button(*dialog, "cancel"), Qt::LeftButton);
    QVERIFY(!dialog->isVisible());
    QVERIFY(s.user.questions.isEmpty());
  }

  void explainShowsTheImageRules() {
    Setup s;
    auto dialog = s.dialog();
    choose(*dialog, 1);
    QTest::mouseClick(button(*dialog, "explain"), Qt::LeftButton);
    auto* explanation = dialog->findChild<ExplanationDialog*>();
    QVERIFY(explanation != nullptr);
    QVERIFY(explanation->isVisible());
    QCOMPARE(explanation->windowTitle(), u("説明"));
    QCOMPARE(explanation->text(), QString::fromStdString(imageExpressionRules()));
    explanation->close();
  }

  void everyControlCarriesItsQuickHelp() {
    Setup s;
    auto dialog = s.dialog();
    QCOMPARE(quickHelpOf(button(*dialog, "ok")), u("編集された内容を有効にして終了します"));
    QCOMPARE(quickHelpOf(button(*dialog, "cancel")), u("編集された内容を破棄して終了します"));
    QCOMPARE(quickHelpOf(button(*dialog, "delete")),
             u("現在選択されているﾕｰｻﾞ簡易\n画像処理を削除します"));
    QCOMPARE(quickHelpOf(dialog->findChild<QCheckBox*>("correction")),
             u("ﾌｨﾙﾀ演算して求められた総和値を指定値\nで除算した結果を最終的な値とします"));
    QCOMPARE(quickHelpOf(dialog->divisorField()), u("総和値を補正する時の除数です"));
    QCOMPARE(quickHelpOf(dialog->entryList()), u("編集対象とするﾕｰｻﾞ簡易画像処理を選択します"));
    QCOMPARE(quickHelpOf(dialog->nameField()), u("現在編集中のﾕｰｻﾞ簡易画像処理を表します"));
    QCOMPARE(quickHelpOf(dialog->expressionField()), u("画像処理式を指定します"));
    QCOMPARE(quickHelpOf(dialog->findChild<QRadioButton*>("picture2")),
             u("ﾌｨﾙﾀ演算する画像を指定します"));
    for (int y = -4; y <= 4; ++y) {
      for (int x = -4; x <= 4; ++x) {
        QCOMPARE(quickHelpOf(dialog->element(x, y)),
                 u("各ｵﾌｾｯﾄ画素の要素値を指定します\n符号付き浮動小数の指定が可能です"));
      }
    }
    for (QPushButton* each : dialog->findChildren<QPushButton*>()) {
      QVERIFY2(!quickHelpOf(each).isEmpty(), qPrintable(each->objectName()));
    }
    for (QRadioButton* each : dialog->findChildren<QRadioButton*>()) {
      QVERIFY2(!quickHelpOf(each).isEmpty(), qPrintable(each->objectName()));
    }
  }

  void secondCopyAsksFirstAndANoOpensNothing() {
    Setup s;
    s.bench.secondCopy = true;
    QWidget parent;
    s.user.yesNoAnswers = {false};
    editUserProcessing(&parent, s.bench, s.user, s.progress, s.progress);
    QCOMPARE(
        s.user.questions,
        QStringList{
            u("多重起動されたﾌﾟﾛｸﾞﾗﾑのため編集\nした内容がﾌｧｲﾙには保存されません\n続行しますか")});
    QVERIFY(parent.findChild<UserProcessingEditorDialog*>() == nullptr);
  }
};

QTEST_MAIN(UserProcessingEditorTest)
#include "test_user_processing_editor.moc"
