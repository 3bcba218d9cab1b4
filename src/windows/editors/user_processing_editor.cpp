#include "windows/editors/user_processing_editor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <array>
#include <utility>

#include "extensions/expression_rules.h"
#include "windows/editors/explanation_dialog.h"
#include "windows/editors/plain_text_field.h"
#include "windows/main/quick_help.h"
#include "windows/main/text_fit.h"
#include "windows/main/ui_text.h"
#include "windows/main/widget_factory.h"

namespace vemla {

using text::N_;
namespace {

constexpr int kSide = kFilterGridSide;
constexpr int kCentre = kFilterGridSide / 2;

constexpr const char* kFilterText =
    N_("ΣP(x,y)*e の計算が実行されます\n※P(x,y):画素が持つ値 x,y:ｶﾚﾝﾄからのｵﾌｾｯﾄ値 e:ﾌｨﾙﾀ要素の値");
constexpr const char* kExpressionText =
    N_("P1(x,y)で画像１、P2(x,y)で画像２の対応する画素が指定可能です");
constexpr const char* kExpressionNote = N_("※x,y：ｶﾚﾝﾄ画素からのｵﾌｾｯﾄ値");

// Quick help by object name.
struct HelpText {
  const char* control;
  const char* text;
};
constexpr HelpText kHelpTexts[] = {
    {"ok", N_("編集された内容を有効にして終了します")},
    {"cancel", N_("編集された内容を破棄して終了します")},
    {"clearAll", N_("ﾌｨﾙﾀの全要素をｸﾘｱします")},
    {"explain", N_("画像処理式の規約を表示します")},
    {"correction", N_("ﾌｨﾙﾀ演算して求められた総和値を指定値\nで除算した結果を最終的な値とします")},
    {"update", N_("編集された内容を有効にします")},
    {"delete", N_("現在選択されているﾕｰｻﾞ簡易\n画像処理を削除します")},
    {"expression", N_("画像処理式を指定します")},
    {"name", N_("現在編集中のﾕｰｻﾞ簡易画像処理を表します")},
    {"entryList", N_("編集対象とするﾕｰｻﾞ簡易画像処理を選択します")},
    {"divisor", N_("総和値を補正する時の除数です")},
    {"picture1", N_("ﾌｨﾙﾀ演算する画像を指定します")},
    {"picture2", N_("ﾌｨﾙﾀ演算する画像を指定します")},
    {"change", N_("選択されているﾕｰｻﾞ簡易画像処理を編集中の内容に変更します\n"
                  "画像処理名が異なる場合は名前も変更されます\n"
                  "この画像処理を表示中のｲﾒｰｼﾞは自動的に更新されます")},
    {"add", N_("編集中の内容をﾕｰｻﾞ簡易画像処理として追加します\n"
               "追加された画像処理は『ｲﾒｰｼﾞ制御情報』から選択が可能となります")},
    {"filterForm", N_("ﾌｨﾙﾀ要素で重み付けした周囲の画素の総和を求めます\n"
                      "ΣP(x,y)*e の計算が実行されます\n"
                      "※P(x,y):画素が持つ値 x,y:ｶﾚﾝﾄからのｵﾌｾｯﾄ値 e:ﾌｨﾙﾀ要素の値\n"
                      "※途中の値が浮動小数の最大値(約1.8e+308)を超えた場合の結果は保証されません")},
    {"expressionForm", N_("画像処理式で画素の値を計算します\n"
                          "P1(x,y)で画像１、P2(x,y)で画像２の対応する画素が指定可能です\n"
                          "※x,y：ｶﾚﾝﾄ画素からのｵﾌｾｯﾄ値")},
};
constexpr const char* kElementHelp =
    N_("各ｵﾌｾｯﾄ画素の要素値を指定します\n符号付き浮動小数の指定が可能です");

// The fields' lengths as the file's fixed fields allow them (the editor refuses what is longer
// than the entry may hold).
constexpr int kNameFieldLength = 31;
constexpr int kElementFieldLength = 15;
constexpr int kDivisorFieldLength = 11;

QString fromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString offsetLabel(int offset) {
  return offset > 0 ? QString("+%1").arg(offset) : QString::number(offset);
}

}  // namespace

void editUserProcessing(QWidget* parent, Workbench& bench, UserPort& user, BusyPort& busy,
                        ProgressPort& progress) {
  if (bench.secondCopy && !user.askYesNo(text::tr(msg::user_processing::kSecondCopyEditQuestion)))
    return;
  // The selection is kept between openings.
  UserProcessingEditorDialog dialog(bench, bench.shell.userProcessingSelection, user, busy,
                                    progress, parent);
  dialog.exec();
}

UserProcessingEditorDialog::UserProcessingEditorDialog(Workbench& bench, int& selection,
                                                       UserPort& user, BusyPort& busy,
                                                       ProgressPort& progress, QWidget* parent)
    : QDialog(parent),
      session_(std::make_unique<UserProcessingEditing>(bench, selection, user, busy, progress)) {
  setObjectName("UserProcessingEditor");
  setWindowTitle(ui(N_("ﾕｰｻﾞ簡易画像処理の編集")));
  buildControls();
  addQuickHelp();
  fillList();
  showEdit();
}

UserProcessingEditorDialog::~UserProcessingEditorDialog() = default;

QLineEdit* UserProcessingEditorDialog::element(int x, int y) const {
  if (x < -kCentre || x > kCentre || y < -kCentre || y > kCentre) return nullptr;
  return elements_[static_cast<std::size_t>((y + kCentre) * kSide + x + kCentre)];
}

void UserProcessingEditorDialog::buildControls() {
  auto* layout = new QVBoxLayout(this);
  buildChoice(layout);
  buildFilter(layout);
  buildExpression(layout);
  buildButtons(layout);
  connect(list_, &QComboBox::activated, this, &UserProcessingEditorDialog::chooseRow);
  connect(filterForm_, &QRadioButton::toggled, this,
          &UserProcessingEditorDialog::updateFormControls);
  connect(clearAll_, &QPushButton::clicked, this, [this] {
    run([](UserProcessingEditing& session) {
      session.clearElements();
      return true;
    });
  });
  connect(explain_, &QPushButton::clicked, this,
          [this] { showExplanation(this, imageExpressionRules()); });
}

void UserProcessingEditorDialog::buildChoice(QVBoxLayout* layout) {
  // The list under the menu's name for the entries, the field under the name its messages use.
  auto* top = new QHBoxLayout;
  list_ = new QComboBox(this);
  list_->setObjectName("entryList");
  list_->setMinimumContentsLength(kNameFieldLength);
  name_ = new QLineEdit(this);
  name_->setObjectName("name");
  name_->setMaxLength(kNameFieldLength);
  // Room for as many characters as the list beside it keeps for its names.
  name_->setMinimumWidth(editWidthFor(name_, QString(kNameFieldLength, QChar('X'))));
  const std::array<std::pair<const char*, QWidget*>, 2> labelled{
      {{N_("ﾕｰｻﾞ簡易画像処理"), list_}, {N_("画像処理名"), name_}}};
  for (const auto& [text, field] : labelled) {
    auto* label = new QLabel(ui(text), this);
    label->setBuddy(field);
    top->addWidget(label);
    top->addWidget(field, 1);
  }
  layout->addLayout(top);

  auto* forms = new QWidget(this);
  auto* formRow = new QHBoxLayout(forms);
  formRow->setContentsMargins(0, 0, 0, 0);
  filterForm_ = controls::radioButton(forms, N_("ﾌｨﾙﾀ"), "filterForm", nullptr);
  expressionForm_ = controls::radioButton(forms, N_("式"), "expressionForm", nullptr);
  formRow->addWidget(filterForm_);
  formRow->addWidget(expressionForm_);
  formRow->addStretch();
  layout->addWidget(forms);
}

void UserProcessingEditorDialog::buildFilter(QVBoxLayout* layout) {
  // The filter: the 9 x 9 grid labelled -4 .. +4 both ways, its picture, correction, divisor.
  filterArea_ = new QWidget(this);
  auto* filterLayout = new QVBoxLayout(filterArea_);
  filterLayout->setContentsMargins(0, 0, 0, 0);
  auto* grid = new QGridLayout;
  for (int i = 0; i < kSide; ++i) {
    auto* column = new QLabel(offsetLabel(i - kCentre), filterArea_);
    column->setAlignment(Qt::AlignCenter);
    grid->addWidget(column, 0, i + 1);
    grid->addWidget(new QLabel(offsetLabel(i - kCentre), filterArea_), i + 1, 0);
  }
  for (int row = 0; row < kSide; ++row) {
    for (int column = 0; column < kSide; ++column) {
      auto* edit = new QLineEdit(filterArea_);
      edit->setObjectName(QString("element%1,%2").arg(column - kCentre).arg(row - kCentre));
      edit->setMaxLength(kElementFieldLength);
      edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 7);
      elements_[static_cast<std::size_t>(row * kSide + column)] = edit;
      grid->addWidget(edit, row + 1, column + 1);
    }
  }
  filterLayout->addLayout(grid);
  auto* filterRow = new QHBoxLayout;
  auto* pictures = new QWidget(filterArea_);
  auto* pictureRow = new QHBoxLayout(pictures);
  pictureRow->setContentsMargins(0, 0, 0, 0);
  picture1_ = controls::radioButton(pictures, N_("画像１"), "picture1", nullptr);
  picture2_ = controls::radioButton(pictures, N_("画像２"), "picture2", nullptr);
  pictureRow->addWidget(picture1_);
  pictureRow->addWidget(picture2_);
  filterRow->addWidget(pictures);
  correction_ = controls::checkBox(filterArea_, N_("補正　　　 Σ／"), "correction", nullptr);
  filterRow->addWidget(correction_);
  divisor_ = new QLineEdit(filterArea_);
  divisor_->setObjectName("divisor");
  divisor_->setMaxLength(kDivisorFieldLength);
  filterRow->addWidget(divisor_);
  filterRow->addStretch();
  clearAll_ = controls::dialogButton(this, N_("全ｸﾘｱ"), "clearAll");
  filterRow->addWidget(clearAll_);
  filterLayout->addLayout(filterRow);
  filterLayout->addWidget(controls::plainLabel(filterArea_, kFilterText));
  layout->addWidget(filterArea_);
}

