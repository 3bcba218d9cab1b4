#include "windows/editors/user_colour_editor.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "windows/main/text_fit.h"
#include "windows/main/ui_text.h"
#include "windows/main/widget_factory.h"

namespace vemla {

using text::N_;
namespace {

constexpr int kNameFieldLength = static_cast<int>(kMaxColourNameLength);
constexpr int kRampWidth = 20;
constexpr const char* kChannelNames[] = {"red", "green", "blue"};
constexpr const char* kFileFilter = N_("ﾃｷｽﾄﾌｧｲﾙ (*.txt)");

constexpr const char* kReadHelp =
    N_("ﾃｷｽﾄでRGB値が記述されたﾌｧｲﾙを読み込み表示します\nﾌｧｲﾙは階調値単位に１行で R,G,B "
       "の順で指定します\n※RGBの各々の値は0～255、ｾﾊﾟﾚｰﾄは数字以外\n※ﾌｫｰﾏｯﾄがわからない場合は"
       "一度「退避」を行って\n　作成されたﾌｧｲﾙの内容を確認して下さい\nまた256色のﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙ"
       "からの読み込みも可能です");
constexpr const char* kInterpolateHelp =
    N_("指定した階調値範囲のRGB値を補間します\n（例）100～200と指定した場合、階調100で指定されて\n"
       "　　　いるRGB値と、階調200で指定されているRGB値を\n　　　補間した値が階調100～200の間で"
       "設定されます");

QString fromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A field's number limited to 0..255; what is not a number reads as 0.
int readValue(const QLineEdit* field) {
  bool ok = false;
  const int value = field->text().trimmed().toInt(&ok);
  return ok ? std::clamp(value, 0, 255) : (field->text().trimmed().isEmpty() ? 0 : 255);
}

QLineEdit* numberField(QWidget* parent, const QString& name) {
  QLineEdit* field = controls::numberEdit(parent, name, 255, nullptr);
  field->setMaxLength(3);
  field->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,3}"), field));
  return field;
}

}  // namespace

UserColourEditorDialogs UserColourEditorDialogs::platform() {
  UserColourEditorDialogs dialogs;
  dialogs.open = [](const QString& title, const QString& filters, const QString& start) {
    return QFileDialog::getOpenFileName(nullptr, title, start, filters);
  };
  dialogs.save = [](const QString& title, const QString& filters, const QString& start) {
    return QFileDialog::getSaveFileName(nullptr, title, start, filters);
  };
  dialogs.chooseColour = [](const QColor& initial,
                            std::array<std::uint32_t, 16>& custom) -> std::optional<QColor> {
    for (int i = 0; i < 16; ++i) {
      QColorDialog::setCustomColor(i, QColor::fromRgb(custom[static_cast<std::size_t>(i)]));
    }
    const QColor chosen = QColorDialog::getColor(initial);
    for (int i = 0; i < 16; ++i) {
      custom[static_cast<std::size_t>(i)] = QColorDialog::customColor(i).rgb() & 0xFFFFFFu;
    }
    if (!chosen.isValid()) return std::nullopt;
    return chosen;
  };
  dialogs.desktop = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
  return dialogs;
}

void editUserColours(QWidget* parent, Workbench& bench, UserPort& user,
                     const UserColourEditorDialogs& dialogs) {
  if (bench.secondCopy && !user.askYesNo(text::tr(msg::entry_editing::kSecondCopyEditQuestion)))
    return;
  UserColourEditorDialog dialog(bench, user, dialogs, parent);
  dialog.exec();
}

// ---- The ramps

ColourRamp::ColourRamp(Show show, const UserColourTable& table, QWidget* parent)
    : QWidget(parent), show_(show), table_(table) {
  setFixedSize(kRampWidth, 256);
  // Clicking a ramp leaves the focus on the field it acts on.
  setFocusPolicy(Qt::NoFocus);
}

QSize ColourRamp::sizeHint() const {
  return {kRampWidth, 256};
}

void ColourRamp::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  for (int grey = 0; grey < 256; ++grey) {
    const auto at = static_cast<std::size_t>(grey) * 3;
    QColor colour;
    switch (show_) {
      case Show::Table:
        colour = QColor(table_[at], table_[at + 1], table_[at + 2]);
        break;
      case Show::Red:
        colour = QColor(grey, 0, 0);
        break;
      case Show::Green:
        colour = QColor(0, grey, 0);
        break;
      case Show::Blue:
        colour = QColor(0, 0, grey);
        break;
    }
    painter.setPen(colour);
    painter.drawLine(0, grey, width() - 1, grey);
  }
}

void ColourRamp::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  emit clickedAt(std::clamp(static_cast<int>(event->position().y()), 0, 255));
}

// ---- The dialog

