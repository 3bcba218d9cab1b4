#include "windows/controls/picture_control_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

#include "options/option_table.h"
#include "processing/alignment.h"
#include "processing/entry_value.h"
#include "processing/picture_control.h"
#include "processing/valid_range.h"
#include "text/format.h"
#include "windows/controls/direction_pad.h"
#include "windows/main/quick_help.h"
#include "windows/main/text_fit.h"
#include "windows/main/ui_text.h"
#include "windows/main/widget_factory.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {


namespace {

using namespace controls;

// Quick-help texts of the window's controls.
namespace help {
constexpr const char* kWhole = text::N_("画像のｻｲｽﾞ分全てを有効とします");
constexpr const char* kRectangle = text::N_("指定した範囲内を有効とします");
constexpr const char* kMargin = text::N_("画像の外周より固定画素幅を\n除いた範囲を有効とします");
constexpr const char* kWidth = text::N_("Ｘ方向ｻｲｽﾞです");
constexpr const char* kHeight = text::N_("Ｙ方向ｻｲｽﾞです");
constexpr const char* kTopLeft = text::N_("範囲の左上座標（Ｘ，Ｙ）");
constexpr const char* kBottomRight = text::N_("範囲の右下座標（Ｘ，Ｙ）");
constexpr const char* kTakeCursor = text::N_("現在の表示位置(ｶｰｿﾙ位置)を取り込みます");
constexpr const char* kMarginEdit = text::N_("無効となる画素数を指定します");
constexpr const char* kApply =
    text::N_("入力された値が適用されます\n値に矛盾がある場合は自動的\nに補正されます");
constexpr const char* kManual = text::N_(
    "指定された条件に従って画像をｼﾌﾄします\nｼﾌﾄ方法は『ｵﾌﾟｼｮﾝ情報-画像関連』で変更可能です");
constexpr const char* kManualTarget = text::N_("手動でｼﾌﾄ対象となる画像を指定します");
constexpr const char* kAmounts = text::N_(
    "手動でｼﾌﾄする方向及びｼﾌﾄ量を指定します\n最小単位は『ｵﾌﾟｼｮﾝ情報-画像関連』で変更可能です");
constexpr const char* kPad = text::N_("押下した方向へ対象画像をｼﾌﾄします");
constexpr const char* kPadStep = text::N_("左側のﾎﾞﾀﾝ押下時にｼﾌﾄする量を指定します");
constexpr const char* kClear = text::N_("手動のｼﾌﾄ量がｸﾘｱ(ｼﾌﾄなし)されます");
constexpr const char* kMarkRestore = text::N_("ﾏｰｸされている手動ｼﾌﾄ情報が回復されます");
constexpr const char* kMarkStore = text::N_("現在の手動ｼﾌﾄ情報をﾏｰｸ（記憶）します");
constexpr const char* kMarkTexts =
    text::N_("ﾏｰｸ(記憶)されている情報です\nｼﾌﾄ量 ｼﾌﾄ対象画像 方向  を表します");
constexpr const char* kReferenceShift =
    text::N_("基準位置座標(右側の座標)を現在の\n表示位置(ｶｰｿﾙ位置)までｼﾌﾄします");
constexpr const char* kReferenceStore =
    text::N_("現在の表示位置(ｶｰｿﾙ位置)を基準位置として取り込みます");
constexpr const char* kReferenceFields = text::N_("現在の基準位置座標(X,Y)です");
constexpr const char* kCopyAutomatic = text::N_("自動ｱﾗｲﾒﾝﾄの結果を手動のｼﾌﾄ情報に取り込みます");
constexpr const char* kAutomatic = text::N_(
    "２つの画像を自動で最適な位置へ位置合わせします\nｼﾌﾄ方法は『ｵﾌﾟｼｮﾝ情報-"
    "画像関連』で変更可能です");
constexpr const char* kCriterion = text::N_("自動ｱﾗｲﾒﾝﾄを行う時の種別です");
constexpr const char* kPrecision = text::N_(
    "自動ｱﾗｲﾒﾝﾄを行う時の最小単位（１画素の分割数）です\n最小単位は『ｵﾌﾟｼｮﾝ情報-"
    "画像関連』で変更可能です\n"
    "※精度が小さいほど処理時間も大きくなります");
constexpr const char* kSearchRange = text::N_(
    "最大の探索画素範囲を 1～%d の範囲で指定します\n※値が大きいほど処理時間も大きくなります");
constexpr const char* kAlignTarget = text::N_(
    "自動ｱﾗｲﾒﾝﾄでｼﾌﾄする側の画像を指定します\n指定された側の最適ｼﾌﾄ位置が結果に表示されます");
constexpr const char* kResult = text::N_("自動ｱﾗｲﾒﾝﾄ実行の結果です");
constexpr const char* kRerun = text::N_("自動ｱﾗｲﾒﾝﾄを現在の条件で再実行します");
constexpr const char* kRunAtCursor =
    text::N_("現在の表示位置(ｶｰｿﾙ位置)を中心に指定画素\n範囲の情報で自動ｱﾗｲﾒﾝﾄ実行します");
}  // namespace help

// The criteria in selector order (index = criterion) with the description the help lists.
struct CriterionRow {
  const char* name;
  const char* description;
};
constexpr CriterionRow kCriteria[] = {{text::N_("高速"), text::N_("ＸＹ単位での合計差を基準")},
                                      {text::N_("標準"), text::N_("最小二乗誤差(SSD)を基準")}};

QString criterionHelp() {
  std::string text = text::tr(help::kCriterion);
  for (const CriterionRow& row : kCriteria) {
    text += text::format(text::tr("\n　%s：%s"), text::tr(row.name), text::tr(row.description));
  }
  return QString::fromStdString(text);
}

// The first row of the pad step selector, before "1/2" .. "1/n".
constexpr const char* kWholePixelStep = text::N_("1画素単位");

constexpr std::array<ShiftDirection, 4> kDirectionOrder{ShiftDirection::Left, ShiftDirection::Right,
                                                        ShiftDirection::Up, ShiftDirection::Down};
constexpr const char* kDirectionTexts[] = {"←", "→", "↑", "↓"};
constexpr const char* kDirectionNames[] = {"shiftLeft", "shiftRight", "shiftUp", "shiftDown"};

int directionFlag(const ShiftSetting& setting, ShiftDirection direction) {
  switch (direction) {
    case ShiftDirection::Left:
      return setting.left;
    case ShiftDirection::Right:
      return setting.right;
    case ShiftDirection::Up:
      return setting.up;
    case ShiftDirection::Down:
      return setting.down;
  }
  return 0;
}

// Index of 2^power in the lists "1/2", "1/4", ...: power - 1.
int powerOfTwo(int value) {
  int power = 0;
  while ((1 << (power + 1)) <= value) ++power;
  return power;
}

}  // namespace

