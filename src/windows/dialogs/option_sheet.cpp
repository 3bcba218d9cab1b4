#include "windows/dialogs/option_sheet.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <string_view>
#include <vector>

#include "options/option_sheet_rules.h"
#include "options/option_table.h"
#include "processing/manual_shift.h"
#include "windows/main/quick_help.h"
#include "workbench/settings/settings_session.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {

enum class FieldKind {
  Check,
  Radio,
  Combo,
  Integer,
  ArchiveNumber,
  Real,
  Text,
  FileName,
  Colour,
  NumberList
};

// One control of the sheet: the option it edits, its page (0 .. 6 in the sheet's order), the
// group it stands in, its label (a colour's button text), and for radio buttons their texts.
struct OptionField {
  std::string_view option;
  int page;
  std::string_view group;
  std::string_view label;
  FieldKind kind;
  std::array<const char*, 2> choices{};
  int maxLength = 0;  // text fields
};

namespace {

using K = FieldKind;

constexpr std::array<const char*, 7> kPageTitles{"画像関連", "ﾕｰｻﾞ制御",  "色の設定", "ﾌｧｲﾙ関連",
                                                 "　通信　", "ﾂｰﾙ関連１", "ﾂｰﾙ関連２"};
constexpr const char* kInterpolation[] = {"1次", "3次"};
constexpr std::string_view kCarryOver = "画像を開く時の引き継ぎ情報";
constexpr std::string_view kMaxSize = "画像の最大許容ｻｲｽﾞ\n 　　 （画素数）";
constexpr std::string_view kAreaDifference = "ｴﾘｱ差(標準画像処理)情報";

const std::vector<OptionField>& fieldTable() {
  static const std::vector<OptionField> table{
      // "画像関連"
      {"PixelSizeX", 0, "画素(1Pixel)のｻｲｽﾞ", "X", K::Real},
      {"PixelSizeY", 0, "画素(1Pixel)のｻｲｽﾞ", "Y", K::Real},
      {"ShiftUnit", 0, "", "ｼﾌﾄの最小単位(Pixel)", K::Combo},
      {"ShiftInterpolation",
       0,
       "補間ﾓｰﾄﾞ",
       "画像ｼﾌﾄ時",
       K::Radio,
       {kInterpolation[0], kInterpolation[1]}},
      {"ZoomInterpolation",
       0,
       "補間ﾓｰﾄﾞ",
       "ｲﾒｰｼﾞ拡大時",
       K::Radio,
       {kInterpolation[0], kInterpolation[1]}},
      {"AreaDiffRangeX", 0, kAreaDifference, "範囲（X、Y) X", K::Integer},
      {"AreaDiffRangeY", 0, kAreaDifference, "範囲（X、Y) Y", K::Integer},
      {"AreaDiffKind", 0, kAreaDifference, "種別", K::Radio, {"差の総和", "総和の差"}},
      {"AreaDiffDivisor", 0, kAreaDifference, "補正 総和／", K::Real},
      {"MaxPictureWidth", 0, kMaxSize, "X", K::Integer},
      {"MaxPictureHeight", 0, kMaxSize, "Y", K::Integer},
      {"GalleryCount", 0, "", "ｷﾞｬﾗﾘｰの最大数", K::Combo},
      {"hideGalleryAtStart", 0, "", "立ち上げ時ｷﾞｬﾗﾘｰを表示しない", K::Check},
      // "ﾕｰｻﾞ制御"
      {"KeepValidRangeMode", 1, kCarryOver, "有効範囲区分", K::Check},
      {"KeepAlignment", 1, kCarryOver, "ｱﾗｲﾒﾝﾄ実行", K::Check},
      {"KeepDisplayPosition", 1, kCarryOver, "表示位置", K::Check},
      {"KeepImageKind", 1, kCarryOver, "表示ｲﾒｰｼﾞ", K::Check},
      {"KeepMagnification", 1, kCarryOver, "拡大倍率", K::Check},
      {"KeepZoomInterpolation", 1, kCarryOver, "拡大補間", K::Check},
      {"KeepColourDisplay", 1, kCarryOver, "ｶﾗｰ表示", K::Check},
      {"KeepRangeExtraction", 1, kCarryOver, "範囲抽出", K::Check},
      {"KeepGrid", 1, kCarryOver, "ｸﾞﾘｯﾄﾞ表示", K::Check},
      {"KeepUserProgramResult", 1, kCarryOver, "ﾕｰｻﾞﾌﾟﾛｸﾞﾗﾑ　(EXE)結果", K::Check},
      {"DragMovesImage", 1, "", "ﾏｳｽのﾄﾞﾛｰｲﾝｸﾞでｲﾒｰｼﾞも\n移動させる", K::Check},
      {"DragMinimumMove", 1, "", "最低移動量", K::Integer},
      {"RightClickCentres", 1, "", "ｲﾒｰｼﾞを右ｸﾘｯｸ時は中心へ移動", K::Check},
      {"PopupColourTurnsColourOn", 1, "", "ﾎﾟｯﾌﾟｱｯﾌﾟﾒﾆｭｰからのｶﾗｰ選択時\nはｶﾗｰ表示ONへ切り替える",
       K::Check},
      {"LockDisplayPosition", 1, "表示位置情報", "切り替えを禁止する", K::Check},
      {"ViewerWheelZoomOnly", 1, "", "拡大/縮小はﾏｳｽﾎｲｰﾙ回転のみ", K::Check},
      {"ViewerForSingleFile", 1, "", "立ち上げ時１つだけﾌｧｲﾙが指定\nされた場合Viewerを開く",
       K::Check},
      {"ViewerShowGradation", 1, "", "Viewer起動時に階調値表示を行う", K::Check},
      // "色の設定"
      {"RangeFrameColour", 2, "画像ｳｨﾝﾄﾞｳ内", "範囲表示色", K::Colour},
      {"RangeExtractionColour1", 2, "範囲抽出色", "ｲﾒｰｼﾞ1", K::Colour},
      {"RangeExtractionColour2", 2, "範囲抽出色", "ｲﾒｰｼﾞ2", K::Colour},
      {"ProfileColour1", 2, "ﾌﾟﾛﾌｧｲﾙ表示色", "１", K::Colour},
      {"ProfileColour2", 2, "ﾌﾟﾛﾌｧｲﾙ表示色", "２", K::Colour},
      {"GridColour1", 2, "ｸﾞﾘｯﾄﾞ表示色", "ｲﾒｰｼﾞ1", K::Colour},
      {"GridColour2", 2, "ｸﾞﾘｯﾄﾞ表示色", "ｲﾒｰｼﾞ2", K::Colour},
      // "ﾌｧｲﾙ関連"
      {"TrueColourOpenMode",
       3,
       "",
       "Trueｶﾗｰﾌｧｲﾙｵｰﾌﾟﾝ時",
       K::Radio,
       {"自動で変換(256色ｶﾗｰ化)", "RGB比から変換(ｸﾞﾚｲｽｹｰﾙ化)"}},
      {"AskRatioPerFile", 3, "", "ﾌｧｲﾙ毎にRGB比率を指定", K::Check},
      {"GreyRatioR", 3, "標準のRGB比率", "R", K::Real},
      {"GreyRatioG", 3, "標準のRGB比率", "G", K::Real},
      {"GreyRatioB", 3, "標準のRGB比率", "B", K::Real},
      {"SaveBitmapAsGrey", 3, "", "ﾌｧｲﾙ退避時はｸﾞﾚ-ｽｹｰﾙとする", K::Check},
      {"RawDefaultWidth", 3, "RAWﾌｧｲﾙ情報", "ｻｲｽﾞの初期値 X", K::Integer},
      {"RawDefaultHeight", 3, "RAWﾌｧｲﾙ情報", "ｻｲｽﾞの初期値 Y", K::Integer},
      {"ArchiveOpenPicture1", 3, "画像１", "開く", K::Check},
      {"ArchivePicture1Number", 3, "画像１", "番号", K::ArchiveNumber},
      {"ArchiveOpenPicture2", 3, "画像２", "開く", K::Check},
      {"ArchivePicture2Number", 3, "画像２", "番号", K::ArchiveNumber},
      {"ArchiveSelectOnDrop", 3, "", "D&&Dや貼り付け時も選択する", K::Check},
      {"ArchiveExpandToGallery", 3, "", "ｷﾞｬﾗﾘｰへの展開を行う", K::Check},
      {"ArchiveExpandStartSlot", 3, "", "展開する開始位置", K::Combo},
      {"ArchiveSkipEmpty", 3, "", "空きのｴﾝﾄﾘは展開しない", K::Check},
      {"ArchiveExpandNumbers", 3, "", "展開する情報番号\n　（複数選択可能）", K::NumberList},
      // "　通信　"
      {"NetworkPort", 4, "Export情報", "ﾎﾟｰﾄ番号", K::Integer},
      {"ImportPassword", 4, "Export情報", "ﾊﾟｽﾜｰﾄﾞ", K::Text, {}, 62},
      {"ExportTimeout", 4, "Export情報", "ﾀｲﾑｱｳﾄ （秒）", K::Integer},
      {"ImportAsGrey", 4, "Import情報", "ｸﾞﾚ-ｽｹｰﾙで開く", K::Check},
      {"ImportTakePosition", 4, "Import情報", "表示位置を引き継ぐ", K::Check},
      {"ImportTakeMagnification", 4, "Import情報", "表示倍率を引き継ぐ", K::Check},
      {"ImportTimeout", 4, "Import情報", "ﾀｲﾑｱｳﾄ （秒）", K::Integer},
      // "ﾂｰﾙ関連１"
      {"ProfileGridGradation", 5, "ﾌﾟﾛﾌｧｲﾙ関連", "基準値（ｸﾞﾘｯﾄﾞ幅） 階調", K::Integer},
      {"ProfileGridPixels", 5, "ﾌﾟﾛﾌｧｲﾙ関連", "画素", K::Integer},
      {"View3DAngleX", 5, "３D関連", "基準値（視点） Ｘ角度", K::Integer},
      {"View3DAngleZ", 5, "３D関連", "Ｚ角度", K::Integer},
      {"View3DLuminance", 5, "３D関連", "基準値（表示ﾓｰﾄﾞ） 輝度", K::Integer},
      {"View3DWireWidth", 5, "３D関連", "ﾜｲﾔ幅", K::Integer},
      {"View3DPolygonWidth", 5, "３D関連", "ﾎﾟﾘｺﾞﾝ幅", K::Integer},
      {"MeasureEdgeLevel", 5, "測定関連", "基準値（ｻｲｽﾞ） ｴｯｼﾞﾚﾍﾞﾙ", K::Integer},
      {"MemoFile", 5, "メモ関連", "ﾌｧｲﾙ名称", K::FileName, {}, 511},
      // "ﾂｰﾙ関連２"
      {"PartialCompareGridX", 6, "部分比較関連", "ﾌﾟﾛﾌｧｲﾙのｸﾞﾘｯﾄﾞ幅 横方向", K::Integer},
      {"PartialCompareGridY", 6, "部分比較関連", "縦方向", K::Integer},
      {"ScopeMagnification", 6, "ｲﾒｰｼﾞｽｺｰﾌﾟ関連", "表示倍率", K::Integer},
      {"ScopePosition", 6, "ｲﾒｰｼﾞｽｺｰﾌﾟ関連", "表示位置", K::Radio, {"固定型", "追従型"}},
  };
  return table;
}

constexpr std::array<std::string_view, 8> kToolReferences{
    "ProfileGridGradation", "ProfileGridPixels", "View3DAngleX",       "View3DAngleZ",
    "View3DLuminance",      "View3DWireWidth",   "View3DPolygonWidth", "MeasureEdgeLevel"};

QString qt(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString helpFor(std::string_view option) {
  if (option == "MaxPictureWidth") return qt(maxPictureSizeHelp("X"));
  if (option == "MaxPictureHeight") return qt(maxPictureSizeHelp("Y"));
  if (option == "GalleryCount") return qt(kGalleryCountHelp);
  if (option == "ArchivePicture1Number" || option == "ArchivePicture2Number") {
    return qt(archiveNumberHelp());
  }
  return {};
}

int indexOf(const std::vector<int>& values, int value) {
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (values[i] == value) return static_cast<int>(i);
  }
  return -1;
}

QColor toColor(std::uint32_t colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>(colour >> 8 & 0xFF),
                static_cast<int>(colour >> 16 & 0xFF));
}