UserColourEditorDialog::UserColourEditorDialog(Workbench& bench, UserPort& user,
                                               UserColourEditorDialogs dialogs, QWidget* parent)
    : QDialog(parent),
      session_(std::make_unique<UserColourEditing>(bench, user)),
      dialogs_(std::move(dialogs)),
      user_(user) {
  setObjectName("UserColourEditor");
  setWindowTitle(ui(N_("ﾕｰｻﾞｶﾗｰｲﾒｰｼﾞの編集")));
  buildControls();
  fillList();
  showEdit();
}

UserColourEditorDialog::~UserColourEditorDialog() = default;

QLineEdit* UserColourEditorDialog::field(int row, int channel) const {
  if (row < 0 || row >= kColourGridRows || channel < 0 || channel > 2) return nullptr;
  return fields_[static_cast<std::size_t>(row * 3 + channel)];
}

void UserColourEditorDialog::buildControls() {
  auto* layout = new QVBoxLayout(this);
  buildEntryRow(layout);
  auto* middle = new QHBoxLayout;
  buildGrid(middle);
  buildRamps(middle);
  buildSide(middle);
  layout->addLayout(middle);
  buildButtons(layout);
}

void UserColourEditorDialog::buildEntryRow(QVBoxLayout* layout) {
  // The list, "削除", the name, "追加" and "変更".
  auto* top = new QHBoxLayout;
  list_ = new QComboBox(this);
  list_->setObjectName("entryList");
  list_->setMinimumContentsLength(kNameFieldLength);
  auto* remove = controls::dialogButton(this, N_("削除"), "delete");
  name_ = new QLineEdit(this);
  name_->setObjectName("name");
  name_->setMaxLength(kNameFieldLength);
  name_->setMinimumWidth(editWidthFor(name_, QString(kNameFieldLength, QChar('X'))));
  auto* add = controls::dialogButton(this, N_("追加"), "add");
  auto* change = controls::dialogButton(this, N_("変更"), "change");
  top->addWidget(list_, 1);
  top->addWidget(remove);
  top->addWidget(name_, 1);
  top->addWidget(add);
  top->addWidget(change);
  layout->addLayout(top);
  connect(list_, &QComboBox::activated, this, &UserColourEditorDialog::chooseRow);
  connect(remove, &QPushButton::clicked, this,
          [this] { run([](UserColourEditing& session) { return session.remove(); }); });
  connect(change, &QPushButton::clicked, this,
          [this] { run([](UserColourEditing& session) { return session.change(); }); });
  connect(add, &QPushButton::clicked, this,
          [this] { run([](UserColourEditing& session) { return session.add(); }); });
}

void UserColourEditorDialog::buildGrid(QHBoxLayout* middle) {
  // The grid: grey value, R, G, B per row, and the scroll bar over grey values 0..240.
  auto* grid = new QGridLayout;
  for (int channel = 0; channel < 3; ++channel) {
    auto* heading = new QLabel(QString("RGB").mid(channel, 1), this);
    heading->setAlignment(Qt::AlignCenter);
    grid->addWidget(heading, 0, channel + 1);
  }
  for (int row = 0; row < kColourGridRows; ++row) {
    auto* grey = new QLabel(this);
    grey->setObjectName(QString("grey%1").arg(row));
    grey->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grey->setMinimumWidth(grey->fontMetrics().horizontalAdvance(widestNumber(grey, 255)));
    greys_[static_cast<std::size_t>(row)] = grey;
    grid->addWidget(grey, row + 1, 0);
    for (int channel = 0; channel < 3; ++channel) {
      QLineEdit* edit =
          numberField(this, QString("%1%2").arg(kChannelNames[channel]).arg(row));
      fields_[static_cast<std::size_t>(row * 3 + channel)] = edit;
      grid->addWidget(edit, row + 1, channel + 1);
      connect(edit, &QLineEdit::textEdited, this,
              [this, row, channel] { gridEdited(row, channel); });
      connect(edit, &QLineEdit::editingFinished, this, [edit] {
        edit->setText(QString::number(readValue(edit)));
      });
    }
  }
  scroll_ = new QScrollBar(Qt::Vertical, this);
  scroll_->setObjectName("gridScroll");
  scroll_->setRange(0, kLastFirstGrey);
  scroll_->setSingleStep(1);
  scroll_->setPageStep(kColourGridRows);
  scroll_->setFocusPolicy(Qt::NoFocus);
  grid->addWidget(scroll_, 1, 4, kColourGridRows, 1);
  middle->addLayout(grid);
  connect(scroll_, &QScrollBar::valueChanged, this, [this](int first) {
    session_->setFirstGrey(first);
    showGrid();
  });
}

