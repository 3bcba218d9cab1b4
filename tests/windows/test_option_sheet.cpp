// Window tests, run offscreen: the option sheet built from its table, its silent corrections,
// applying, the cancel question and the restart rule.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>
#include <deque>

#include "editing/small_dialogs.h"
#include "options/option_sheet_rules.h"
#include "options/option_table.h"
#include "support/recording_port.h"
#include "support/widget_fit.h"
#include "windows/dialogs/option_sheet.h"
#include "windows/main/quick_help.h"
#include "workbench/picture/prepare_pictures.h"
#include "workbench/view/refresh_chain.h"

using namespace vemla;
using vemla::testing::labelOf;
using vemla::testing::RecordingPort;

namespace {

const QString kDiscard = QString::fromUtf8(kDiscardEditsQuestion);

// A sheet over a workbench without pictures and without a settings folder (nothing is
// written), with the gallery available.
struct SheetFixture {
  SheetFixture() {
    bench.gallery.available = true;
    sheet = std::make_unique<OptionSheet>(bench, user, busy, progress);
    sheet->setColourChooser([this](std::uint32_t initial, std::array<std::uint32_t, 16>& custom) {
      chooserSaw = initial;
      custom[0] = rgb(9, 8, 7);
      return chosenColour;
    });
  }
  template <typename T>
  T* find(const char* name) const {
    return sheet->findChild<T*>(QString::fromUtf8(name));
  }
  QLineEdit* edit(const char* name) const { return find<QLineEdit>(name); }
  void pressApplyFields() const {
    QTest::mouseClick(sheet->findChildren<QPushButton*>("applyFields").first(), Qt::LeftButton);
  }
  void press(const char* name) const { QTest::mouseClick(find<QPushButton>(name), Qt::LeftButton); }

  Workbench bench;
  RecordingPort user;
  NoBusyPort busy;
  NoProgressPort progress;
  std::unique_ptr<OptionSheet> sheet;
  std::optional<std::uint32_t> chosenColour;
  std::uint32_t chooserSaw = 0;
};

}  // namespace

class OptionSheetTest : public QObject {
  Q_OBJECT
 private slots:
  void sevenPagesInTheirOrderShowingTheLiveValues() {
    SheetFixture f;
    QCOMPARE(f.sheet->windowTitle(), QString::fromUtf8("ｵﾌﾟｼｮﾝ情報"));
    auto* pages = f.find<QTabWidget>("pages");
    const QStringList titles{"画像関連", "ﾕｰｻﾞ制御",  "色の設定", "ﾌｧｲﾙ関連",
                             "　通信　", "ﾂｰﾙ関連１", "ﾂｰﾙ関連２"};
    QCOMPARE(pages->count(), 7);
    for (int i = 0; i < 7; ++i) QCOMPARE(pages->tabText(i), titles[i]);
    QCOMPARE(f.sheet->findChildren<QPushButton*>("applyFields").size(), 7);
    QCOMPARE(f.edit("MaxPictureWidth")->text(), QString("1024"));
    QCOMPARE(f.edit("PixelSizeX")->text(), QString("1.0"));
    QCOMPARE(f.edit("GreyRatioR")->text(), QString("0.299"));
    QCOMPARE(f.find<QComboBox>("ShiftUnit")->currentText(), QString("1/16"));
    QCOMPARE(f.find<QComboBox>("GalleryCount")->currentText(), QString("16"));
    QCOMPARE(f.find<QComboBox>("ArchiveExpandStartSlot")->count(), 16);
    QVERIFY(f.find<QRadioButton>("ShiftInterpolation1")->isChecked());
    // Archive numbers are stored from 0 and shown from 1.
    QCOMPARE(f.edit("ArchivePicture2Number")->text(), QString("2"));
    QCOMPARE(f.find<QListWidget>("ArchiveExpandNumbers")->item(2)->text(), QString("3 "));
    // The grid colour 0, 255, 0 in its read-only fields.
    QCOMPARE(f.edit("GridColour1G")->text(), QString("255"));
    QVERIFY(f.edit("GridColour1R")->isReadOnly());
    // The password is masked, as in the Import dialog.
    QCOMPARE(f.edit("ImportPassword")->echoMode(), QLineEdit::Password);
  }