std::uint32_t fromColor(const QColor& color) {
  return rgb(color.red(), color.green(), color.blue());
}

// The system colour chooser with the 16 custom colours of the settings.
std::optional<std::uint32_t> chooseWithColourDialog(QWidget* parent, std::uint32_t initial,
                                                    std::array<std::uint32_t, 16>& custom) {
  for (int i = 0; i < 16; ++i) {
    QColorDialog::setCustomColor(i, toColor(custom[static_cast<std::size_t>(i)]));
  }
  const QColor chosen = QColorDialog::getColor(toColor(initial), parent);
  for (int i = 0; i < 16; ++i) {
    custom[static_cast<std::size_t>(i)] = fromColor(QColorDialog::customColor(i));
  }
  if (!chosen.isValid()) return std::nullopt;
  return fromColor(chosen);
}

}  // namespace

bool editOptions(QWidget* parent, Workbench& bench, UserPort& user, BusyPort& busy,
                 ProgressPort& progress) {
  OptionSheet sheet(bench, user, busy, progress, parent);
  sheet.exec();
  return sheet.restartRequested();
}

OptionSheet::OptionSheet(Workbench& bench, UserPort& user, BusyPort& busy, ProgressPort& progress,
                         QWidget* parent)
    : ConfirmingDialog(user, parent),
      bench_(bench),
      busy_(busy),
      progress_(progress),
      atOpen_(bench.options),
      pending_(bench.options),
      baseline_(bench.options) {
  setObjectName("OptionSheet");
  setWindowTitle(qt(kOptionSheetTitle));
  chooseColour_ = [this](std::uint32_t initial, std::array<std::uint32_t, 16>& custom) {
    return chooseWithColourDialog(this, initial, custom);
  };
  chooseFile_ = [this](const QString& current) {
    return QFileDialog::getOpenFileName(this, QString::fromUtf8("ﾒﾓﾌｧｲﾙの選択"), current,
                                        QString::fromUtf8("ﾃｷｽﾄﾌｧｲﾙ (*.txt)"));
  };

  auto* layout = new QVBoxLayout(this);
  auto* tabs = new QTabWidget(this);
  tabs->setObjectName("pages");
  for (int page = 0; page < static_cast<int>(kPageTitles.size()); ++page) buildPage(page, tabs);
  layout->addWidget(tabs);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  QPushButton* ok = dialogButton("OK", "ok", this);
  ok->setDefault(true);
  QPushButton* cancel = dialogButton(QString::fromUtf8("ｷｬﾝｾﾙ"), "cancel", this);
  QPushButton* applyButton = dialogButton(QString::fromUtf8("更新"), "apply", this);
  connect(ok, &QPushButton::clicked, this, &OptionSheet::accept);
  connect(cancel, &QPushButton::clicked, this, &OptionSheet::reject);
  connect(applyButton, &QPushButton::clicked, this, &OptionSheet::apply);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  buttons->addWidget(applyButton);
  layout->addLayout(buttons);

  showFields(pending_);
}