void UserColourEditorDialog::buildRamps(QHBoxLayout* middle) {
  auto* ramps = new QHBoxLayout;
  constexpr const char* kRampNames[] = {"tableRamp", "redRamp", "greenRamp", "blueRamp"};
  for (std::size_t i = 0; i < ramps_.size(); ++i) {
    const auto show = static_cast<ColourRamp::Show>(i);
    auto* ramp = new ColourRamp(show, session_->edit().table, this);
    ramp->setObjectName(kRampNames[i]);
    connect(ramp, &ColourRamp::clickedAt, this,
            [this, show](int grey) { rampClicked(show, grey); });
    ramps_[i] = ramp;
    ramps->addWidget(ramp, 0, Qt::AlignTop);
  }
  middle->addLayout(ramps);
}

void UserColourEditorDialog::buildSide(QHBoxLayout* middle) {
  // Files, the picker and the interpolation, with the editor's remembered choices.
  auto* side = new QVBoxLayout;
  auto* read = controls::dialogButton(this, N_("読み込み"), "read", kReadHelp);
  auto* write = controls::dialogButton(this, N_("退避"), "write");
  side->addWidget(read);
  side->addWidget(write);
  auto* pick = controls::dialogButton(this, N_("色の参照"), "pick");
  // A click on the picker leaves the focus on the grid row it colours.
  pick->setFocusPolicy(Qt::TabFocus);
  side->addWidget(pick);
  auto* reference = new QHBoxLayout;
  for (int channel = 0; channel < 3; ++channel) {
    QLineEdit* shown = numberField(this, QString("reference%1").arg(channel));
    shown->setReadOnly(true);
    reference_[static_cast<std::size_t>(channel)] = shown;
    reference->addWidget(shown);
  }
  side->addLayout(reference);
  auto* range = new QHBoxLayout;
  from_ = numberField(this, "from");
  to_ = numberField(this, "to");
  range->addWidget(from_);
  range->addWidget(new QLabel(ui(N_("～")), this));
  range->addWidget(to_);
  side->addLayout(range);
  auto* ticks = new QHBoxLayout;
  for (int channel = 0; channel < 3; ++channel) {
    auto* tick = new QCheckBox(QString("RGB").mid(channel, 1), this);
    tick->setObjectName(QString("%1Tick").arg(kChannelNames[channel]));
    channels_[static_cast<std::size_t>(channel)] = tick;
    ticks->addWidget(tick);
  }
  side->addLayout(ticks);
  auto* interpolation = controls::dialogButton(this, N_("補間"), "interpolate", kInterpolateHelp);
  side->addWidget(interpolation);
  side->addStretch();
  middle->addLayout(side);

  const UserColourEditorState& state = session_->state();
  from_->setText(QString::number(state.from));
  to_->setText(QString::number(state.to));
  for (std::size_t channel = 0; channel < 3; ++channel) {
    channels_[channel]->setChecked(state.channels[channel]);
    reference_[channel]->setText(QString::number(state.lastColour[channel]));
  }
  connect(read, &QPushButton::clicked, this, &UserColourEditorDialog::readFile);
  connect(write, &QPushButton::clicked, this, &UserColourEditorDialog::writeFile);
  connect(pick, &QPushButton::clicked, this, &UserColourEditorDialog::pickColour);
  connect(interpolation, &QPushButton::clicked, this, &UserColourEditorDialog::interpolate);
}

void UserColourEditorDialog::buildButtons(QVBoxLayout* layout) {
  auto* buttons = new QHBoxLayout;
  auto* ok = controls::dialogButton(this, "OK", "ok");
  auto* update = controls::dialogButton(this, N_("更新"), "update");
  auto* cancel = controls::dialogButton(this, N_("ｷｬﾝｾﾙ"), "cancel");
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(update);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  connect(ok, &QPushButton::clicked, this, [this] {
    if (run([](UserColourEditing& session) { return session.finish(); })) accept();
  });
  connect(update, &QPushButton::clicked, this,
          [this] { run([](UserColourEditing& session) { return session.save(); }); });
  connect(cancel, &QPushButton::clicked, this, &UserColourEditorDialog::reject);
}

template <typename Step>
bool UserColourEditorDialog::run(Step step) {
  readControls();
  const bool done = step(*session_);
  if (done) {
    fillList();
    showEdit();
  }
  return done;
}

// The grid's fields write into the edit copy as they are typed; only the name is read here.
void UserColourEditorDialog::readControls() {
  UserColourEntry edit = session_->edit();
  edit.name = name_->text().toStdString();
  session_->setEdit(edit);
}

void UserColourEditorDialog::showEdit() {
  name_->setText(fromUtf8(session_->edit().name));
  showGrid();
}