  // Each option of the table has its one control on its page, in its group, with its label.
  void everyOptionOfTheTableHasItsControlWhereTheTablePutsIt() {
    SheetFixture f;
    auto* pages = f.find<QTabWidget>("pages");
    for (const OptionDescriptor& option : optionTable()) {
      const QString name = QString::fromUtf8(option.name.data(), qsizetype(option.name.size()));
      const QString label = QString::fromUtf8(option.label.data(), qsizetype(option.label.size()));
      QWidget* page = pages->widget(static_cast<int>(option.page));
      const QList<QWidget*> controls = page->findChildren<QWidget*>(name);
      QVERIFY2(controls.size() == 1, qPrintable(name));
      QWidget* control = controls.first();
      QString shownLabel;
      if (auto* check = qobject_cast<QAbstractButton*>(control)) {
        shownLabel = check->text();  // a check box or a colour's button
      } else {
        // The label beside the control in whichever form of its box or page holds it.
        for (QFormLayout* form : control->parentWidget()->findChildren<QFormLayout*>()) {
          if (auto* text = qobject_cast<QLabel*>(form->labelForField(control))) {
            shownLabel = text->text();
          }
        }
      }
      QCOMPARE(shownLabel, label);
      auto* group = qobject_cast<QGroupBox*>(control->parentWidget());
      QCOMPARE(group != nullptr ? group->objectName().toStdString() : std::string(),
               std::string(option.group));
    }
  }

  // The sheet is as wide as its tab row: no title is hidden behind scroll arrows or cut short.
  void everyPageTitleIsInSight() {
    SheetFixture f;
    f.sheet->show();
    QTabBar* bar = f.find<QTabWidget>("pages")->tabBar();
    for (int i = 0; i < bar->count(); ++i) {
      const QRect tab = bar->tabRect(i);
      const QString title = bar->tabText(i);
      QVERIFY2(bar->rect().contains(tab), qPrintable(title));
      QVERIFY2(tab.width() >= bar->fontMetrics().horizontalAdvance(title), qPrintable(title));
    }
  }

  void everyFieldHasALabel() {
    SheetFixture f;
    QList<QWidget*> fields;
    for (QLineEdit* edit : f.sheet->findChildren<QLineEdit*>()) fields.push_back(edit);
    for (QComboBox* selector : f.sheet->findChildren<QComboBox*>()) fields.push_back(selector);
    for (const QWidget* field : fields) {
      QVERIFY2(!labelOf(field).isEmpty(), qPrintable(field->objectName()));
    }
    QCOMPARE(labelOf(f.edit("GridColour1G")), QString("G"));
  }

  void applyFieldsCorrectsSilentlyWithoutApplying() {
    SheetFixture f;
    f.edit("MaxPictureWidth")->setText("1030");
    f.edit("AreaDiffRangeX")->setText("0");
    f.edit("PixelSizeX")->setText("-1");
    f.edit("DragMinimumMove")->setText("0");
    f.edit("PartialCompareGridX")->setText("1");
    f.edit("ArchivePicture1Number")->setText("0");
    f.pressApplyFields();
    QCOMPARE(f.edit("MaxPictureWidth")->text(), QString("1032"));
    QCOMPARE(f.edit("AreaDiffRangeX")->text(), QString("1"));
    QCOMPARE(f.edit("PixelSizeX")->text(), QString("1.0"));
    QCOMPARE(f.edit("DragMinimumMove")->text(), QString("1"));
    QCOMPARE(f.edit("PartialCompareGridX")->text(), QString("2"));
    QCOMPARE(f.edit("ArchivePicture1Number")->text(), QString("1"));
    QVERIFY(f.user.told.isEmpty());
    QCOMPARE(f.bench.options.AreaDiffRangeX, 3);  // nothing applied yet
    // A pixel size entered as -1 keeps the value shown before, here 0.5.
    f.edit("PixelSizeX")->setText("0.5");
    f.pressApplyFields();
    f.edit("PixelSizeX")->setText("-1");
    f.pressApplyFields();
    QCOMPARE(f.edit("PixelSizeX")->text(), QString("0.5"));
  }

  void updateAppliesAndOkClosesWithoutRestartForAColour() {
    SheetFixture f;
    f.chosenColour = rgb(1, 2, 3);
    f.press("GridColour2");
    QCOMPARE(f.chooserSaw, rgb(0, 255, 0));
    QCOMPARE(f.edit("GridColour2B")->text(), QString("3"));
    // The chooser's custom colours go straight into the settings.
    QCOMPARE(f.bench.shell.customColours[0], rgb(9, 8, 7));
    QCOMPARE(f.bench.options.GridColour2, rgb(0, 255, 0));
    f.sheet->show();
    f.press("apply");
    QCOMPARE(f.bench.options.GridColour2, rgb(1, 2, 3));
    QVERIFY(f.sheet->isVisible());  // "更新" does not close
    f.press("ok");
    QCOMPARE(f.sheet->result(), int(QDialog::Accepted));
    QVERIFY(!f.sheet->restartRequested());
    QVERIFY(f.user.told.isEmpty());
    QVERIFY(f.user.questions.isEmpty());
  }