void OptionSheet::buildPage(int page, QTabWidget* tabs) {
  auto* widget = new QWidget(tabs);
  widget->setObjectName(QString("page%1").arg(page));
  auto* column = new QVBoxLayout(widget);
  QFormLayout* form = nullptr;
  std::string_view group = "\x01";  // no group opened yet
  QWidget* container = widget;
  const auto closeGroup = [&] {
    if (form != nullptr) addToolButtons(qt(group), form, container);
  };
  for (const OptionField& field : fieldTable()) {
    if (field.page != page) continue;
    if (form == nullptr || field.group != group) {
      closeGroup();
      group = field.group;
      if (group.empty()) {
        container = widget;
        form = new QFormLayout;
        column->addLayout(form);
      } else {
        auto* box = new QGroupBox(widget);
        box->setObjectName(qt(group));
        form = new QFormLayout(box);
        // A group title of two lines stands as a label inside the box.
        if (group.find('\n') == std::string_view::npos) {
          box->setTitle(qt(group));
        } else {
          form->addRow(new QLabel(qt(group), box));
        }
        container = box;
        column->addWidget(box);
      }
    }
    addControl(field, form, container);
  }
  closeGroup();
  column->addStretch();
  auto* applyRow = new QHBoxLayout;
  applyRow->addStretch();
  QPushButton* applyFields = dialogButton(QString::fromUtf8("一時設定"), "applyFields", widget);
  setQuickHelp(applyFields, qt(kApplyFieldsHelp));
  connect(applyFields, &QPushButton::clicked, this, &OptionSheet::correctFields);
  applyRow->addWidget(applyFields);
  column->addLayout(applyRow);
  tabs->addTab(widget, QString::fromUtf8(kPageTitles[static_cast<std::size_t>(page)]));
}