void UserColourEditorDialog::showGrid() {
  const int first = session_->firstGrey();
  {
    const QSignalBlocker blocker(scroll_);
    scroll_->setValue(first);
  }
  for (int row = 0; row < kColourGridRows; ++row) {
    greys_[static_cast<std::size_t>(row)]->setText(QString::number(first + row));
    for (int channel = 0; channel < 3; ++channel) {
      field(row, channel)->setText(QString::number(session_->channel(first + row, channel)));
    }
  }
  for (ColourRamp* ramp : ramps_) ramp->update();
}

void UserColourEditorDialog::fillList() {
  const QSignalBlocker blocker(list_);
  list_->clear();
  for (const std::string& name : session_->names()) list_->addItem(fromUtf8(name));
  list_->setCurrentIndex(session_->selectedRow());
}

void UserColourEditorDialog::chooseRow(int row) {
  readControls();
  if (session_->choose(row)) {
    showEdit();
    return;
  }
  const QSignalBlocker blocker(list_);
  list_->setCurrentIndex(session_->selectedRow());
}

void UserColourEditorDialog::gridEdited(int row, int channel) {
  session_->setChannel(session_->firstGrey() + row, channel, readValue(field(row, channel)));
  ramps_[0]->update();
}

// The table ramp moves the grid, the channel ramps set the focused row's channel; either sets
// the "from" or "to" field that has the focus.
void UserColourEditorDialog::rampClicked(ColourRamp::Show show, int grey) {
  QWidget* focused = focusWidget();
  if (focused == from_ || focused == to_) {
    static_cast<QLineEdit*>(focused)->setText(QString::number(grey));
    return;
  }
  if (show == ColourRamp::Show::Table) {
    session_->setFirstGrey(std::min(grey, kLastFirstGrey));
    showGrid();
    return;
  }
  const auto found = std::find(fields_.begin(), fields_.end(), focused);
  if (found == fields_.end()) return;
  const int row = static_cast<int>(found - fields_.begin()) / 3;
  const int channel = static_cast<int>(show) - static_cast<int>(ColourRamp::Show::Red);
  session_->setChannel(session_->firstGrey() + row, channel, grey);
  showGrid();
}

void UserColourEditorDialog::readFile() {
  UserColourEditorState& state = session_->state();
  const QString path =
      dialogs_.open(ui(N_("ﾕｰｻﾞｶﾗｰｲﾒｰｼﾞﾌｧｲﾙの選択")), ui(kFileFilter), fromUtf8(state.path));
  if (path.isEmpty()) return;
  switch (session_->readFile(path.toStdString())) {
    case UserColourEditing::ReadOutcome::Read:
      showGrid();
      break;
    case UserColourEditing::ReadOutcome::Edit:
      openFileForEditing(this, path, ui(N_("ﾕｰｻﾞｶﾗｰｲﾒｰｼﾞ")), user_, dialogs_.desktop);
      break;
    case UserColourEditing::ReadOutcome::Refused:
      break;
  }
}

void UserColourEditorDialog::writeFile() {
  UserColourEditorState& state = session_->state();
  const QString path =
      dialogs_.save(ui(N_("ﾕｰｻﾞｶﾗｰｲﾒｰｼﾞﾌｧｲﾙの退避")), ui(kFileFilter), fromUtf8(state.path));
  if (!path.isEmpty()) session_->writeFile(path.toStdString());
}

void UserColourEditorDialog::pickColour() {
  UserColourEditorState& state = session_->state();
  const auto found = std::find(fields_.begin(), fields_.end(), focusWidget());
  const int row = found == fields_.end() ? -1 : static_cast<int>(found - fields_.begin()) / 3;
  const int grey = session_->firstGrey() + row;
  const QColor initial =
      row >= 0 ? QColor(session_->channel(grey, 0), session_->channel(grey, 1),
                        session_->channel(grey, 2))
               : QColor(state.lastColour[0], state.lastColour[1], state.lastColour[2]);
  const std::optional<QColor> chosen = dialogs_.chooseColour(initial, state.customColours);
  if (!chosen) return;
  state.lastColour = {static_cast<std::uint8_t>(chosen->red()),
                      static_cast<std::uint8_t>(chosen->green()),
                      static_cast<std::uint8_t>(chosen->blue())};
  for (std::size_t channel = 0; channel < 3; ++channel) {
    reference_[channel]->setText(QString::number(state.lastColour[channel]));
  }
  if (row < 0) return;
  session_->setColour(grey, state.lastColour);
  showGrid();
}

void UserColourEditorDialog::interpolate() {
  session_->interpolate(readValue(from_), readValue(to_),
                        {channels_[0]->isChecked(), channels_[1]->isChecked(),
                         channels_[2]->isChecked()});
  from_->setText(QString::number(session_->state().from));
  to_->setText(QString::number(session_->state().to));
  showGrid();
}

void UserColourEditorDialog::reject() {
  if (session_->cancel()) QDialog::reject();
}

}  // namespace vemla