void UserProcessingEditorDialog::buildExpression(QVBoxLayout* layout) {
  // The expression with its explanation.
  expressionArea_ = new QWidget(this);
  auto* expressionLayout = new QVBoxLayout(expressionArea_);
  expressionLayout->setContentsMargins(0, 0, 0, 0);
  auto* expressionRow = new QHBoxLayout;
  expressionRow->addWidget(controls::plainLabel(expressionArea_, kExpressionText), 1);
  explain_ = controls::dialogButton(this, N_("説明"), "explain");
  expressionRow->addWidget(explain_);
  expressionLayout->addLayout(expressionRow);
  expressionLayout->addWidget(controls::plainLabel(expressionArea_, kExpressionNote));
  expression_ = new PlainTextField(expressionArea_);
  expression_->setObjectName("expression");
  expression_->setTabChangesFocus(true);
  expression_->setFixedHeight(expression_->fontMetrics().lineSpacing() * 5);
  expressionLayout->addWidget(expression_);
  layout->addWidget(expressionArea_);
}

void UserProcessingEditorDialog::buildButtons(QVBoxLayout* layout) {
  auto* buttons = new QHBoxLayout;
  struct ButtonSpec {
    const char* name;
    const char* text;
  };
  constexpr ButtonSpec kButtons[] = {{"delete", N_("削除")}, {"change", N_("変更")},
                                     {"add", N_("追加")},    {"ok", "OK"},
                                     {"update", N_("更新")}, {"cancel", N_("ｷｬﾝｾﾙ")}};
  std::array<QPushButton*, 6> made{};
  for (std::size_t i = 0; i < made.size(); ++i) {
    made[i] = controls::dialogButton(this, kButtons[i].text, kButtons[i].name);
    buttons->addWidget(made[i]);
  }
  layout->addLayout(buttons);
  connect(made[0], &QPushButton::clicked, this,
          [this] { run([](UserProcessingEditing& session) { return session.remove(); }); });
  connect(made[1], &QPushButton::clicked, this,
          [this] { run([](UserProcessingEditing& session) { return session.change(); }); });
  connect(made[2], &QPushButton::clicked, this,
          [this] { run([](UserProcessingEditing& session) { return session.add(); }); });
  connect(made[3], &QPushButton::clicked, this, [this] {
    if (run([](UserProcessingEditing& session) { return session.finish(); })) accept();
  });
  connect(made[4], &QPushButton::clicked, this,
          [this] { run([](UserProcessingEditing& session) { return session.save(); }); });
  connect(made[5], &QPushButton::clicked, this, &UserProcessingEditorDialog::reject);
}