void OptionSheet::addControl(const OptionField& field, QFormLayout* form, QWidget* parent) {
  Control& control = controls_[std::string(field.option)];
  control.field = &field;
  const QString name = qt(field.option);
  const QString label = qt(field.label);
  switch (field.kind) {
    case K::Check: {
      control.check = new QCheckBox(label, parent);
      control.widget = control.check;
      connect(control.check, &QCheckBox::toggled, this, &OptionSheet::updateEnabling);
      form->addRow(control.check);
      break;
    }
    case K::Radio: {
      control.widget = new QWidget(parent);
      auto* row = new QHBoxLayout(control.widget);
      row->setContentsMargins(0, 0, 0, 0);
      control.radios = new QButtonGroup(control.widget);
      for (int i = 0; i < 2; ++i) {
        auto* button = new QRadioButton(
            QString::fromUtf8(field.choices[static_cast<std::size_t>(i)]), control.widget);
        button->setObjectName(name + QString::number(i));
        control.radios->addButton(button, i);
        row->addWidget(button);
      }
      connect(control.radios, &QButtonGroup::idToggled, this, &OptionSheet::updateEnabling);
      form->addRow(label, control.widget);
      break;
    }
    case K::Combo: {
      control.combo = new QComboBox(parent);
      control.widget = control.combo;
      if (field.option == "ShiftUnit") {
        for (const std::string& text : shiftUnitTexts()) control.combo->addItem(qt(text));
      } else if (field.option == "GalleryCount") {
        for (const int count : galleryCountValues()) control.combo->addItem(QString::number(count));
      } else {
        for (const std::string& text : startSlotTexts(bench_.options.GalleryCount)) {
          control.combo->addItem(qt(text));
        }
      }
      form->addRow(label, control.combo);
      break;
    }
    case K::Integer:
    case K::ArchiveNumber:
    case K::Real:
    case K::Text: {
      control.edit = new QLineEdit(parent);
      control.widget = control.edit;
      if (field.maxLength > 0) control.edit->setMaxLength(field.maxLength);
      form->addRow(label, control.edit);
      break;
    }
    case K::FileName: {
      control.widget = new QWidget(parent);
      auto* row = new QHBoxLayout(control.widget);
      row->setContentsMargins(0, 0, 0, 0);
      control.edit = new QLineEdit(control.widget);
      control.edit->setMaxLength(field.maxLength);
      control.edit->setObjectName(name + "Edit");
      QPushButton* browse =
          dialogButton(QString::fromUtf8("参照"), name + "Browse", control.widget);
      connect(browse, &QPushButton::clicked, this, [this, edit = control.edit] {
        const QString chosen = chooseFile_(edit->text());
        if (!chosen.isEmpty()) edit->setText(chosen);
      });
      row->addWidget(control.edit);
      row->addWidget(browse);
      form->addRow(label, control.widget);
      break;
    }
    case K::Colour: {
      auto* row = new QHBoxLayout;
      for (std::size_t i = 0; i < 3; ++i) {
        auto* channel = new QLineEdit(parent);
        channel->setReadOnly(true);
        channel->setObjectName(name + QLatin1Char("RGB"[i]));
        channel->setMaximumWidth(48);
        control.channels[i] = channel;
        row->addWidget(channel);
      }
      control.swatch = new QLabel(parent);
      control.swatch->setObjectName(name + "Swatch");
      control.swatch->setFixedSize(32, 20);
      control.swatch->setAutoFillBackground(true);
      row->addWidget(control.swatch);
      QPushButton* button = dialogButton(label, name, parent);
      control.widget = button;
      connect(button, &QPushButton::clicked, this,
              [this, option = field.option] { chooseColour(controls_.find(option)->second); });
      row->addWidget(button);
      form->addRow(row);
      break;
    }
    case K::NumberList: {
      control.list = new QListWidget(parent);
      control.widget = control.list;
      control.list->setSelectionMode(QAbstractItemView::MultiSelection);
      for (int number = 1; number <= kArchiveItemLimit; ++number) {
        control.list->addItem(qt(archiveNumberText(number)));
      }
      form->addRow(label, control.list);
      break;
    }
  }
  if (field.kind != K::Colour) control.widget->setObjectName(name);
  const QString help = helpFor(field.option);
  if (!help.isEmpty()) setQuickHelp(control.widget, help);
}

