#include "windows/dialogs/option_sheet.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <string_view>
#include <vector>

#include "options/option_sheet_rules.h"
#include "options/option_table.h"
#include "text/translate.h"
#include "windows/main/quick_help.h"
#include "windows/main/screen_fit.h"
#include "windows/main/text_fit.h"
#include "windows/main/ui_text.h"
#include "workbench/settings/settings_session.h"
#include "workbench/tools/relief_tool.h"

namespace vemla {

namespace {

using text::N_;

constexpr std::array<std::string_view, 8> kToolReferences{
    "ProfileGridGradation", "ProfileGridPixels", "View3DAngleX",       "View3DAngleZ",
    "View3DLuminance",      "View3DWireWidth",   "View3DPolygonWidth", "MeasureEdgeLevel"};

QString qt(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
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
  if (currentReliefValues(bench)) {
    sheet.setCurrentView3D([&bench] { return currentReliefValues(bench); });
  }
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
  setWindowTitle(ui(kOptionSheetTitle));
  chooseColour_ = [this](std::uint32_t initial, std::array<std::uint32_t, 16>& custom) {
    return chooseWithColourDialog(this, initial, custom);
  };
  chooseFile_ = [this](const QString& current) {
    // A relative memo name lives in the program folder.
    const QString start = QDir(QString::fromStdString(bench_.settings.folder)).filePath(current);
    return QFileDialog::getOpenFileName(this, ui(N_("ﾒﾓﾌｧｲﾙの選択")), start,
                                        ui(N_("ﾃｷｽﾄﾌｧｲﾙ (*.txt)")));
  };

  auto* layout = new QVBoxLayout(this);
  auto* tabs = new QTabWidget(this);
  tabs->setObjectName("pages");
  // Every page title in sight and whole: a tab row with scroll buttons asks for little width,
  // and the sheet, sized by its pages, would hide the last titles behind the arrows; without
  // them the sheet is at least as wide as its titles.
  tabs->setUsesScrollButtons(false);
  tabs->tabBar()->setElideMode(Qt::ElideNone);
  for (std::size_t page = 0; page < kOptionPageTitles.size(); ++page) {
    buildPage(static_cast<OptionPage>(page), tabs);
  }
  layout->addWidget(tabs);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  QPushButton* ok = dialogButton("OK", "ok", this);
  ok->setDefault(true);
  QPushButton* cancel = dialogButton(ui(N_("ｷｬﾝｾﾙ")), "cancel", this);
  QPushButton* applyButton = dialogButton(ui(N_("更新")), "apply", this);
  connect(ok, &QPushButton::clicked, this, &OptionSheet::accept);
  connect(cancel, &QPushButton::clicked, this, &OptionSheet::reject);
  connect(applyButton, &QPushButton::clicked, this, &OptionSheet::apply);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  buttons->addWidget(applyButton);
  layout->addLayout(buttons);

  showFields(pending_);
}

// Makes the control of one option and its binding, by the type of the option; the options with a
// layout of their own (lists of values, numbers shown 1-based, a file name with "参照") are
// picked out by name.
struct OptionSheet::ControlBuilder {
  OptionSheet& sheet;
  const OptionDescriptor& option;
  Control& control;
  QFormLayout* form;
  QWidget* parent;

  QString name() const { return qt(option.name); }
  QString label() const { return ui(option.label); }

  QLineEdit* addEdit() const {
    auto* edit = new QLineEdit(parent);
    control.widget = edit;
    form->addRow(label(), edit);
    return edit;
  }

  void operator()(bool&) const {
    auto* check = new QCheckBox(label(), parent);
    control.widget = check;
    QObject::connect(check, &QCheckBox::toggled, &sheet, &OptionSheet::updateEnabling);
    form->addRow(check);
    control.show = [check, &o = option](const Options& v) {
      check->setChecked(optionMember<bool>(o, v));
    };
    control.read = [check, &o = option](Options& v) {
      optionMember<bool>(o, v) = check->isChecked();
    };
  }

