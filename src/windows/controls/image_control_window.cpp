#include "windows/controls/image_control_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>

#include "processing/colour_tables.h"
#include "processing/cursor_handover.h"
#include "processing/entry_value.h"
#include "processing/image_kinds.h"
#include "processing/view_rendering.h"
#include "text/format.h"
#include "windows/controls/direction_pad.h"
#include "windows/main/quick_help.h"
#include "windows/main/text_fit.h"
#include "windows/main/ui_text.h"
#include "windows/main/widget_factory.h"
#include "workbench/view/colour_controls.h"
#include "workbench/view/comparison_view.h"
#include "workbench/view/display_marks.h"
#include "workbench/view/kind_choices.h"
#include "workbench/view/refresh_chain.h"
#include "workbench/view/statistics_readout.h"
#include "workbench/view/view_controls.h"

namespace vemla {
namespace {

using namespace controls;

// Quick-help texts of the window's controls.
namespace help {
constexpr const char* kPosition =
    text::N_("現在の表示位置(ｶｰｿﾙ位置)です\n座標を入力した場合は[再表示]を\n押下して下さい");
constexpr const char* kRedisplay =
    text::N_("ｲﾒｰｼﾞの再表示を行います\nｷｰが入力不可となった場合は\nここを押下して下さい");
constexpr const char* kSaveCursor =
    text::N_("現在の表示位置(ｶｰｿﾙ位置)を退避します\nVemla間(多重起動)でも受け渡しが可能です");
constexpr const char* kLoadCursor = text::N_(
    "退避されている表示位置(ｶｰｿﾙ位置)を回復します\nVemla間(多重起動)でも受け渡しが可能です");
constexpr const char* kCursorShown = text::N_("ｶｰｿﾙの表示有無を切り替えます");
constexpr const char* kFineMovement = text::N_(
    "表示位置(ｶｰｿﾙ位置)の粗動移動/微動移動を切り替え\nます（粗動：画素単位、微動：１/"
    "表示倍率単位）\n"
    "移動ﾎﾞﾀﾝ(右のﾎﾞﾀﾝ)またはｷｰﾎﾞｰﾄﾞのｶｰｿﾙｷｰで\n表示位置が移動します");
constexpr const char* kCursorPad =
    text::N_("押下した方向に表示位置(ｶｰｿﾙ位置)が移動します\nｷｰﾎﾞｰﾄﾞのｶｰｿﾙｷｰでも移動ができます");
constexpr const char* kBlankInvalid =
    text::N_("画像処理されて無効となった領域の\n表示有無を切り替えます");
constexpr const char* kMarkRestore = text::N_("記憶(ﾏｰｸ)された表示位置を回復します");
constexpr const char* kMarkStore = text::N_("現在の表示位置(ｶｰｿﾙ位置)を記憶(ﾏｰｸ)します");
constexpr const char* kMarkTexts = text::N_("記憶(ﾏｰｸ)された表示位置です");
constexpr const char* kMaxButton =
    text::N_("画像処理されたｲﾒｰｼﾞの持つ最大階調値\nの座標へ表示位置を切り替えます");
constexpr const char* kMinButton =
    text::N_("画像処理されたｲﾒｰｼﾞの持つ最小階調値\nの座標へ表示位置を切り替えます");
constexpr const char* kStatistics[] = {text::N_("画像処理されたｲﾒｰｼﾞの持つ最大階調値です"),
                                       text::N_("画像処理されたｲﾒｰｼﾞの持つ最小階調値です"),
                                       text::N_("画像処理されたｲﾒｰｼﾞの平均階調値です"),
                                       text::N_("画像処理されたｲﾒｰｼﾞの階調合計値です")};
constexpr const char* kGrid =
    text::N_("ｸﾞﾘｯﾄﾞの表示有無を切り替えます\n表示色は『ｵﾌﾟｼｮﾝ情報-色の設定』で変更可能です");
constexpr const char* kGridWidth = text::N_("ｸﾞﾘｯﾄﾞの表示幅を切り替えます");
constexpr const char* kGridPad = text::N_("押下した方向にｸﾞﾘｯﾄﾞが移動します");
constexpr const char* kBlink = text::N_(
    "ｲﾒｰｼﾞを画像1と画像2の交互表示に切り替えます\n速さ(回/秒)で切り替わり、ｲﾒｰｼﾞ上のｽﾍﾟｰｽｷｰでも\n"
    "切り替わります\n再度押下すると元の表示内容に戻ります");
constexpr const char* kSwipe = text::N_(
    "ｲﾒｰｼﾞを画像1と画像2の分割表示に切り替えます\n境界線はﾏｳｽのﾄﾞﾗｯｸﾞまたはShift+←/→で移動します\n"
    "再度押下すると元の表示内容に戻ります");
constexpr const char* kBlinkRate =
    text::N_("交互表示の速さ(1秒あたりの切り替え回数)です\n0.5～10で指定します");
constexpr const char* kKindSelectors[] = {
    text::N_("ｲﾒｰｼﾞ1に表示する内容（画像処理種別）を切り替えます"),
    text::N_("ｲﾒｰｼﾞ2に表示する内容（画像処理種別）を切り替えます")};
constexpr const char* kMagnification = text::N_(
    "ｲﾒｰｼﾞの表示拡大倍率を指定します\n画像のｻｲｽﾞがｲﾒｰｼﾞ表示ｳｨﾝﾄﾞｳのｻｲｽﾞより大きい場合は\n"
    "縮小(縮小率は自動)して表示する事が可能になります\n※ﾏｳｽﾎｲｰﾙの回転でも表示倍率の変更が可能です");
constexpr const char* kZoomButton = text::N_("ｲﾒｰｼﾞを %d倍に拡大表示します");
constexpr const char* kInterpolation = text::N_(
    "ｲﾒｰｼﾞを拡大する時の画素間の補間方法を指定します\n補間方法は『ｵﾌﾟｼｮﾝ情報-"
    "画像関連』で変更可能です");
constexpr const char* kColour = text::N_("ｶﾗｰ表示有無を切り替えます");
constexpr const char* kPalette = text::N_("階調値とｶﾗｰの対応を表示します");
constexpr const char* kColourSelector = text::N_(
    "ｶﾗｰ表示ｵﾝ時のｶﾗｰ種別を切り替えます\nｲﾒｰｼﾞに表示される内容ごとにｶﾗｰ種別は\n関連付けされます");
constexpr const char* kColourCopy = text::N_("ｲﾒｰｼﾞ1とｲﾒｰｼﾞ2間でｶﾗｰ種別をｺﾋﾟｰします");
constexpr const char* kIntensity =
    text::N_("表示強度を切り替えます\nｶﾗｰ種別ごとに関連付けされます");
constexpr const char* kBrightness =
    text::N_("表示輝度を切り替えます\nｶﾗｰ種別ごとに関連付けされます");
constexpr const char* kRangeOn =
    text::N_("範囲抽出の表示有無を切り替えます\n表示色は『ｵﾌﾟｼｮﾝ情報-色の設定』で変更可能です");
constexpr const char* kRangeLinked =
    text::N_("範囲抽出の下位と上位の値が\nｲﾒｰｼﾞ1とｲﾒｰｼﾞ2で連動します");
constexpr const char* kLower = text::N_("範囲抽出する下位(下限)の値を指定します");
constexpr const char* kUpper = text::N_("範囲抽出する上位(上限)の値を指定します");
constexpr const char* kRangeCopy = text::N_("ｲﾒｰｼﾞ1とｲﾒｰｼﾞ2間で抽出範囲の情報をｺﾋﾟｰします");
constexpr const char* kRangeClear = text::N_("抽出範囲を0～255に初期化します");
}  // namespace help

// The magnification buttons "Ｘ１" .. "Ｘ64".
struct ZoomButton {
  const char* text;
  int magnification;
};
constexpr ZoomButton kZoomButtons[] = {
    {text::N_("Ｘ１"), 1},  {text::N_("Ｘ２"), 2},  {text::N_("Ｘ４"), 4}, {text::N_("Ｘ８"), 8},
    {text::N_("Ｘ16"), 16}, {text::N_("Ｘ32"), 32}, {text::N_("Ｘ64"), 64}};

CursorDirection cursorDirectionOf(ShiftDirection direction) {
  switch (direction) {
    case ShiftDirection::Left:
      return CursorDirection::Left;
    case ShiftDirection::Right:
      return CursorDirection::Right;
    case ShiftDirection::Up:
      return CursorDirection::Up;
    case ShiftDirection::Down:
      return CursorDirection::Down;
  }
  return CursorDirection::Up;
}

QHBoxLayout* row(QVBoxLayout* layout) {
  auto* line = new QHBoxLayout;
  line->setSpacing(2);
  layout->addLayout(line);
  return line;
}

// A slider that may become as narrow as the window needs.
QSlider* narrowSlider(QWidget* parent, const std::string& name, const char* help, int minimum,
                      int maximum) {
  QSlider* control = slider(parent, QString::fromStdString(name), minimum, maximum, help);
  control->setMinimumWidth(0);
  return control;
}

// Replaces the rows of a selector when the names changed, widening it for the widest, then
// selects `current` (-1: none).
void showChoices(QComboBox* selector, std::vector<std::string>& listed,
                 const std::vector<std::string>& names, int current) {
  const QSignalBlocker block(selector);
  if (names != listed) {
    selector->clear();
    QStringList texts;
    for (const std::string& name : names) texts.push_back(QString::fromStdString(name));
    selector->addItems(texts);
    fitSelector(selector, widestText(selector, texts));
    listed = names;
  }
  selector->setCurrentIndex(current);
}

void showValue(QAbstractSlider* control, int value) {
  const QSignalBlocker block(control);
  control->setValue(value);
}

}  // namespace

// ---------------------------------------------------------------------------------------------

StepArrows::StepArrows(QWidget* parent) : QAbstractSpinBox(parent) {
  setFixedWidth(18);
  setButtonSymbols(QAbstractSpinBox::UpDownArrows);
}

void StepArrows::stepBy(int steps) {
  if (steps != 0) emit stepped(steps > 0);
}

RangeSpin::RangeSpin(QWidget* parent) : QSpinBox(parent) {
  setRange(0, 255);
  setKeyboardTracking(false);
}

void RangeSpin::stepBy(int steps) {
  QSpinBox::stepBy(steps * steps_.next());
}

void RangeSpin::mouseReleaseEvent(QMouseEvent* event) {
  steps_.release();
  QSpinBox::mouseReleaseEvent(event);
}

void RangeSpin::keyReleaseEvent(QKeyEvent* event) {
  if (!event->isAutoRepeat()) steps_.release();
  QSpinBox::keyReleaseEvent(event);
}

void RangeSpin::focusOutEvent(QFocusEvent* event) {
  steps_.release();
  QSpinBox::focusOutEvent(event);
}

// ---------------------------------------------------------------------------------------------

ImageControlWindow::ImageControlWindow(Workbench& bench, UserPort& user, BusyPort& busy,
                                       ProgressPort& progress, QWidget* parent)
    : QWidget(parent), bench_(bench), user_(user), busy_(busy), progress_(progress) {
  setObjectName("ImageControl");
  setFixedSize(kWidth, kHeight);
  setCompactFont(this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(3, 3, 3, 3);
  layout->setSpacing(2);
  buildMagnification(this, buildKinds(this));
  buildComparison(this);
  buildPosition(this);
  buildStatistics(this);
  buildColours(this);
  buildRanges(this);
  layout->addStretch(1);
  returnFocusAfterActions(this);
  returnFocusAfterPresses(this);
  bench_.addListener(this);
  refresh();
}

ImageControlWindow::~ImageControlWindow() {
  bench_.removeListener(this);
}

QHBoxLayout* ImageControlWindow::buildKinds(QWidget* area) {
  auto* layout = static_cast<QVBoxLayout*>(area->layout());
  QHBoxLayout* first = row(layout);
  QHBoxLayout* second = row(layout);
  const auto rowOf = [&](ImageSlot image) { return image == ImageSlot::First ? first : second; };
  // The kinds that have a button, in table order, each in the row the table gives it.
  for (int kind = 0; kind < kBuiltInKindCount; ++kind) {
    const ImageKindInfo& entry = imageKindTable()[static_cast<std::size_t>(kind)];
    if (entry.buttonText == nullptr) continue;
    const ImageSlot image = entry.buttonRow;
    QPushButton* button = pushButton(
        area, entry.buttonText, ("kindButton" + std::to_string(kind)).c_str(), entry.buttonHelp);
    fitButton(button);
    rowOf(image)->addWidget(button);
    connect(button, &QPushButton::clicked, this,
            [this, image, kind] { setImageKind(bench_, image, kind, 0, user_, busy_, progress_); });
  }
  for (ImageSlot image : kImageSlots) {
    const std::size_t at = index(image);
    kindSelectors_[at] = comboBox(area, ("kindSelector" + std::to_string(number(image))).c_str(),
                                  help::kKindSelectors[at]);
    rowOf(image)->addWidget(kindSelectors_[at], 1);
    connect(kindSelectors_[at], &QComboBox::activated, this, [this, image](int choice) {
      selectKindChoice(bench_, image, choice, user_, busy_, progress_);
      refresh();
    });
  }
  return first;
}

void ImageControlWindow::buildComparison(QWidget* area) {
  QHBoxLayout* line = row(static_cast<QVBoxLayout*>(area->layout()));
  for (ImageSlot image : kImageSlots) {
    const std::size_t at = index(image);
    const std::string digit = std::to_string(number(image));
    line->addWidget(
        plainLabel(area, image == ImageSlot::First ? text::N_("ｲﾒｰｼﾞ1") : text::N_("ｲﾒｰｼﾞ2")));
    const std::array<ComparisonMode, 2> modes{ComparisonMode::Blink, ComparisonMode::Swipe};
    for (std::size_t which = 0; which < modes.size(); ++which) {
      QPushButton* button =
          which == 0 ? pushButton(area, text::N_("交互"), ("blink" + digit).c_str(), help::kBlink)
                     : pushButton(area, text::N_("分割"), ("swipe" + digit).c_str(), help::kSwipe);
      button->setCheckable(true);
      fitButton(button);
      line->addWidget(button);
      comparisonButtons_[at][which] = button;
      connect(button, &QPushButton::clicked, this, [this, image, mode = modes[which]] {
        toggleComparisonMode(bench_, image, mode, user_, busy_, progress_);
        refresh();
      });
    }
    line->addSpacing(6);
  }
  line->addStretch(1);
  line->addWidget(plainLabel(area, text::N_("速さ")));
  blinkRate_ = new QDoubleSpinBox(area);
  blinkRate_->setObjectName("blinkRate");
  blinkRate_->setRange(kMinBlinkTenths / 10.0, kMaxBlinkTenths / 10.0);
  blinkRate_->setDecimals(1);
  blinkRate_->setSingleStep(0.5);
  blinkRate_->setKeyboardTracking(false);
  // As wide as its widest value in the window's font, with room for the arrows.
  blinkRate_->setFixedWidth(blinkRate_->sizeHint().width());
  setQuickHelp(blinkRate_, ui(help::kBlinkRate));
  line->addWidget(blinkRate_);
  line->addWidget(plainLabel(area, text::N_("回/秒")));
  connect(blinkRate_, &QDoubleSpinBox::valueChanged, this,
          [this](double rate) { setBlinkRate(bench_, static_cast<int>(rate * 10.0 + 0.5)); });
}

void ImageControlWindow::buildMagnification(QWidget* area, QHBoxLayout* first) {
  auto* layout = static_cast<QVBoxLayout*>(area->layout());
  first->addWidget(plainLabel(area, text::N_("倍率")));
  magnificationSlider_ = narrowSlider(area, "magnificationSlider", help::kMagnification, 0,
                                      kMagnificationSliderMaximum);
  magnificationValue_ = lineEdit(area, "magnificationValue", help::kMagnification, true);
  // The widest text is the reduced display's "1/" and ratio, which stays below the largest
  // side / 256 and has three decimals at most.
  const QString whole = widestNumber(area, largestPictureSide() / 256 - 1);
  fitEdit(magnificationValue_, "1/" + whole + "." + widestNumber(area, 999));
  magnificationSpin_ = new StepArrows(area);
  magnificationSpin_->setObjectName("magnificationSpin");
  setQuickHelp(magnificationSpin_, ui(help::kMagnification));
  first->addWidget(magnificationSlider_, 1);
  first->addWidget(magnificationValue_);
  first->addWidget(magnificationSpin_);
  connect(magnificationSlider_, &QSlider::valueChanged, this, [this](int value) {
    applyMagnificationSlider(bench_, value, user_, measurementToolOpen());
    refresh();
  });
  connect(magnificationSpin_, &StepArrows::stepped, this,
          [this](bool up) { stepMagnification(up); });

  QHBoxLayout* zoom = row(layout);
  std::vector<QPushButton*> zoomButtons;
  for (const ZoomButton& entry : kZoomButtons) {
    QPushButton* button = pushButton(
        area, entry.text, ("zoom" + std::to_string(entry.magnification)).c_str(), nullptr);
    setQuickHelp(button, QString::fromStdString(
                             text::format(text::tr(help::kZoomButton), entry.magnification)));
    zoom->addWidget(button);
    zoomButtons.push_back(button);
    const int magnification = entry.magnification;
    connect(button, &QPushButton::clicked, this,
            [this, magnification] { setMagnification(bench_, magnification); });
  }
  // One width for the row of buttons, the widest text's.
  int zoomWidth = 0;
  for (const QPushButton* button : zoomButtons) {
    zoomWidth = std::max(zoomWidth, button->minimumWidth());
  }
  for (QPushButton* button : zoomButtons) button->setFixedWidth(zoomWidth);
  interpolation_ = checkBox(area, text::N_("補間"), "interpolation", help::kInterpolation);
  blankInvalid_ = checkBox(area, text::N_("有効範囲"), "blankInvalid", help::kBlankInvalid);
  zoom->addWidget(interpolation_);
  zoom->addWidget(blankInvalid_);
  connect(interpolation_, &QCheckBox::clicked, this,
          [this](bool on) { setZoomInterpolation(bench_, on); });
  connect(blankInvalid_, &QCheckBox::clicked, this,
          [this](bool on) { setBlankInvalid(bench_, on, user_, busy_, progress_); });
}

void ImageControlWindow::buildPosition(QWidget* area) {
  auto* layout = static_cast<QVBoxLayout*>(area->layout());
  QHBoxLayout* position = row(layout);
  positionX_ = lineEdit(area, "positionX", help::kPosition, false);
  positionY_ = lineEdit(area, "positionY", help::kPosition, false);
  const QString coordinate = widestNumber(area, largestPictureSide());
  fitEdit(positionX_, coordinate);
  fitEdit(positionY_, coordinate);
  redisplay_ = pushButton(area, text::N_("再表示"), "redisplay", help::kRedisplay);
  saveCursor_ = pushButton(area, text::N_("＞"), "saveCursor", help::kSaveCursor);
  loadCursor_ = pushButton(area, text::N_("＜"), "loadCursor", help::kLoadCursor);
  cursorShown_ = checkBox(area, text::N_("ｶｰｿﾙ"), "cursorShown", help::kCursorShown);
  fineMovement_ = checkBox(area, text::N_("微動"), "fineMovement", help::kFineMovement);
  cursorPad_ = new DirectionPad(area);
  cursorPad_->setObjectName("cursorPad");
  setQuickHelp(cursorPad_, ui(help::kCursorPad));
  position->addWidget(plainLabel(area, "X"));
  position->addWidget(positionX_);
  position->addWidget(plainLabel(area, "Y"));
  position->addWidget(positionY_);
  position->addWidget(redisplay_);
  position->addWidget(saveCursor_);
  position->addWidget(loadCursor_);
  position->addWidget(cursorShown_);
  position->addWidget(fineMovement_);
  position->addWidget(cursorPad_);

  connect(redisplay_, &QPushButton::clicked, this, [this] {
    redisplay(entryValue(editText(positionX_), bench_.view.centreX),
              entryValue(editText(positionY_), bench_.view.centreY));
  });
  connect(saveCursor_, &QPushButton::clicked, this, [this] {
    saveCursorPosition(bench_.settings.folder, {bench_.view.centreX, bench_.view.centreY}, user_);
  });
  connect(loadCursor_, &QPushButton::clicked, this, [this] {
    const std::optional<HandedPosition> saved = loadCursorPosition(bench_.settings.folder);
    if (!saved) return;
    positionX_->setText(QString::number(saved->x));
    positionY_->setText(QString::number(saved->y));
    redisplay(saved->x, saved->y);
  });
  connect(cursorShown_, &QCheckBox::clicked, this, [this](bool on) { setCursorShown(bench_, on); });
  connect(fineMovement_, &QCheckBox::clicked, this, [this](bool on) {
    setFineMovement(bench_, on);
    refresh();
  });
  connect(cursorPad_, &DirectionPad::directionPressed, this, [this](ShiftDirection direction) {
    if (bench_.pictures.picturesPresent) moveCursor(bench_, cursorDirectionOf(direction), true);
  });
  buildMarks(area, layout);
}

void ImageControlWindow::buildMarks(QWidget* area, QVBoxLayout* layout) {
  // Two marks a row: four with their coordinates do not fit the window's width.
  const QString coordinate = widestNumber(area, largestPictureSide());
  auto* marks = new QGridLayout;
  marks->setHorizontalSpacing(2);
  marks->setVerticalSpacing(1);
  marks->setColumnStretch(8, 1);
  layout->addLayout(marks);
  for (std::size_t index = 0; index < markRestore_.size(); ++index) {
    const std::string number = std::to_string(index + 1);
    markStore_[index] = pushButton(area, "≪", ("markStore" + number).c_str(), help::kMarkStore);
    markRestore_[index] =
        pushButton(area, number.c_str(), ("markRestore" + number).c_str(), help::kMarkRestore);
    markTexts_[index][0] = lineEdit(area, ("markX" + number).c_str(), help::kMarkTexts, true);
    markTexts_[index][1] = lineEdit(area, ("markY" + number).c_str(), help::kMarkTexts, true);
    fitButton(markStore_[index]);
    fitButton(markRestore_[index]);
    const int line = static_cast<int>(index / 2);
    const int first = static_cast<int>(index % 2) * 4;
    const std::array<QWidget*, 4> parts{markStore_[index], markRestore_[index],
                                        markTexts_[index][0], markTexts_[index][1]};
    for (std::size_t part = 0; part < parts.size(); ++part) {
      if (part >= 2) fitEdit(static_cast<QLineEdit*>(parts[part]), coordinate);
      marks->addWidget(parts[part], line, first + static_cast<int>(part));
    }
    const int mark = static_cast<int>(index);
    connect(markStore_[index], &QPushButton::clicked, this, [this, mark] {
      if (bench_.pictures.picturesPresent) storeDisplayMark(bench_, mark);
      refresh();
    });
    connect(markRestore_[index], &QPushButton::clicked, this,
            [this, mark] { restoreDisplayMark(bench_, mark); });
  }
}

void ImageControlWindow::buildStatistics(QWidget* area) {
  auto* layout = static_cast<QVBoxLayout*>(area->layout());
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(2);
  grid->setVerticalSpacing(1);
  layout->addLayout(grid);
  for (ImageSlot image : kImageSlots) {
    const std::size_t at = index(image);
    const std::string digit = std::to_string(number(image));
    const int line = static_cast<int>(at);
    maxButtons_[at] = pushButton(area, "Max", ("max" + digit).c_str(), help::kMaxButton);
    minButtons_[at] = pushButton(area, "Min", ("min" + digit).c_str(), help::kMinButton);
    constexpr const char* kValueNames[] = {"maxValue", "minValue", "meanValue", "sumValue"};
    for (std::size_t value = 0; value < 4; ++value) {
      statistics_[at][value] =
          lineEdit(area, (kValueNames[value] + digit).c_str(), help::kStatistics[value], true);
    }
    for (QPushButton* button : {maxButtons_[at], minButtons_[at]}) fitButton(button);
    // Grey values, and the sum of the largest picture's values.
    for (std::size_t value = 0; value < 3; ++value) {
      fitEdit(statistics_[at][value], widestNumber(area, 255));
    }
    const long long side = largestPictureSide();
    fitEdit(statistics_[at][3], widestNumber(area, 255 * side * side));
    grid->addWidget(maxButtons_[at], line, 0);
    grid->addWidget(statistics_[at][0], line, 1);
    grid->addWidget(minButtons_[at], line, 2);
    grid->addWidget(statistics_[at][1], line, 3);
    grid->addWidget(plainLabel(area, "Ave"), line, 4);
    grid->addWidget(statistics_[at][2], line, 5);
    grid->addWidget(
        plainLabel(area, image == ImageSlot::First ? text::N_("合計1") : text::N_("合計2")), line,
        6);
    grid->addWidget(statistics_[at][3], line, 7);
    connect(maxButtons_[at], &QPushButton::clicked, this,
            [this, image] { moveCursorToExtreme(bench_, image, Extreme::Maximum); });
    connect(minButtons_[at], &QPushButton::clicked, this,
            [this, image] { moveCursorToExtreme(bench_, image, Extreme::Minimum); });
  }
  grid->setColumnStretch(7, 2);
  // The grid controls on the right of the statistics.
  grid_ = checkBox(area, text::N_("ｸﾞﾘｯﾄﾞ"), "grid", help::kGrid);
  gridWidth_ = spinBox(area, "gridWidth", 1, 20, help::kGridWidth);
  gridPad_ = new DirectionPad(area);
  gridPad_->setObjectName("gridPad");
  setQuickHelp(gridPad_, ui(help::kGridPad));
  grid->addWidget(grid_, 0, 8);
  grid->addWidget(gridWidth_, 1, 8);
  grid->addWidget(gridPad_, 0, 9, 2, 1);
  connect(grid_, &QCheckBox::clicked, this, [this](bool on) { setGrid(bench_, on); });
  connect(gridWidth_, &QSpinBox::valueChanged, this,
          [this](int width) { setGridWidth(bench_, width); });
  connect(gridPad_, &DirectionPad::directionPressed, this,
          [this](ShiftDirection direction) { moveGrid(bench_, cursorDirectionOf(direction)); });
}

void ImageControlWindow::buildColours(QWidget* area) {
  auto* layout = static_cast<QVBoxLayout*>(area->layout());
  QHBoxLayout* switches = row(layout);
  colour_ = checkBox(area, text::N_("ｶﾗｰ"), "colour", help::kColour);
  palette_ = checkBox(area, text::N_("ﾊﾟﾚｯﾄ"), "palette", help::kPalette);
  QPushButton* toImage1 = pushButton(area, "←", "colourToImage1", help::kColourCopy);
  QPushButton* toImage2 = pushButton(area, "→", "colourToImage2", help::kColourCopy);
  switches->addWidget(colour_);
  switches->addWidget(palette_);
  switches->addStretch(1);
  switches->addWidget(toImage1);
  switches->addWidget(toImage2);
  connect(colour_, &QCheckBox::clicked, this, [this](bool on) { setColourDisplay(bench_, on); });
  connect(palette_, &QCheckBox::clicked, this, [this](bool on) { setColourBars(bench_, on); });
  connect(toImage1, &QPushButton::clicked, this,
          [this] { copyColourAssociation(bench_, ImageSlot::First); });
  connect(toImage2, &QPushButton::clicked, this,
          [this] { copyColourAssociation(bench_, ImageSlot::Second); });

  for (ImageSlot image : kImageSlots) {
    const std::size_t at = index(image);
    const std::string digit = std::to_string(number(image));
    QHBoxLayout* line = row(layout);
    colourSelectors_[at] =
        comboBox(area, ("colourSelector" + digit).c_str(), help::kColourSelector);
    intensity_[at] =
        narrowSlider(area, "intensity" + digit, help::kIntensity, kMinIntensity, kMaxIntensity);
    brightness_[at] =
        narrowSlider(area, "brightness" + digit, help::kBrightness, kMinBrightness, kMaxBrightness);
    line->addWidget(colourSelectors_[at], 2);
    line->addWidget(plainLabel(area, text::N_("表示強度")));
    line->addWidget(intensity_[at], 2);
    line->addWidget(plainLabel(area, text::N_("輝度")));
    line->addWidget(brightness_[at], 3);
    connect(colourSelectors_[at], &QComboBox::activated, this,
            [this, image](int choice) { requestColour(image, choice); });
    connect(intensity_[at], &QSlider::valueChanged, this,
            [this, image](int value) { setIntensity(bench_, image, value); });
    connect(brightness_[at], &QSlider::valueChanged, this,
            [this, image](int value) { setBrightness(bench_, image, value); });
  }
}

void ImageControlWindow::buildRanges(QWidget* area) {
  auto* layout = static_cast<QVBoxLayout*>(area->layout());
  QHBoxLayout* top = row(layout);
  rangeLinked_ = checkBox(area, text::N_("連動"), "rangeLinked", help::kRangeLinked);
  QPushButton* toImage1 = pushButton(area, "←", "rangeToImage1", help::kRangeCopy);
  QPushButton* toImage2 = pushButton(area, "→", "rangeToImage2", help::kRangeCopy);
  QPushButton* clear = pushButton(area, text::N_("ｸﾘｱ"), "rangeClear", help::kRangeClear);
  top->addWidget(rangeLinked_);
  top->addStretch(1);
  top->addWidget(toImage1);
  top->addWidget(toImage2);
  top->addWidget(clear);
  connect(rangeLinked_, &QCheckBox::clicked, this, [this](bool on) { setRangeLinked(bench_, on); });
  connect(toImage1, &QPushButton::clicked, this, [this] { copyRange(bench_, ImageSlot::First); });
  connect(toImage2, &QPushButton::clicked, this, [this] { copyRange(bench_, ImageSlot::Second); });
  connect(clear, &QPushButton::clicked, this, [this] { clearRanges(bench_); });

  constexpr const char* kImageTexts[] = {text::N_("ｲﾒｰｼﾞ1"), text::N_("ｲﾒｰｼﾞ2")};
  constexpr RangeBound kBounds[] = {RangeBound::Lower, RangeBound::Upper};
  constexpr const char* kBoundTexts[] = {text::N_("下位"), text::N_("上位")};
  constexpr const char* kBoundNames[] = {"lower", "upper"};
  constexpr const char* kBoundHelp[] = {help::kLower, help::kUpper};
  for (ImageSlot image : kImageSlots) {
    const std::size_t at = index(image);
    const std::string digit = std::to_string(number(image));
    QHBoxLayout* line = row(layout);
    rangeOn_[at] = checkBox(area, kImageTexts[at], ("range" + digit).c_str(), help::kRangeOn);
    line->addWidget(rangeOn_[at]);
    connect(rangeOn_[at], &QCheckBox::clicked, this,
            [this, image](bool on) { setRangeExtraction(bench_, image, on); });
    for (std::size_t which = 0; which < 2; ++which) {
      const std::string name = kBoundNames[which];
      QSlider* bar = narrowSlider(area, name + "Slider" + digit, kBoundHelp[which], 0, 255);
      auto* spin = new RangeSpin(area);
      spin->setObjectName(QString::fromStdString(name + "Spin" + digit));
      setQuickHelp(spin, ui(kBoundHelp[which]));
      rangeSliders_[at][which] = bar;
      rangeSpins_[at][which] = spin;
      line->addWidget(plainLabel(area, kBoundTexts[which]));
      line->addWidget(bar, 1);
      line->addWidget(spin);
      const RangeBound bound = kBounds[which];
      const auto change = [this, image, bound](int value) {
        setRangeBound(bench_, image, bound, value);
      };
      connect(bar, &QSlider::valueChanged, this, change);
      connect(spin, &QSpinBox::valueChanged, this, change);
    }
  }
}

void ImageControlWindow::redisplay(int x, int y) {
  if (!bench_.pictures.picturesPresent) return;
  shownPosition_ = {-1, -1};  // show the clamped position even when the cursor stays
  setCursorPosition(bench_, x, y);
}

void ImageControlWindow::requestColour(ImageSlot image, int row) {
  chooseColour(bench_, image, row);
  refresh();
}

void ImageControlWindow::stepMagnification(bool up) {
  vemla::stepMagnification(bench_, up, user_, measurementToolOpen());
  refresh();
}

void ImageControlWindow::showStatistics(ImageSlot image) {
  const StatisticsTexts texts = statisticsTexts(bench_, image);
  const std::array<const std::string*, 4> values{&texts.maximum, &texts.minimum, &texts.mean,
                                                 &texts.sum};
  for (std::size_t value = 0; value < 4; ++value) {
    statistics_[index(image)][value]->setText(QString::fromStdString(*values[value]));
  }
}

void ImageControlWindow::refresh() {
  refreshImageRows();
  refreshView();
  refreshCursor();
}

void ImageControlWindow::refreshImageRows() {
  const ViewState& view = bench_.view;
  const std::vector<KindChoice> kinds = kindChoices(bench_);
  std::vector<std::string> kindNames;
  // The built-in kinds and colours are words of the program; the user's entries and tables keep
  // the names the operator gave them.
  for (const KindChoice& choice : kinds) {
    kindNames.push_back(choice.kind == kUserProcessingKind ? choice.name : text::tr(choice.name));
  }
  const std::vector<ColourChoice> colours = colourChoices(bench_);
  std::vector<std::string> colourNames;
  for (const ColourChoice& choice : colours) {
    colourNames.push_back(isUserColourKind(choice.colourKind) ? choice.name
                                                              : text::tr(choice.name));
  }
  for (ImageSlot image : kImageSlots) {
    const std::size_t at = index(image);
    showChoices(kindSelectors_[at], listedKinds_[at], kindNames,
                kindChoiceIndex(kinds, bench_, image));
    showChoices(colourSelectors_[at], listedColours_[at], colourNames,
                colourChoiceIndex(colours, associatedColourKind(bench_, image)));
    showValue(intensity_[at], intensityOf(bench_, image));
    showValue(brightness_[at], brightnessOf(bench_, image));
    rangeOn_[at]->setChecked(view.rangeExtraction[at]);
    const std::array<int, 2> bounds{view.range[at].lower, view.range[at].upper};
    for (std::size_t which = 0; which < 2; ++which) {
      showValue(rangeSliders_[at][which], bounds[which]);
      const QSignalBlocker block(rangeSpins_[at][which]);
      rangeSpins_[at][which]->setValue(bounds[which]);
    }
    showStatistics(image);
  }
}

void ImageControlWindow::refreshView() {
  const ViewState& view = bench_.view;
  for (ImageSlot image : kImageSlots) {
    const ComparisonMode mode = view.comparison[index(image)].mode;
    comparisonButtons_[index(image)][0]->setChecked(mode == ComparisonMode::Blink);
    comparisonButtons_[index(image)][1]->setChecked(mode == ComparisonMode::Swipe);
  }
  {
    const QSignalBlocker block(blinkRate_);
    blinkRate_->setValue(view.blinkTenths / 10.0);
  }
  showValue(magnificationSlider_, magnificationSliderValue(bench_));
  magnificationValue_->setText(QString::fromStdString(magnificationFieldText(bench_)));
  interpolation_->setChecked(view.zoomInterpolation);
  blankInvalid_->setChecked(bench_.images.blankInvalid);
  grid_->setChecked(view.grid);
  {
    const QSignalBlocker block(gridWidth_);
    gridWidth_->setValue(view.gridWidth);
  }
  colour_->setChecked(view.colourDisplay);
  palette_->setChecked(view.colourBars);
  rangeLinked_->setChecked(view.rangeLinked);
}

void ImageControlWindow::refreshCursor() {
  const ViewState& view = bench_.view;
  const bool present = bench_.pictures.picturesPresent;
  const std::array<int, 2> cursor{view.centreX, view.centreY};
  if (!present) {
    positionX_->clear();
    positionY_->clear();
    shownPosition_ = {-1, -1};
  } else if (cursor != shownPosition_) {
    positionX_->setText(QString::number(cursor[0]));
    positionY_->setText(QString::number(cursor[1]));
    shownPosition_ = cursor;
  }
  cursorShown_->setChecked(view.cursorShown);
  fineMovement_->setChecked(view.fineMovement);
  for (std::size_t index = 0; index < markTexts_.size(); ++index) {
    const std::array<std::string, 2> texts = displayMarkTexts(bench_, static_cast<int>(index));
    markTexts_[index][0]->setText(QString::fromStdString(texts[0]));
    markTexts_[index][1]->setText(QString::fromStdString(texts[1]));
  }

  // The cursor controls act on the pictures: without them there is nothing to move.
  std::vector<QWidget*> cursorControls{positionX_,  positionY_,  redisplay_,
                                       saveCursor_, loadCursor_, cursorPad_};
  for (std::size_t index = 0; index < markRestore_.size(); ++index) {
    cursorControls.push_back(markRestore_[index]);
    cursorControls.push_back(markStore_[index]);
  }
  for (std::size_t index = 0; index < 2; ++index) {
    cursorControls.push_back(maxButtons_[index]);
    cursorControls.push_back(minButtons_[index]);
  }
  for (QWidget* control : cursorControls) control->setEnabled(present);
}

}  // namespace vemla