void OptionSheet::addToolButtons(const QString& group, QFormLayout* form, QWidget* parent) {
  const auto addButton = [&](const char* text, const char* objectName, void (*reset)(Options&)) {
    QPushButton* button = dialogButton(QString::fromUtf8(text), objectName, parent);
    connect(button, &QPushButton::clicked, this, [this, reset] { setToolValues(reset); });
    form->addRow(button);
    return button;
  };
  if (group == QString::fromUtf8("ﾌﾟﾛﾌｧｲﾙ関連")) {
    addButton("既定値", "profileDefaults", resetProfileReferences);
  } else if (group == QString::fromUtf8("３D関連")) {
    addButton("既定値", "view3DDefaults", resetView3DReferences);
    QPushButton* current = dialogButton(QString::fromUtf8("現在値"), "view3DCurrent", parent);
    current->setEnabled(false);
    connect(current, &QPushButton::clicked, this, &OptionSheet::takeCurrentView3D);
    form->addRow(current);
    view3DCurrent_ = current;
  } else if (group == QString::fromUtf8("測定関連")) {
    addButton("既定値", "measureDefaults", resetMeasureReferences);
  }
}

void OptionSheet::setCurrentView3D(std::function<std::optional<View3DValues>()> current) {
  currentView3D_ = std::move(current);
  if (view3DCurrent_ != nullptr) view3DCurrent_->setEnabled(static_cast<bool>(currentView3D_));
}