  // "16ﾋﾞｯﾄ画像の変換" on "ﾌｧｲﾙ関連": one button per rule; the window's ends take entries only
  // while their button is chosen; an order or range the rule refuses keeps the previous window.
  void sixteenBitConversionIsChosenWithItsButtonsAndEnds() {
    SheetFixture f;
    f.sheet->show();
    f.find<QTabWidget>("pages")->setCurrentIndex(static_cast<int>(OptionPage::Files));
    QLineEdit* lower = f.edit("SixteenBitLower");
    QLineEdit* upper = f.edit("SixteenBitUpper");
    QVERIFY(f.find<QRadioButton>("SixteenBit0")->isChecked());
    QVERIFY(!lower->isEnabled() && !upper->isEnabled());
    QCOMPARE(labelOf(upper), QString::fromUtf8("上限"));

    QTest::mouseClick(f.find<QRadioButton>("SixteenBit1"), Qt::LeftButton);
    QVERIFY(lower->isEnabled() && upper->isEnabled());
    const auto type = [](QLineEdit* edit, const char* text) {
      edit->selectAll();
      QTest::keyClicks(edit, QString::fromLatin1(text));
    };
    type(lower, "100");
    type(upper, "4095");
    f.press("apply");
    const SixteenBitConversion window{SixteenBitRule::Window, 100, 4095};
    QCOMPARE(f.bench.options.SixteenBit, window);

    const std::pair<const char*, const char*> refused[] = {
        {"5000", "4000"}, {"7", "7"}, {"-1", "10"}, {"0", "65536"}, {"10", "x"}};
    for (const auto& [low, high] : refused) {
      type(lower, low);
      type(upper, high);
      f.press("apply");
      QCOMPARE(f.bench.options.SixteenBit, window);
      QCOMPARE(lower->text(), QString("100"));
      QCOMPARE(upper->text(), QString("4095"));
    }

    QTest::mouseClick(f.find<QRadioButton>("SixteenBit2"), Qt::LeftButton);
    QVERIFY(f.find<QRadioButton>("SixteenBit2")->isChecked());
    QVERIFY(!lower->isEnabled());
    f.press("ok");
    QCOMPARE(f.bench.options.SixteenBit.rule, SixteenBitRule::TopByte);
    QVERIFY(f.user.told.isEmpty());
  }

  void galleryCountChangeEndsWithTheRestartMessage() {
    SheetFixture f;
    f.bench.options.ArchiveExpandStartSlot = 10;
    f.sheet = std::make_unique<OptionSheet>(f.bench, f.user, f.busy, f.progress);
    f.find<QComboBox>("GalleryCount")->setCurrentText("8");
    f.sheet->show();
    f.press("ok");
    QVERIFY(f.sheet->restartRequested());
    QCOMPARE(f.user.told.size(), 1);
    QCOMPARE(f.user.told[0].icon, Icon::Info);
    QCOMPARE(
        f.user.told[0].text,
        QString::fromUtf8("再起動が必要な情報が更新されました\nﾌﾟﾛｸﾞﾗﾑの再起動を行って下さい"));
    QCOMPARE(f.bench.options.GalleryCount, 8);
    // Slot #11 is beyond the new count of 8: back to #1.
    QCOMPARE(f.bench.options.ArchiveExpandStartSlot, 0);
  }

  void maximumWidthIsHeldBackUntilTheSheetCloses() {
    SheetFixture f;
    f.edit("MaxPictureWidth")->setText("1030");
    f.press("apply");
    QCOMPARE(f.edit("MaxPictureWidth")->text(), QString("1032"));
    QCOMPARE(f.bench.options.MaxPictureWidth, 1024);
    QVERIFY(f.user.told.isEmpty());
    f.sheet->show();
    // Applied already: cancelling closes without a question, and the restart still follows.
    f.press("cancel");
    QVERIFY(f.user.questions.isEmpty());
    QVERIFY(f.sheet->restartRequested());
    QCOMPARE(f.bench.options.MaxPictureWidth, 1032);
    QCOMPARE(f.user.told.size(), 1);
  }