  void operator()(int&) const {
    if (option.type == OptionType::Choice) {
      radios();
    } else if (option.name == "ShiftUnit" || option.name == "GalleryCount") {
      valueList(option.name == "ShiftUnit" ? shiftUnitTexts() : countTexts(),
                option.name == "ShiftUnit" ? shiftUnitValues() : galleryCountValues());
    } else if (option.name == "DisplayLanguage") {
      valueList({text::tr(std::string(kLanguageChoices[0])), std::string(kLanguageChoices[1]),
                 std::string(kLanguageChoices[2])},
                {0, 1, 2});
    } else if (option.name == "ArchiveExpandStartSlot") {
      startSlots();
    } else if (option.name == "ArchivePicture1Number" || option.name == "ArchivePicture2Number") {
      QLineEdit* edit = addEdit();
      control.show = [edit, &o = option](const Options& v) {
        edit->setText(QString::number(shownArchiveNumber(optionMember<int>(o, v))));
      };
      control.read = [edit, &o = option](Options& v) {
        optionMember<int>(o, v) = storedArchiveNumber(readIntegerField(edit->text().toStdString()));
      };
    } else {
      QLineEdit* edit = addEdit();
      control.show = [edit, &o = option](const Options& v) {
        edit->setText(QString::number(optionMember<int>(o, v)));
      };
      control.read = [edit, &o = option](Options& v) {
        optionMember<int>(o, v) = readIntegerField(edit->text().toStdString());
      };
    }
  }

  void radios() const {
    control.widget = new QWidget(parent);
    auto* row = new QHBoxLayout(control.widget);
    row->setContentsMargins(0, 0, 0, 0);
    auto* group = new QButtonGroup(control.widget);
    for (int i = 0; i < 2; ++i) {
      auto* button =
          new QRadioButton(ui(option.choices[static_cast<std::size_t>(i)]), control.widget);
      button->setObjectName(name() + QString::number(i));
      group->addButton(button, i);
      row->addWidget(button);
    }
    QObject::connect(group, &QButtonGroup::idToggled, &sheet, &OptionSheet::updateEnabling);
    form->addRow(label(), control.widget);
    control.show = [group, &o = option](const Options& v) {
      if (QAbstractButton* button = group->button(optionMember<int>(o, v))) {
        button->setChecked(true);
      }
    };
    control.read = [group, &o = option](Options& v) {
      optionMember<int>(o, v) = group->checkedId();
    };
  }

  QComboBox* addCombo() const {
    auto* combo = new QComboBox(parent);
    control.widget = combo;
    form->addRow(label(), combo);
    return combo;
  }

  static std::vector<std::string> countTexts() {
    std::vector<std::string> texts;
    for (const int count : galleryCountValues()) texts.push_back(std::to_string(count));
    return texts;
  }

  // A list of texts standing for `values`; a value not in the list shows no selection.
  void valueList(const std::vector<std::string>& texts, std::vector<int> values) const {
    QComboBox* combo = addCombo();
    for (const std::string& text : texts) combo->addItem(qt(text));
    control.show = [combo, values, &o = option](const Options& v) {
      const auto found = std::find(values.begin(), values.end(), optionMember<int>(o, v));
      combo->setCurrentIndex(found == values.end() ? -1 : static_cast<int>(found - values.begin()));
    };
    control.read = [combo, values, &o = option](Options& v) {
      const int index = combo->currentIndex();
      optionMember<int>(o, v) = index >= 0 ? values[static_cast<std::size_t>(index)] : 0;
    };
  }

  // "#1" … "#n" for the slots of the gallery in use; the value is the index.
  void startSlots() const {
    QComboBox* combo = addCombo();
    for (const std::string& text : startSlotTexts(sheet.bench_.options.GalleryCount)) {
      combo->addItem(qt(text));
    }
    control.show = [combo, &o = option](const Options& v) {
      const int value = optionMember<int>(o, v);
      combo->setCurrentIndex(value < combo->count() ? value : -1);
    };
    control.read = [combo, &o = option](Options& v) {
      optionMember<int>(o, v) = combo->currentIndex();
    };
  }

  void operator()(double&) const {
    QLineEdit* edit = addEdit();
    control.show = [edit, &c = control, &o = option](const Options& v) {
      c.shownValue = optionMember<double>(o, v);
      c.shownText = qt(realFieldText(c.shownValue));
      edit->setText(c.shownText);
    };
    control.read = [edit, &c = control, &o = option](Options& v) {
      optionMember<double>(o, v) =
          readRealField(edit->text().toStdString(), c.shownText.toStdString(), c.shownValue);
    };
  }