void OptionSheet::readFields(Options& into) const {
  for (const auto& [name, control] : controls_) {
    const OptionDescriptor* option = findOption(name);
    if (option == nullptr) continue;
    switch (control.field->kind) {
      case K::Check:
        *option->flag(into) = control.check->isChecked();
        break;
      case K::Radio:
        *option->integer(into) = control.radios->checkedId();
        break;
      case K::Combo: {
        const int index = control.combo->currentIndex();
        if (name == "ShiftUnit" || name == "GalleryCount") {
          const std::vector<int> values =
              name == "ShiftUnit" ? shiftUnitValues() : galleryCountValues();
          *option->integer(into) = index >= 0 ? values[static_cast<std::size_t>(index)] : 0;
        } else {
          *option->integer(into) = index;
        }
        break;
      }
      case K::Integer:
        *option->integer(into) = readIntegerField(control.edit->text().toStdString());
        break;
      case K::ArchiveNumber:
        *option->integer(into) =
            storedArchiveNumber(readIntegerField(control.edit->text().toStdString()));
        break;
      case K::Real:
        *option->real(into) = readRealField(control.edit->text().toStdString(),
                                            control.shownText.toStdString(), control.shownValue);
        break;
      case K::Text:
      case K::FileName:
        *option->text(into) = control.edit->text().toStdString();
        break;
      case K::Colour:
        *option->colour(into) = control.colour;
        break;
      case K::NumberList: {
        auto& numbers = *option->numbers(into);
        for (int i = 0; i < kArchiveItemLimit; ++i) {
          numbers[static_cast<std::size_t>(i)] = control.list->item(i)->isSelected();
        }
        break;
      }
    }
  }
}

void OptionSheet::showField(Control& control, const Options& values) {
  const OptionDescriptor* option = findOption(control.field->option);
  if (option == nullptr) return;
  Options& source = const_cast<Options&>(values);  // the accessors only take addresses
  switch (control.field->kind) {
    case K::Check:
      control.check->setChecked(*option->flag(source));
      break;
    case K::Radio:
      if (QAbstractButton* button = control.radios->button(*option->integer(source))) {
        button->setChecked(true);
      }
      break;
    case K::Combo: {
      const int value = *option->integer(source);
      const std::string_view name = control.field->option;
      if (name == "ShiftUnit") {
        control.combo->setCurrentIndex(indexOf(shiftUnitValues(), value));
      } else if (name == "GalleryCount") {
        control.combo->setCurrentIndex(indexOf(galleryCountValues(), value));
      } else {
        control.combo->setCurrentIndex(value < control.combo->count() ? value : -1);
      }
      break;
    }
    case K::Integer:
      control.edit->setText(QString::number(*option->integer(source)));
      break;
    case K::ArchiveNumber:
      control.edit->setText(QString::number(shownArchiveNumber(*option->integer(source))));
      break;
    case K::Real:
      control.shownValue = *option->real(source);
      control.shownText = qt(realFieldText(control.shownValue));
      control.edit->setText(control.shownText);
      break;
    case K::Text:
    case K::FileName:
      control.edit->setText(qt(*option->text(source)));
      break;
    case K::Colour:
      showColour(control, *option->colour(source));
      break;
    case K::NumberList: {
      const auto& numbers = *option->numbers(source);
      for (int i = 0; i < kArchiveItemLimit; ++i) {
        control.list->item(i)->setSelected(numbers[static_cast<std::size_t>(i)]);
      }
      break;
    }
  }
}