  void cancelledEditsNeedNoRestart() {
    SheetFixture f;
    f.sheet->show();
    f.edit("MaxPictureWidth")->setText("2048");
    f.pressApplyFields();
    f.user.yesNoAnswers = {true};
    f.press("cancel");
    QCOMPARE(f.user.questions, QStringList{kDiscard});
    QVERIFY(!f.sheet->isVisible());
    QVERIFY(!f.sheet->restartRequested());
    QCOMPARE(f.bench.options.MaxPictureWidth, 1024);
    QVERIFY(f.user.told.isEmpty());
  }

  void escAndTheCloseButtonAskLikeCancel() {
    SheetFixture f;
    f.sheet->show();
    // Nothing changed: Esc closes without a question.
    QTest::keyClick(f.edit("DragMinimumMove"), Qt::Key_Escape);
    QVERIFY(!f.sheet->isVisible());
    QVERIFY(f.user.questions.isEmpty());

    SheetFixture g;
    g.sheet->show();
    g.find<QCheckBox>("KeepGrid")->setChecked(true);
    g.user.yesNoAnswers = {false, false, true};
    QTest::keyClick(g.edit("DragMinimumMove"), Qt::Key_Escape);
    QVERIFY(g.sheet->isVisible());
    g.sheet->close();
    QVERIFY(g.sheet->isVisible());
    g.press("cancel");
    QCOMPARE(g.user.questions, (QStringList{kDiscard, kDiscard, kDiscard}));
    QVERIFY(!g.sheet->isVisible());
    QCOMPARE(g.sheet->result(), int(QDialog::Rejected));
    QVERIFY(!g.bench.options.carryOver.KeepGrid);
    QVERIFY(g.user.unscripted.isEmpty());
  }

  void enterInAFieldPressesOkNotAToolButton() {
    SheetFixture f;
    f.sheet->show();
    f.edit("ProfileGridGradation")->setText("55");
    QTest::keyClick(f.edit("ProfileGridGradation"), Qt::Key_Return);
    QCOMPARE(f.sheet->result(), int(QDialog::Accepted));
    // "既定値" would have put back 10.
    QCOMPARE(f.bench.options.ProfileGridGradation, 55);
  }

  void toolButtonsSetTheReferenceValues() {
    SheetFixture f;
    f.edit("View3DAngleX")->setText("5");
    f.edit("View3DLuminance")->setText("7");
    f.edit("MeasureEdgeLevel")->setText("9");
    f.press("view3DDefaults");
    QCOMPARE(f.edit("View3DAngleX")->text(), QString("20"));
    QCOMPARE(f.edit("View3DLuminance")->text(), QString("128"));
    QCOMPARE(f.edit("MeasureEdgeLevel")->text(), QString("9"));
    QVERIFY(!f.find<QPushButton>("view3DCurrent")->isEnabled());
    f.sheet->setCurrentView3D([] { return OptionSheet::View3DValues{30, 40, 50, 6, 7}; });
    QVERIFY(f.find<QPushButton>("view3DCurrent")->isEnabled());
    f.press("view3DCurrent");
    QCOMPARE(f.edit("View3DAngleZ")->text(), QString("40"));
    QCOMPARE(f.edit("View3DPolygonWidth")->text(), QString("7"));
    f.press("measureDefaults");
    QCOMPARE(f.edit("MeasureEdgeLevel")->text(), QString("32"));
  }

  void dependentControlsFollowTheirSwitches() {
    SheetFixture f;
    QVERIFY(!f.edit("GreyRatioR")->isEnabled());
    QVERIFY(!f.find<QCheckBox>("AskRatioPerFile")->isEnabled());
    f.find<QRadioButton>("TrueColourOpenMode1")->setChecked(true);
    QVERIFY(f.edit("GreyRatioR")->isEnabled());
    QVERIFY(f.find<QCheckBox>("AskRatioPerFile")->isEnabled());

    QVERIFY(f.find<QCheckBox>("ArchiveOpenPicture2")->isEnabled());
    f.find<QCheckBox>("ArchiveOpenPicture1")->setChecked(false);
    QVERIFY(!f.find<QCheckBox>("ArchiveOpenPicture2")->isEnabled());
    QVERIFY(!f.edit("ArchivePicture1Number")->isEnabled());

    f.find<QCheckBox>("RightClickCentres")->setChecked(true);
    QVERIFY(!f.find<QCheckBox>("PopupColourTurnsColourOn")->isEnabled());

    f.find<QCheckBox>("ArchiveExpandToGallery")->setChecked(false);
    QVERIFY(!f.find<QListWidget>("ArchiveExpandNumbers")->isEnabled());
  }