  void operator()(std::string&) const {
    QLineEdit* edit = nullptr;
    if (option.name == "MemoFile") {
      control.widget = new QWidget(parent);
      auto* row = new QHBoxLayout(control.widget);
      row->setContentsMargins(0, 0, 0, 0);
      edit = new QLineEdit(control.widget);
      edit->setObjectName(name() + "Edit");
      QPushButton* browse = dialogButton(ui(N_("参照")), name() + "Browse", control.widget);
      QObject::connect(browse, &QPushButton::clicked, &sheet, [s = &sheet, edit] {
        const QString chosen = s->chooseFile_(edit->text());
        if (!chosen.isEmpty()) edit->setText(chosen);
      });
      row->addWidget(edit);
      row->addWidget(browse);
      form->addRow(label(), control.widget);
    } else {
      edit = addEdit();
    }
    edit->setMaxLength(static_cast<int>(option.high));
    // The password is never shown, as in the Import dialog.
    if (option.name == "ImportPassword") edit->setEchoMode(QLineEdit::Password);
    control.show = [edit, &o = option](const Options& v) {
      edit->setText(qt(optionMember<std::string>(o, v)));
    };
    control.read = [edit, &o = option](Options& v) {
      optionMember<std::string>(o, v) = edit->text().toStdString();
    };
  }

  void operator()(std::uint32_t&) const {
    // Each channel under its letter, as the sheet labels the RGB ratios, and wide enough for 255.
    auto* row = new QHBoxLayout;
    for (std::size_t i = 0; i < 3; ++i) {
      const QChar letter = QLatin1Char("RGB"[i]);
      auto* channel = new QLineEdit(parent);
      channel->setReadOnly(true);
      channel->setObjectName(name() + letter);
      channel->setFixedWidth(editWidthFor(channel, widestNumber(channel, 255)));
      control.channels[i] = channel;
      auto* channelLabel = new QLabel(letter, parent);
      channelLabel->setBuddy(channel);
      row->addWidget(channelLabel);
      row->addWidget(channel);
    }
    control.swatch = new QLabel(parent);
    control.swatch->setObjectName(name() + "Swatch");
    control.swatch->setFixedSize(32, 20);
    control.swatch->setAutoFillBackground(true);
    row->addWidget(control.swatch);
    QPushButton* button = dialogButton(label(), name(), parent);
    control.widget = button;
    QObject::connect(button, &QPushButton::clicked, &sheet,
                     [s = &sheet, &c = control] { s->chooseColour(c); });
    row->addWidget(button);
    form->addRow(row);
    control.show = [s = &sheet, &c = control, &o = option](const Options& v) {
      s->showColour(c, optionMember<std::uint32_t>(o, v));
    };
    control.read = [&c = control, &o = option](Options& v) {
      optionMember<std::uint32_t>(o, v) = c.colour;
    };
  }