void OptionSheet::showFields(const Options& values) {
  for (auto& entry : controls_) showField(entry.second, values);
  updateEnabling();
}

void OptionSheet::showColour(Control& control, std::uint32_t colour) {
  control.colour = colour;
  const QColor color = toColor(colour);
  control.channels[0]->setText(QString::number(color.red()));
  control.channels[1]->setText(QString::number(color.green()));
  control.channels[2]->setText(QString::number(color.blue()));
  QPalette palette = control.swatch->palette();
  palette.setColor(QPalette::Window, color);
  control.swatch->setPalette(palette);
}

void OptionSheet::updateEnabling() {
  Options shown = pending_;
  readFields(shown);
  for (auto& [name, control] : controls_) {
    control.widget->setEnabled(
        optionControlEnabled(name, shown, bench_.secondCopy, bench_.gallery.available));
  }
}

void OptionSheet::chooseColour(Control& control) {
  if (const auto chosen = chooseColour_(control.colour, bench_.settings.program.customColours)) {
    showColour(control, *chosen & 0xFFFFFFu);
  }
}

void OptionSheet::setToolValues(void (*reset)(Options&)) {
  Options values = pending_;
  readFields(values);
  const Options before = values;
  reset(values);
  for (const std::string_view name : kToolReferences) {
    const OptionDescriptor* option = findOption(name);
    if (option != nullptr && !sameOptionValue(*option, before, values)) {
      showField(controls_.find(name)->second, values);
    }
  }
}

void OptionSheet::takeCurrentView3D() {
  if (!currentView3D_) return;
  const std::optional<View3DValues> current = currentView3D_();
  if (!current) return;
  constexpr std::array<std::string_view, 5> kNames{
      "View3DAngleX", "View3DAngleZ", "View3DLuminance", "View3DWireWidth", "View3DPolygonWidth"};
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    controls_.find(kNames[i])->second.edit->setText(QString::number((*current)[i]));
  }
}

void OptionSheet::correctFields() {
  Options values = pending_;
  readFields(values);
  correctOptions(values, pending_, CorrectionMode::Entry);
  pending_ = values;
  showFields(pending_);
}

void OptionSheet::apply() {
  correctFields();
  const ApplyContext context{bench_.secondCopy, areaDifferenceShown(bench_),
                             magnifiedWithInterpolation(bench_)};
  const ApplyResult result = applyOptions(bench_.options, pending_, context);
  if ((result.effects & kEffectRescaleShifts) != 0) {
    changeDivision(bench_.control, result.oldShiftUnit, result.newShiftUnit);
  }
  refreshAfterOptions(bench_, result.effects, user_, busy_, progress_);
  effects_ |= result.effects;
  // A second copy puts the restart options back: show what was kept.
  showFields(pending_);
  baseline_ = pending_;
}

void OptionSheet::accept() {
  apply();
  QDialog::accept();
}

void OptionSheet::done(int result) {
  if (!finished_) {
    finished_ = true;
    if (restartNeeded(atOpen_, bench_.options, baseline_)) {
      user_.tell(Icon::Info, kRestartMessage);
      takeOverRestartOptions(bench_.options, baseline_);
      restartRequested_ = true;
    } else if ((effects_ & kEffectSave) != 0) {
      persist::saveProgramSettingsNow(bench_, user_);
    }
  }
  QDialog::done(result);
}

bool OptionSheet::edited() const {
  Options fields = pending_;
  readFields(fields);
  correctOptions(fields, pending_, CorrectionMode::Entry);
  return !(fields == baseline_);
}

}  // namespace vemla