  void secondCopyAndMissingGalleryDisableTheirControls() {
    Workbench bench;
    bench.secondCopy = true;
    RecordingPort user;
    NoBusyPort busy;
    NoProgressPort progress;
    OptionSheet sheet(bench, user, busy, progress);
    QVERIFY(!sheet.findChild<QLineEdit*>("MaxPictureWidth")->isEnabled());
    QVERIFY(!sheet.findChild<QCheckBox*>("LockDisplayPosition")->isEnabled());
    QVERIFY(!sheet.findChild<QComboBox*>("GalleryCount")->isEnabled());
    QVERIFY(!sheet.findChild<QCheckBox*>("ArchiveExpandToGallery")->isEnabled());
    QVERIFY(sheet.findChild<QLineEdit*>("DragMinimumMove")->isEnabled());
  }

  void shiftUnitChangeRescalesTheStoredSubSteps() {
    SheetFixture f;
    f.bench.control.manual.setting.stepsX = 12;  // 12/16 = 0.75 pixel
    f.find<QComboBox>("ShiftUnit")->setCurrentText("1/4");
    f.press("apply");
    QCOMPARE(f.bench.options.ShiftUnit, 4);
    QCOMPARE(f.bench.control.manual.setting.stepsX, 3);  // 3/4 = 0.75 pixel
  }

  void quickHelpTextsOfTheSheet() {
    SheetFixture f;
    QCOMPARE(quickHelpOf(f.edit("MaxPictureHeight")),
             QString::fromStdString(maxPictureSizeHelp("Y")));
    QCOMPARE(quickHelpOf(f.find<QComboBox>("GalleryCount")),
             QString::fromUtf8("ｷﾞｬﾗﾘｰの最大数を選択します\nこの情報を更新した場合はﾌﾟﾛｸﾞﾗﾑの\n再起"
                               "動が必要となります"));
    QCOMPARE(quickHelpOf(f.edit("ArchivePicture1Number")),
             QString::fromUtf8("画像として開くVLAﾌｧｲﾙの情報番号を\n 1～256 の範囲で指定します"));
    for (QPushButton* button : f.sheet->findChildren<QPushButton*>("applyFields")) {
      QCOMPARE(quickHelpOf(button),
               QString::fromUtf8(
                   "入力された各値を一時設定します\n値に誤りがある場合は自動的に補正されます"));
    }
  }

  // F1 on any control of the sheet (the control, a radio button, a colour's read-only channel)
  // shows the explanation of its own option, taken from the option table.
  void f1ExplainsEveryOption() {
    SheetFixture f;
    f.sheet->show();
    const bool off = false;
    QuickHelp help(f.sheet.get(), off);
    for (const OptionDescriptor& option : optionTable()) {
      const QString name = QString::fromUtf8(option.name.data(), qsizetype(option.name.size()));
      auto* control = f.sheet->findChild<QWidget*>(name);
      QVERIFY2(control != nullptr, qPrintable(name));
      QList<QWidget*> targets{control};
      for (QWidget* child : control->findChildren<QWidget*>()) {
        if (child->focusPolicy() != Qt::NoFocus) targets << child;
      }
      if (option.type == OptionType::Colour) targets << f.sheet->findChild<QLineEdit*>(name + "R");
      const QString expected = QString::fromStdString(optionHelp(option.name));
      QVERIFY2(!expected.trimmed().isEmpty(), qPrintable(name));
      for (QWidget* target : targets) {
        help.close();
        QTest::keyClick(target, Qt::Key_F1);
        QVERIFY2(help.current() != nullptr, qPrintable(name));
        QCOMPARE(help.current()->accessibleDescription(), expected);
      }
    }
  }

  void realFieldsKeepTheirExactValueWhenUntouched() {
    Workbench bench;
    bench.options.PixelSizeX = 0.12345678;
    bench.options.AreaDiffDivisor = 1e-9;
    RecordingPort user;
    NoBusyPort busy;
    NoProgressPort progress;
    OptionSheet sheet(bench, user, busy, progress);
    sheet.show();
    sheet.apply();
    QCOMPARE(bench.options.PixelSizeX, 0.12345678);
    QCOMPARE(bench.options.AreaDiffDivisor, 1e-9);
    // Nothing was changed, so Esc closes without a question.
    sheet.reject();
    QVERIFY(user.questions.isEmpty());
  }
};

QTEST_MAIN(OptionSheetTest)
#include "test_option_sheet.moc"