void UserProcessingEditorDialog::addQuickHelp() {
  for (const HelpText& help : kHelpTexts) {
    if (auto* control = findChild<QWidget*>(help.control)) {
      setQuickHelp(control, ui(help.text));
    }
  }
  for (QLineEdit* edit : elements_) setQuickHelp(edit, ui(kElementHelp));
}

template <typename Step>
bool UserProcessingEditorDialog::run(Step step) {
  readControls();
  const bool done = step(*session_);
  if (done) {
    fillList();
    showEdit();
  }
  return done;
}

void UserProcessingEditorDialog::readControls() {
  UserProcessingEntry edit = session_->edit();
  edit.name = name_->text().toStdString();
  edit.form = expressionForm_->isChecked() ? 1 : 0;
  edit.filterPicture = picture2_->isChecked() ? 1 : 0;
  for (std::size_t i = 0; i < elements_.size(); ++i) {
    edit.elements[i] = elements_[i]->text().toStdString();
  }
  edit.correction = correction_->isChecked() ? 1 : 0;
  edit.divisor = divisor_->text().toStdString();
  edit.expression = expression_->toPlainText().toStdString();
  session_->setEdit(edit);
}

void UserProcessingEditorDialog::showEdit() {
  const UserProcessingEntry& edit = session_->edit();
  name_->setText(fromUtf8(edit.name));
  (edit.form == 1 ? expressionForm_ : filterForm_)->setChecked(true);
  (edit.filterPicture == 1 ? picture2_ : picture1_)->setChecked(true);
  for (std::size_t i = 0; i < elements_.size(); ++i) {
    elements_[i]->setText(fromUtf8(edit.elements[i]));
  }
  correction_->setChecked(edit.correction == 1);
  divisor_->setText(fromUtf8(edit.divisor));
  expression_->setPlainText(fromUtf8(edit.expression));
  updateFormControls();
}

void UserProcessingEditorDialog::fillList() {
  const QSignalBlocker blocker(list_);
  list_->clear();
  for (const std::string& name : session_->names()) list_->addItem(fromUtf8(name));
  list_->setCurrentIndex(session_->selectedRow());
}

void UserProcessingEditorDialog::updateFormControls() {
  const bool filter = filterForm_->isChecked();
  filterArea_->setEnabled(filter);
  expressionArea_->setEnabled(!filter);
}

void UserProcessingEditorDialog::chooseRow(int row) {
  readControls();
  if (session_->choose(row)) {
    showEdit();
    return;
  }
  const QSignalBlocker blocker(list_);
  list_->setCurrentIndex(session_->selectedRow());
}

void UserProcessingEditorDialog::reject() {
  if (session_->cancel()) QDialog::reject();
}

}  // namespace vemla