  // Three radio buttons, one per rule; the window's lower and upper ends stand beside its
  // button and take entries only while it is chosen. An end outside 0 .. 65535 reads as a window
  // out of order, which the correction turns back into the previous conversion.
  void operator()(SixteenBitConversion&) const {
    control.widget = new QWidget(parent);
    auto* rows = new QVBoxLayout(control.widget);
    rows->setContentsMargins(0, 0, 0, 0);
    auto* group = new QButtonGroup(control.widget);
    auto* lower = new QLineEdit(control.widget);
    auto* upper = new QLineEdit(control.widget);
    lower->setObjectName(name() + "Lower");
    upper->setObjectName(name() + "Upper");
    for (QLineEdit* end : {lower, upper}) {
      end->setFixedWidth(editWidthFor(end, widestNumber(end, 65535)));
    }
    for (std::size_t i = 0; i < kSixteenBitChoices.size(); ++i) {
      auto* button = new QRadioButton(ui(kSixteenBitChoices[i]), control.widget);
      button->setObjectName(name() + QString::number(i));
      group->addButton(button, static_cast<int>(i));
      if (static_cast<SixteenBitRule>(i) != SixteenBitRule::Window) {
        rows->addWidget(button, 0, Qt::AlignLeft);  // as wide as its text, as the window's row
        continue;
      }
      auto* row = new QHBoxLayout;
      row->addWidget(button);
      for (const auto& [text, end] : {std::pair{N_("下限"), lower}, std::pair{N_("上限"), upper}}) {
        auto* endLabel = new QLabel(ui(text), control.widget);
        endLabel->setBuddy(end);
        row->addWidget(endLabel);
        row->addWidget(end);
      }
      row->addStretch();
      rows->addLayout(row);
    }
    const auto enableWindow = [group, lower, upper] {
      const bool window = group->checkedId() == static_cast<int>(SixteenBitRule::Window);
      lower->setEnabled(window);
      upper->setEnabled(window);
    };
    QObject::connect(group, &QButtonGroup::idToggled, control.widget, enableWindow);
    form->addRow(control.widget);
    control.show = [group, lower, upper, enableWindow, &o = option](const Options& v) {
      const SixteenBitConversion& value = optionMember<SixteenBitConversion>(o, v);
      if (QAbstractButton* button = group->button(static_cast<int>(value.rule))) {
        button->setChecked(true);
      }
      lower->setText(QString::number(value.lower));
      upper->setText(QString::number(value.upper));
      enableWindow();
    };
    control.read = [group, lower, upper, &o = option](Options& v) {
      SixteenBitConversion& value = optionMember<SixteenBitConversion>(o, v);
      if (group->checkedId() >= 0) value.rule = static_cast<SixteenBitRule>(group->checkedId());
      const int low = readIntegerField(lower->text().toStdString());
      const int high = readIntegerField(upper->text().toStdString());
      const auto within = [&o](int end) { return end >= o.low && end <= o.high; };
      const bool inRange = within(low) && within(high);
      value.lower = inRange ? static_cast<std::uint16_t>(low) : 0;
      value.upper = inRange ? static_cast<std::uint16_t>(high) : 0;
    };
  }

  void operator()(std::array<bool, kArchiveItemLimit>&) const {
    auto* list = new QListWidget(parent);
    control.widget = list;
    list->setSelectionMode(QAbstractItemView::MultiSelection);
    for (int number = 1; number <= kArchiveItemLimit; ++number) {
      list->addItem(qt(archiveNumberText(number)));
    }
    form->addRow(label(), list);
    using Numbers = std::array<bool, kArchiveItemLimit>;
    control.show = [list, &o = option](const Options& v) {
      const Numbers& numbers = optionMember<Numbers>(o, v);
      for (int i = 0; i < kArchiveItemLimit; ++i) {
        list->item(i)->setSelected(numbers[static_cast<std::size_t>(i)]);
      }
    };
    control.read = [list, &o = option](Options& v) {
      Numbers& numbers = optionMember<Numbers>(o, v);
      for (int i = 0; i < kArchiveItemLimit; ++i) {
        numbers[static_cast<std::size_t>(i)] = list->item(i)->isSelected();
      }
    };
  }
};

void OptionSheet::buildPage(OptionPage page, QTabWidget* tabs) {
  // The fields scroll on a screen too small for the page; "一時設定" stays below them.
  auto* pageWidget = new QWidget(tabs);
  pageWidget->setObjectName(QString("page%1").arg(static_cast<int>(page)));
  auto* pageColumn = new QVBoxLayout(pageWidget);
  pageColumn->setContentsMargins(0, 0, 0, 0);
  auto* widget = new QWidget;
  auto* scroller = new ContentScroller(widget, pageWidget);
  scroller->setObjectName("fields");
  pageColumn->addWidget(scroller, 1);
  auto* column = new QVBoxLayout(widget);
  QFormLayout* form = nullptr;
  std::string_view group;
  QWidget* container = widget;
  const auto closeGroup = [&] {
    if (form != nullptr) addToolButtons(qt(group), form, container);
  };
  for (const OptionDescriptor& option : optionTable()) {
    if (option.page != page) continue;
    if (form == nullptr || option.group != group) {
      closeGroup();
      group = option.group;
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
          box->setTitle(ui(group));
        } else {
          form->addRow(new QLabel(ui(group), box));
        }
        container = box;
        column->addWidget(box);
      }
    }
    Control& control = controls_[std::string(option.name)];
    Options& values = pending_;  // gives the builder the option's type; nothing is changed
    visitOption(option, values, ControlBuilder{*this, option, control, form, container});
    if (option.type != OptionType::Colour) control.widget->setObjectName(qt(option.name));
    // Every control of the option explains it on F1 (and under quick help), the read-only
    // channels of a colour as well as its button.
    const QString help = qt(optionHelp(option.name));
    setQuickHelp(control.widget, help);
    for (QLineEdit* channel : control.channels) {
      if (channel != nullptr) setQuickHelp(channel, help);
    }
  }
  closeGroup();
  column->addStretch();
  auto* applyRow = new QHBoxLayout;
  applyRow->setContentsMargins(column->contentsMargins());
  applyRow->addStretch();
  QPushButton* applyFields = dialogButton(ui(N_("一時設定")), "applyFields", pageWidget);
  setQuickHelp(applyFields, ui(kApplyFieldsHelp));
  connect(applyFields, &QPushButton::clicked, this, &OptionSheet::correctFields);
  applyRow->addWidget(applyFields);
  pageColumn->addLayout(applyRow);
  tabs->addTab(pageWidget, ui(kOptionPageTitles[static_cast<std::size_t>(page)]));
}