PictureControlWindow::PictureControlWindow(Workbench& bench, UserPort& user, BusyPort& busy,
                                           ProgressPort& progress, QWidget* parent)
    : QWidget(parent), bench_(bench), user_(user), busy_(busy), progress_(progress) {
  setObjectName("PictureControl");
  setFixedSize(kWidth, kHeight);
  setCompactFont(this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(2);
  auto* validGroup = new QGroupBox(ui(text::N_("有効範囲情報")), this);
  auto* manualGroup = new QGroupBox(this);
  auto* alignmentGroup = new QGroupBox(ui(text::N_("ｱﾗｲﾒﾝﾄ情報")), this);
  layout->addWidget(validGroup);
  layout->addWidget(manualGroup);
  layout->addWidget(alignmentGroup);
  buildValidRange(validGroup);
  buildManualShift(manualGroup);
  buildAlignment(alignmentGroup);
  fitFields();
  returnFocusAfterActions(this);
  returnFocusAfterPresses(this);
  bench_.addListener(this);
  refresh();
}

PictureControlWindow::~PictureControlWindow() {
  bench_.removeListener(this);
}

template <typename Change>
void PictureControlWindow::run(Change change) {
  readRangeEdits();
  if (change() && bench_.pictures.picturesPresent) {
    refreshPictures(bench_, user_, busy_, progress_);  // tells this window through the listener
  } else {
    refresh();
  }
}

void PictureControlWindow::buildValidRange(QWidget* group) {
  auto* grid = compactGrid(group);
  validKinds_ = new QButtonGroup(this);
  constexpr const char* kKindTexts[] = {text::N_("全て有効"), text::N_("範囲指定"),
                                        text::N_("外枠から")};
  constexpr const char* kKindNames[] = {"validWhole", "validRectangle", "validMargin"};
  constexpr const char* kKindHelp[] = {help::kWhole, help::kRectangle, help::kMargin};
  for (int kind = 0; kind < 3; ++kind) {
    QRadioButton* radio = radioButton(group, kKindTexts[kind], kKindNames[kind], kKindHelp[kind]);
    validKinds_->addButton(radio, kind);
    grid->addWidget(radio, 0, kind * 2, 1, 2);
  }
  pictureWidth_ = lineEdit(group, "pictureWidth", help::kWidth, true);
  pictureHeight_ = lineEdit(group, "pictureHeight", help::kHeight, true);
  grid->addWidget(pictureWidth_, 0, 6);
  grid->addWidget(pictureHeight_, 0, 7);

  constexpr const char* kCornerNames[] = {"rectLeft", "rectTop", "rectRight", "rectBottom"};
  for (std::size_t index = 0; index < 4; ++index) {
    rectangle_[index] = lineEdit(group, kCornerNames[index],
                                 index < 2 ? help::kTopLeft : help::kBottomRight, false);
  }
  takeTopLeft_ = pushButton(group, "≪", "takeTopLeft", help::kTakeCursor);
  takeBottomRight_ = pushButton(group, "≪", "takeBottomRight", help::kTakeCursor);
  grid->addWidget(rectangle_[0], 1, 0);
  grid->addWidget(rectangle_[1], 1, 1);
  grid->addWidget(takeTopLeft_, 1, 2);
  grid->addWidget(rectangle_[2], 1, 4);
  grid->addWidget(rectangle_[3], 1, 5);
  grid->addWidget(takeBottomRight_, 1, 6);

  margin_ = lineEdit(group, "marginEdit", help::kMarginEdit, false);
  validApply_ = pushButton(group, text::N_("適用"), "validApply", help::kApply);
  grid->addWidget(margin_, 2, 0);
  grid->addWidget(plainLabel(group, text::N_("画素を除く範囲")), 2, 1, 1, 4);
  grid->addWidget(validApply_, 2, 6, 1, 2);

  connect(validKinds_, &QButtonGroup::idClicked, this, [this](int kind) {
    run([&] { return selectValidRangeKind(bench_.control.validRange, kind); });
  });
  const auto takeCursor = [this](std::size_t first) {
    run([&] {
      rectangle_[first]->setText(QString::number(bench_.view.centreX));
      rectangle_[first + 1]->setText(QString::number(bench_.view.centreY));
      return false;
    });
  };
  connect(takeTopLeft_, &QPushButton::clicked, this, [takeCursor] { takeCursor(0); });
  connect(takeBottomRight_, &QPushButton::clicked, this, [takeCursor] { takeCursor(2); });
  connect(validApply_, &QPushButton::clicked, this, [this] {
    run([&] {
      if (!bench_.pictures.picturesPresent) return false;
      shownOnce_ = false;  // show the corrected values even when the record did not change
      ValidRangeSetting& setting = bench_.control.validRange;
      const Rect& stored = setting.rectangle;
      setValidRectangle(setting, entryValue(editText(rectangle_[0]), stored.left),
                        entryValue(editText(rectangle_[1]), stored.top),
                        entryValue(editText(rectangle_[2]), stored.right),
                        entryValue(editText(rectangle_[3]), stored.bottom), bench_.pictures.width,
                        bench_.pictures.height);
      setValidMargin(setting, entryValue(editText(margin_), setting.margin));
      return true;
    });
  });
}

void PictureControlWindow::buildManualShift(QWidget* group) {
  // One grid, so that its rows share the height evenly: the switch, targets and directions; the
  // amounts with the pad and its step on their right; a row per mark, whose two texts span
  // several columns each as they need most of the width; the reference. The first and last rows
  // are rows of their own across the grid, so that their controls do not widen its columns.
  auto* grid = compactGrid(group);
  const auto spanningRow = [grid](int row) {
    auto* line = new QHBoxLayout;
    line->setSpacing(2);
    grid->addLayout(line, row, 0, 1, 9);
    return line;
  };
  buildShiftSwitches(group, spanningRow(0));
  buildShiftAmounts(group, grid);
  buildShiftMarks(group, grid);
  buildReference(group, spanningRow(5));
}

void PictureControlWindow::buildShiftSwitches(QWidget* group, QHBoxLayout* top) {
  manual_ = checkBox(group, text::N_("手動"), "manual", help::kManual);
  manualTarget_ = new QButtonGroup(this);
  QRadioButton* target1 = radioButton(group, text::N_("１"), "manualTarget1", help::kManualTarget);
  QRadioButton* target2 = radioButton(group, text::N_("２"), "manualTarget2", help::kManualTarget);
  manualTarget_->addButton(target1, 0);
  manualTarget_->addButton(target2, 1);
  top->addWidget(manual_);
  top->addWidget(target1);
  top->addWidget(target2);
  top->addStretch(1);
  for (std::size_t index = 0; index < 4; ++index) {
    directionButtons_[index] =
        pushButton(group, kDirectionTexts[index], kDirectionNames[index], help::kAmounts);
    directionButtons_[index]->setCheckable(true);
    top->addWidget(directionButtons_[index]);
    const ShiftDirection direction = kDirectionOrder[index];
    connect(directionButtons_[index], &QPushButton::clicked, this, [this, direction](bool down) {
      run([&] {
        setDirectionButton(bench_.control.manual.setting, direction, down);
        return bench_.control.manual.enabled;
      });
    });
  }
  connect(manual_, &QCheckBox::clicked, this,
          [this](bool on) { run([&] { return setManualShiftEnabled(bench_.control, on); }); });
  connect(manualTarget_, &QButtonGroup::idClicked, this,
          [this](int target) { run([&] { return setManualTarget(bench_.control, target); }); });
}

void PictureControlWindow::buildShiftAmounts(QWidget* group, QGridLayout* grid) {
  wholeX_ = lineEdit(group, "wholeX", help::kAmounts, false);
  wholeY_ = lineEdit(group, "wholeY", help::kAmounts, false);
  stepsX_ = comboBox(group, "stepsX", help::kAmounts);
  stepsY_ = comboBox(group, "stepsY", help::kAmounts);
  divisionLabel_ = plainLabel(group, "");
  divisionLabel_->setObjectName("divisionLabel");
  auto* apply = pushButton(group, text::N_("適用"), "manualApply", help::kApply);
  auto* clear = pushButton(group, text::N_("ｸﾘｱ"), "manualClear", help::kClear);
  grid->addWidget(plainLabel(group, "X"), 1, 0);
  grid->addWidget(wholeX_, 1, 1);
  grid->addWidget(plainLabel(group, "+"), 1, 2);
  grid->addWidget(stepsX_, 1, 3);
  grid->addWidget(divisionLabel_, 1, 4, 2, 1);
  grid->addWidget(apply, 1, 5);
  grid->addWidget(plainLabel(group, "Y"), 2, 0);
  grid->addWidget(wholeY_, 2, 1);
  grid->addWidget(plainLabel(group, "+"), 2, 2);
  grid->addWidget(stepsY_, 2, 3);
  grid->addWidget(clear, 2, 5);
  grid->setColumnStretch(6, 1);
  pad_ = new DirectionPad(group);
  pad_->setObjectName("shiftPad");
  setQuickHelp(pad_, ui(help::kPad));
  padStep_ = comboBox(group, "padStep", help::kPadStep);
  grid->addWidget(pad_, 1, 7, 2, 1, Qt::AlignCenter);
  grid->addWidget(padStep_, 1, 8);

  connect(apply, &QPushButton::clicked, this, [this] {
    run([&] {
      shownOnce_ = false;  // show the corrected values even when the record did not change
      ShiftSetting& setting = bench_.control.manual.setting;
      applyAmountEdits(setting, entryValue(editText(wholeX_), setting.wholeX),
                       entryValue(editText(wholeY_), setting.wholeY), stepsX_->currentIndex(),
                       stepsY_->currentIndex(), shiftContext());
      return bench_.control.manual.enabled;
    });
  });
  connect(clear, &QPushButton::clicked, this, [this] {
    run([&] {
      clearShift(bench_.control.manual.setting);
      return bench_.control.manual.enabled;
    });
  });
  connect(padStep_, &QComboBox::activated, this, [this](int index) {
    run([&] {
      selectPadStep(bench_.control, index);
      return false;
    });
  });
  connect(pad_, &DirectionPad::directionPressed, this, [this](ShiftDirection direction) {
    run([&] { return pressDirectionPad(bench_.control, direction, shiftContext()); });
  });
}

void PictureControlWindow::buildShiftMarks(QWidget* group, QGridLayout* grid) {
  for (std::size_t index = 0; index < 2; ++index) {
    const int row = 3 + static_cast<int>(index);
    const std::string number = std::to_string(index + 1);
    markRestore_[index] =
        pushButton(group, number.c_str(), ("markRestore" + number).c_str(), help::kMarkRestore);
    markStore_[index] = pushButton(group, "≪", ("markStore" + number).c_str(), help::kMarkStore);
    markTexts_[index][0] = lineEdit(group, ("markX" + number).c_str(), help::kMarkTexts, true);
    markTexts_[index][1] = lineEdit(group, ("markY" + number).c_str(), help::kMarkTexts, true);
    grid->addWidget(markRestore_[index], row, 0);
    grid->addWidget(markStore_[index], row, 1);
    grid->addWidget(markTexts_[index][0], row, 2, 1, 4);
    grid->addWidget(markTexts_[index][1], row, 6, 1, 3);
    const int mark = static_cast<int>(index);
    connect(markStore_[index], &QPushButton::clicked, this, [this, mark] {
      run([&] {
        storeMark(bench_.control, mark);
        return false;
      });
    });
    connect(markRestore_[index], &QPushButton::clicked, this, [this, mark] {
      run([&] { return restoreMark(bench_.control, mark) && bench_.control.manual.enabled; });
    });
  }
}

void PictureControlWindow::buildReference(QWidget* group, QHBoxLayout* reference) {
  // The reference "S" on the left of the copy button.
  referenceShift_ = pushButton(group, "S", "referenceShift", help::kReferenceShift);
  referenceStore_ = pushButton(group, "≪", "referenceStore", help::kReferenceStore);
  reference_[0] = lineEdit(group, "referenceX", help::kReferenceFields, true);
  reference_[1] = lineEdit(group, "referenceY", help::kReferenceFields, true);
  copyAutomatic_ =
      pushButton(group, text::N_("自動結果をｺﾋﾟｰ"), "copyAutomatic", help::kCopyAutomatic);
  reference->addWidget(referenceShift_);
  reference->addWidget(referenceStore_);
  reference->addWidget(reference_[0]);
  reference->addWidget(reference_[1]);
  reference->addStretch(1);
  reference->addWidget(copyAutomatic_);

  connect(referenceStore_, &QPushButton::clicked, this, [this] {
    run([&] {
      if (bench_.pictures.picturesPresent) {
        storeReference(bench_.control, bench_.view.centreX, bench_.view.centreY);
      }
      return false;
    });
  });
  connect(referenceShift_, &QPushButton::clicked, this, [this] {
    run([&] {
      return bench_.pictures.picturesPresent &&
             shiftReferenceToCursor(bench_.control, bench_.view.centreX, bench_.view.centreY,
                                    shiftContext()) &&
             bench_.control.manual.enabled;
    });
  });
  connect(copyAutomatic_, &QPushButton::clicked, this, [this] {
    run([&] {
      return copyAlignmentResult(bench_.control, shiftContext()) && bench_.control.manual.enabled;
    });
  });
}

void PictureControlWindow::buildAlignment(QWidget* group) {
  auto* grid = compactGrid(group);
  automatic_ = checkBox(group, text::N_("自動"), "automatic", help::kAutomatic);
  criterion_ = comboBox(group, "criterion", nullptr);
  setQuickHelp(criterion_, criterionHelp());
  for (const CriterionRow& row : kCriteria) criterion_->addItem(ui(row.name));
  precision_ = comboBox(group, "precision", help::kPrecision);
  grid->addWidget(automatic_, 0, 0, 1, 2);
  grid->addWidget(plainLabel(group, text::N_("種別")), 0, 2);
  grid->addWidget(criterion_, 0, 3, 1, 2);
  grid->addWidget(plainLabel(group, text::N_("精度")), 0, 5);
  grid->addWidget(precision_, 0, 6, 1, 2);

  const QString rangeHelp =
      QString::fromStdString(text::format(text::tr(help::kSearchRange), kMaxAlignmentRange));
  searchRange_ = lineEdit(group, "searchRange", nullptr, false);
  setQuickHelp(searchRange_, rangeHelp);
  alignTarget_ = new QButtonGroup(this);
  QRadioButton* target1 = radioButton(group, text::N_("１"), "alignTarget1", help::kAlignTarget);
  QRadioButton* target2 = radioButton(group, text::N_("２"), "alignTarget2", help::kAlignTarget);
  alignTarget_->addButton(target1, 0);
  alignTarget_->addButton(target2, 1);
  grid->addWidget(plainLabel(group, text::N_("検索範囲")), 1, 0, 1, 2);
  grid->addWidget(plainLabel(group, "±"), 1, 2);
  grid->addWidget(searchRange_, 1, 3);
  grid->addWidget(plainLabel(group, text::N_("画素")), 1, 4);
  grid->addWidget(plainLabel(group, text::N_("ｼﾌﾄ画像")), 1, 5);
  grid->addWidget(target1, 1, 6);
  grid->addWidget(target2, 1, 7);

  cursorRange_ = lineEdit(group, "cursorRange", nullptr, false);
  runAtCursor_ = pushButton(group, text::N_("実行"), "runAtCursor", help::kRunAtCursor);
  rerun_ = pushButton(group, text::N_("再実行"), "rerun", help::kRerun);
  grid->addWidget(plainLabel(group, text::N_("ｶｰｿﾙ位置を中心に±")), 2, 0, 1, 3);
  grid->addWidget(cursorRange_, 2, 3);
  grid->addWidget(plainLabel(group, text::N_("画素範囲で")), 2, 4, 1, 2);
  grid->addWidget(runAtCursor_, 2, 6);
  grid->addWidget(rerun_, 2, 7);
  result_ = lineEdit(group, "alignmentResult", help::kResult, true);
  grid->addWidget(result_, 3, 0, 1, 8);

  connect(automatic_, &QCheckBox::clicked, this,
          [this](bool on) { run([&] { return setAlignmentEnabled(bench_.control, on); }); });
  connect(criterion_, &QComboBox::activated, this,
          [this](int index) { run([&] { return setAlignmentCriterion(bench_.control, index); }); });
  connect(precision_, &QComboBox::activated, this, [this](int index) {
    run([&] { return setAlignmentPrecision(bench_.control, 2 << index, division()); });
  });
  connect(alignTarget_, &QButtonGroup::idClicked, this,
          [this](int target) { run([&] { return setAlignmentTarget(bench_.control, target); }); });
  connect(rerun_, &QPushButton::clicked, this, [this] {
    run([&] { return bench_.pictures.picturesPresent && rerunAlignment(bench_.control); });
  });
  connect(runAtCursor_, &QPushButton::clicked, this, [this] {
    run([&] {
      if (!bench_.pictures.picturesPresent || !bench_.control.alignment.enabled) return false;
      requestCursorSearch(bench_.control, bench_.view.centreX, bench_.view.centreY);
      return true;
    });
  });
}

void PictureControlWindow::readRangeEdits() {
  AlignmentSettings& alignment = bench_.control.alignment;
  alignment.range = correctedAlignmentRange(entryValue(editText(searchRange_), alignment.range));
  // Without pictures the largest picture the store holds bounds the cursor range.
  const bool present = bench_.pictures.picturesPresent;
  alignment.cursorRange =
      correctedCursorRange(entryValue(editText(cursorRange_), alignment.cursorRange),
                           present ? bench_.pictures.width : bench_.store.maxWidth(),
                           present ? bench_.pictures.height : bench_.store.maxHeight());
  // Show the corrected values at once.
  shownRanges_ = {-1, -1};
}

int PictureControlWindow::division() const {
  return isAllowedDivision(bench_.options.ShiftUnit) ? bench_.options.ShiftUnit : 16;
}

ShiftContext PictureControlWindow::shiftContext() const {
  return {bench_.pictures.picturesPresent, bench_.pictures.width, bench_.pictures.height,
          division()};
}

void PictureControlWindow::fillDivisionLists() {
  const int n = division();
  if (n == listedDivision_) return;
  listedDivision_ = n;
  shownOnce_ = false;  // the refilled selectors must show the amounts again
  const QSignalBlocker blockX(stepsX_), blockY(stepsY_), blockPad(padStep_),
      blockPrecision(precision_);
  stepsX_->clear();
  stepsY_->clear();
  for (int step = 0; step < n; ++step) {
    stepsX_->addItem(QString::number(step));
    stepsY_->addItem(QString::number(step));
  }
  padStep_->clear();
  precision_->clear();
  padStep_->addItem(ui(kWholePixelStep));
  for (int k = 2; k <= n; k *= 2) {
    padStep_->addItem(QString("1/%1").arg(k));
    precision_->addItem(QString("1/%1").arg(k));
  }
  divisionLabel_->setText(QString("/%1").arg(n));
}

void PictureControlWindow::fitFields() {
  // The longest texts: a picture side (sizes, corners, margins, amounts, the reference, the
  // cursor range), the sub-steps of the finest shift unit, and a mark of both as the core
  // writes it.
  const int side = largestPictureSide();
  const int finest = static_cast<int>(optionNamed("ShiftUnit").high);
  const QString sideText = widestNumber(this, side);
  for (QLineEdit* edit :
       {rectangle_[0], rectangle_[1], rectangle_[2], rectangle_[3], margin_, wholeX_, wholeY_,
        cursorRange_, pictureWidth_, pictureHeight_, reference_[0], reference_[1]}) {
    fitEdit(edit, sideText);
  }
  fitEdit(searchRange_, widestNumber(this, kMaxAlignmentRange));
  QStringList marks;
  for (int target = 0; target < 2; ++target) {
    for (int direction = 1; direction <= 2; ++direction) {
      const ShiftMark mark{1, target, direction, side, finest - 1, direction, side, finest - 1};
      for (const std::string& text : markTexts(mark)) marks.push_back(QString::fromStdString(text));
    }
  }
  const QString widestMark = widestText(this, marks);
  for (const auto& texts : markTexts_) {
    for (QLineEdit* edit : texts) fitEdit(edit, widestMark);
  }
  for (QComboBox* steps : {stepsX_, stepsY_}) fitSelector(steps, widestNumber(this, finest - 1));
  const QString finestText = QString("1/%1").arg(finest);
  fitSelector(padStep_, widestText(this, {ui(kWholePixelStep), finestText}));
  fitSelector(precision_, finestText);
  QStringList criteria;
  for (const CriterionRow& row : kCriteria) criteria.push_back(ui(row.name));
  fitSelector(criterion_, widestText(this, criteria));
  divisionLabel_->setMinimumWidth(
      divisionLabel_->fontMetrics().horizontalAdvance("/" + QString::number(finest)));
  for (QPushButton* button : {takeTopLeft_, takeBottomRight_, markStore_[0], markStore_[1],
                              markRestore_[0], markRestore_[1], referenceShift_, referenceStore_}) {
    fitButton(button);
  }
}

void PictureControlWindow::refresh() {
  const PictureControlState& control = bench_.control;
  const bool present = bench_.pictures.picturesPresent;
  fillDivisionLists();

  validKinds_->button(std::clamp(control.validRange.kind, 0, 2))->setChecked(true);
  pictureWidth_->setText(present ? QString::number(bench_.pictures.width) : QString());
  pictureHeight_->setText(present ? QString::number(bench_.pictures.height) : QString());
  if (!shownOnce_ || control.validRange != shownValidRange_) {
    const Rect& rect = control.validRange.rectangle;
    const std::array<int, 4> corners{rect.left, rect.top, rect.right, rect.bottom};
    for (std::size_t index = 0; index < 4; ++index) {
      rectangle_[index]->setText(QString::number(corners[index]));
    }
    margin_->setText(QString::number(control.validRange.margin));
    shownValidRange_ = control.validRange;
  }

  const ManualShift& manual = control.manual;
  manual_->setChecked(manual.enabled);
  manualTarget_->button(manual.target == 0 ? 0 : 1)->setChecked(true);
  for (std::size_t index = 0; index < 4; ++index) {
    directionButtons_[index]->setChecked(directionFlag(manual.setting, kDirectionOrder[index]) !=
                                         0);
  }
  if (!shownOnce_ || manual.setting != shownSetting_) {
    wholeX_->setText(QString::number(manual.setting.wholeX));
    wholeY_->setText(QString::number(manual.setting.wholeY));
    stepsX_->setCurrentIndex(manual.setting.stepsX);
    stepsY_->setCurrentIndex(manual.setting.stepsY);
    shownSetting_ = manual.setting;
  }
  // Until pictures are prepared the record may hold steps finer than the division (after a
  // start with a coarser "ShiftUnit"); the selectors show what that preparation corrects them to.
  const int n = division();
  padStep_->setCurrentIndex(manual.padStep <= 0 ? 0 : powerOfTwo(std::clamp(manual.padStep, 2, n)));
  for (std::size_t index = 0; index < 2; ++index) {
    const std::array<std::string, 2> texts = markTexts(control.marks[index]);
    markTexts_[index][0]->setText(QString::fromStdString(texts[0]));
    markTexts_[index][1]->setText(QString::fromStdString(texts[1]));
  }
  const std::array<std::string, 2> reference = referenceTexts(control.reference);
  reference_[0]->setText(QString::fromStdString(reference[0]));
  reference_[1]->setText(QString::fromStdString(reference[1]));

  const AlignmentSettings& alignment = control.alignment;
  automatic_->setChecked(alignment.enabled);
  criterion_->setCurrentIndex(alignment.criterion == kAlignStandard ? 1 : 0);
  precision_->setCurrentIndex(powerOfTwo(std::clamp(alignment.precision, 2, n)) - 1);
  alignTarget_->button(alignment.target == 0 ? 0 : 1)->setChecked(true);
  if (shownRanges_ != std::array<int, 2>{alignment.range, alignment.cursorRange}) {
    searchRange_->setText(QString::number(alignment.range));
    cursorRange_->setText(QString::number(alignment.cursorRange));
    shownRanges_ = {alignment.range, alignment.cursorRange};
  }
  result_->setText(
      QString::fromStdString(alignmentResultText(control.alignmentResult, control.alignmentKeys,
                                                 true)));
  shownOnce_ = true;

  // Without pictures these buttons have nothing to act on.
  for (QWidget* widget : std::initializer_list<QWidget*>{
           validApply_, takeTopLeft_, takeBottomRight_, referenceStore_, referenceShift_, pad_}) {
    widget->setEnabled(present);
  }
  referenceShift_->setEnabled(present && control.reference.valid);
  copyAutomatic_->setEnabled(control.alignmentResult.valid);
  rerun_->setEnabled(present && alignment.enabled);
  runAtCursor_->setEnabled(present && alignment.enabled);
}

}  // namespace vemla