void OptionSheet::addToolButtons(const QString& group, QFormLayout* form, QWidget* parent) {
  const auto addButton = [&](const char* text, const char* objectName, void (*reset)(Options&)) {
    QPushButton* button = dialogButton(ui(text), objectName, parent);
    connect(button, &QPushButton::clicked, this, [this, reset] { setToolValues(reset); });
    form->addRow(button);
    return button;
  };
  if (group == QString::fromUtf8("ﾌﾟﾛﾌｧｲﾙ関連")) {
    addButton(N_("既定値"), "profileDefaults", resetProfileReferences);
  } else if (group == QString::fromUtf8("３D関連")) {
    addButton(N_("既定値"), "view3DDefaults", resetView3DReferences);
    QPushButton* current = dialogButton(ui(N_("現在値")), "view3DCurrent", parent);
    current->setEnabled(false);
    connect(current, &QPushButton::clicked, this, &OptionSheet::takeCurrentView3D);
    form->addRow(current);
    view3DCurrent_ = current;
  } else if (group == QString::fromUtf8("測定関連")) {
    addButton(N_("既定値"), "measureDefaults", resetMeasureReferences);
  }
}

void OptionSheet::setCurrentView3D(std::function<std::optional<View3DValues>()> current) {
  currentView3D_ = std::move(current);
  if (view3DCurrent_ != nullptr) view3DCurrent_->setEnabled(static_cast<bool>(currentView3D_));
}

void OptionSheet::readFields(Options& into) const {
  for (const auto& entry : controls_) entry.second.read(into);
}

void OptionSheet::showFields(const Options& values) {
  for (auto& entry : controls_) entry.second.show(values);
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
  std::array<std::uint32_t, 16> customColours = bench_.shell.customColours;
  const auto chosen = chooseColour_(control.colour, customColours);
  persist::keepCustomColours(bench_, customColours);
  if (chosen) showColour(control, *chosen & 0xFFFFFFu);
}

void OptionSheet::setToolValues(void (*reset)(Options&)) {
  Options values = pending_;
  readFields(values);
  const Options before = values;
  reset(values);
  for (const std::string_view name : kToolReferences) {
    if (!sameOptionValue(optionNamed(name), before, values)) {
      controls_.find(name)->second.show(values);
    }
  }
}

void OptionSheet::takeCurrentView3D() {
  if (!currentView3D_) return;
  const std::optional<View3DValues> current = currentView3D_();
  if (!current) return;
  constexpr std::array<std::string_view, 5> kNames{
      "View3DAngleX", "View3DAngleZ", "View3DLuminance", "View3DWireWidth", "View3DPolygonWidth"};
  Options values = pending_;
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    optionMember<int>(optionNamed(kNames[i]), values) = (*current)[i];
    controls_.find(kNames[i])->second.show(values);
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
  effects_ |= persist::applyOptionSheet(bench_, pending_, user_, busy_, progress_);
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
    restartRequested_ = persist::closeOptionSheet(bench_, atOpen_, baseline_, effects_, user_);
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
