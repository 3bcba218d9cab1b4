#include "windows/extensions/launcher_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "extensions/launcher_messages.h"
#include "picture/file_helpers.h"
#include "picture/messages.h"
#include "platform/user_program.h"
#include "text/cp932.h"
#include "text/format.h"
#include "windows/main/quick_help.h"
#include "windows/main/text_fit.h"
#include "windows/main/ui_text.h"
#include "workbench/commands/command_handlers.h"

namespace vemla {

using text::N_;
namespace {

constexpr const char* kLegend =
    N_("<P1>：画像1  <P2>：画像2  <I1>：ｲﾒｰｼﾞ1  <I2>：ｲﾒｰｼﾞ2  <Gn>：ｷﾞｬﾗﾘｰ(n：ｷﾞｬﾗﾘｰ番号 1～)\n"
       "<F1>～<F4>：ﾕｰｻﾞ任意のﾌｧｲﾙ\n"
       "<SX>：ｻｲｽﾞX  <SY>：ｻｲｽﾞY  <CX>：ｶｰｿﾙ位置X　<CY>：ｶｰｿﾙ位置Y\n"
       "<OUT>：ﾌﾟﾛｸﾞﾗﾑの出力結果（「ﾌﾟﾛｸﾞﾗﾑからの出力あり」時は必須）");
constexpr const char* kLaunchFileFilter = N_("Vemlaﾕｰｻﾞﾌﾟﾛｸﾞﾗﾑ起動情報ﾌｧｲﾙ (*.vie)");

// Quick help by object name.
struct HelpText {
  const char* control;
  const char* text;
};
constexpr HelpText kHelpTexts[] = {
    {"program", N_("起動するﾕｰｻﾞﾌﾟﾛｸﾞﾗﾑのﾊﾟｽ名を指定します")},
    {"arguments", N_("ﾌﾟﾛｸﾞﾗﾑに渡す引数を指定します\n<P1>などの記号は実行時に置き換えられます")},
    {"browseProgram", N_("起動するﾌﾟﾛｸﾞﾗﾑをﾌｧｲﾙの選択画面から指定します")},
    {"bitmap", N_("画像をﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙ(256色)でﾌﾟﾛｸﾞﾗﾑに渡します")},
    {"raw", N_("画像をRAWﾌｧｲﾙでﾌﾟﾛｸﾞﾗﾑに渡します")},
    {"output", N_("ﾌﾟﾛｸﾞﾗﾑが<OUT>に出力した画像を\n『ﾕｰｻﾞﾌﾟﾛｸﾞﾗﾑ結果』として読み込みます")},
    {"noSwitch", N_("実行後もｲﾒｰｼﾞの表示内容を切り替えません")},
    {"toImage1", N_("実行後にｲﾒｰｼﾞ1を『ﾕｰｻﾞﾌﾟﾛｸﾞﾗﾑ結果』に切り替えます")},
    {"toImage2", N_("実行後にｲﾒｰｼﾞ2を『ﾕｰｻﾞﾌﾟﾛｸﾞﾗﾑ結果』に切り替えます")},
    {"console", N_("ﾌﾟﾛｸﾞﾗﾑの出力をVemlaの端末に出力します")},
    {"showOutput", N_("ﾌﾟﾛｸﾞﾗﾑの標準出力の内容を一覧に表示します")},
    {"timing", N_("ﾌﾟﾛｸﾞﾗﾑの処理時間を一覧に表示します")},
    {"closeAfterRun", N_("実行が正常に完了したらﾀﾞｲｱﾛｸﾞを閉じます")},
    {"results", N_("ﾌﾟﾛｸﾞﾗﾑの実行結果を表示します")},
    {"run", N_("ﾌﾟﾛｸﾞﾗﾑを実行します")},
    {"confirm", N_("ﾌﾟﾛｸﾞﾗﾑに渡される引数を確認します（ﾌｧｲﾙは作成されません）")},
    {"cancel", N_("編集された内容を破棄して終了します")},
    {"update", N_("編集された内容を有効にします")},
    {"restore", N_("起動情報をﾌｧｲﾙから読み込みます")},
    {"saveFile", N_("起動情報をﾌｧｲﾙに退避します")},
    {"memo", N_("ﾒﾓﾌｧｲﾙを開きます")},
    {"finish", N_("編集された内容を有効にし、ﾃﾝﾎﾟﾗﾘﾌｧｲﾙを削除して終了します")},
};

QString fromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void runUserProgramDialog(QWidget* parent, Workbench& bench, UserPort& user, BusyPort& busy,
                          ProgressPort& progress, const FileDialogs& dialogs,
                          const std::function<void(const QString&)>& openForEditing) {
  platform::PosixProgramRunner runner;
  LauncherDialog dialog(bench, user, busy, progress, runner, dialogs, openForEditing, parent);
  dialog.exec();
}

LauncherDialog::LauncherDialog(Workbench& bench, UserPort& user, BusyPort& busy,
                               ProgressPort& progress, ProgramRunnerPort& runner,
                               FileDialogs dialogs,
                               std::function<void(const QString&)> openForEditing, QWidget* parent)
    : QDialog(parent),
      bench_(bench),
      user_(user),
      busy_(busy),
      progress_(progress),
      runner_(runner),
      dialogs_(std::move(dialogs)),
      openForEditing_(std::move(openForEditing)) {
  setObjectName("UserProgram");
  setWindowTitle(ui(N_("ﾕｰｻﾞﾌﾟﾛｸﾞﾗﾑの起動(EXE)")));
  buildControls();
  addQuickHelp();
  showSettings(bench_.launcher);
}

QPushButton* LauncherDialog::button(const char* objectName) const {
  return findChild<QPushButton*>(objectName);
}

namespace {

QPushButton* newButton(QWidget* parent, const char* name, const char* text) {
  auto* button = new QPushButton(ui(text), parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  button->setFixedWidth(buttonWidthFor(button));
  return button;
}

QLineEdit* newPathEdit(QWidget* parent, const QString& name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  // Room for a typical path; longer ones scroll.
  edit->setMinimumWidth(editWidthFor(edit, QString(48, QChar('M'))));
  return edit;
}

}  // namespace

void LauncherDialog::buildControls() {
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buildPaths());
  layout->addLayout(buildSwitches());
  auto* legend = new QLabel(ui(kLegend), this);
  legend->setObjectName("legend");
  legend->setTextFormat(Qt::PlainText);
  layout->addWidget(legend);
  results_ = new QListWidget(this);
  results_->setObjectName("results");
  results_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  results_->setContextMenuPolicy(Qt::CustomContextMenu);
  results_->setMinimumHeight(results_->fontMetrics().height() * 6);
  connect(results_, &QListWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { showResultMenu(at); });
  layout->addWidget(results_, 1);
  layout->addLayout(buildButtons());
}

// The program, the argument template and the four user files, each with its buttons.
QGridLayout* LauncherDialog::buildPaths() {
  auto* paths = new QGridLayout;
  program_ = newPathEdit(this, "program");
  QPushButton* browseProgram = newButton(this, "browseProgram", N_("参照"));
  paths->addWidget(new QLabel(ui(N_("起動ﾌﾟﾛｸﾞﾗﾑ")), this), 0, 0);
  paths->addWidget(program_, 0, 1);
  paths->addWidget(browseProgram, 0, 2);
  connect(browseProgram, &QPushButton::clicked, this, [this] {
    const QStringList names = dialogs_.open(ui(N_("起動ﾌﾟﾛｸﾞﾗﾑの選択")), ui(N_("実行形式ﾌｧｲﾙ (*)")),
                                            false, program_->text());
    if (!names.isEmpty()) program_->setText(names.front());
  });
  template_ = newPathEdit(this, "arguments");
  paths->addWidget(new QLabel(ui(N_("引数")), this), 1, 0);
  paths->addWidget(template_, 1, 1, 1, 3);
  for (int i = 0; i < 4; ++i) {
    QLineEdit* edit = newPathEdit(this, QString("file%1").arg(i + 1));
    files_[static_cast<std::size_t>(i)] = edit;
    QPushButton* browse = newButton(this, "", N_("参照"));
    browse->setObjectName(QString("browseFile%1").arg(i + 1));
    QPushButton* edit_ = newButton(this, "", N_("編集"));
    edit_->setObjectName(QString("editFile%1").arg(i + 1));
    setQuickHelp(edit, ui(N_("<F%1>に置き換えられるﾌｧｲﾙ名を指定します")).arg(i + 1));
    setQuickHelp(browse, ui(N_("ﾕｰｻﾞ任意ﾌｧｲﾙ%1 をﾌｧｲﾙの選択画面から指定します")).arg(i + 1));
    setQuickHelp(edit_, ui(N_("ﾕｰｻﾞ任意ﾌｧｲﾙ%1 を開きます")).arg(i + 1));
    paths->addWidget(new QLabel(ui(N_("ﾕｰｻﾞ任意ﾌｧｲﾙ%1")).arg(i + 1), this), 2 + i, 0);
    paths->addWidget(edit, 2 + i, 1);
    paths->addWidget(browse, 2 + i, 2);
    paths->addWidget(edit_, 2 + i, 3);
    connect(browse, &QPushButton::clicked, this, [this, i, edit] {
      const QStringList names = dialogs_.open(ui(N_("ﾕｰｻﾞ任意ﾌｧｲﾙ%1 の選択")).arg(i + 1),
                                              ui(N_("全てのﾌｧｲﾙ (*)")), false, edit->text());
      if (!names.isEmpty()) edit->setText(names.front());
    });
    connect(edit_, &QPushButton::clicked, this, [this, edit] {
      if (!edit->text().isEmpty()) openForEditing_(edit->text());
    });
  }
  return paths;
}

// The file format, the output with its destination, and the run's switches.
QHBoxLayout* LauncherDialog::buildSwitches() {
  auto* switches = new QHBoxLayout;
  auto* format = new QGroupBox(this);
  auto* formatLayout = new QVBoxLayout(format);
  bitmap_ = new QRadioButton(ui(N_("ﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙ")), format);
  bitmap_->setObjectName("bitmap");
  raw_ = new QRadioButton(ui(N_("RAWﾌｧｲﾙ")), format);
  raw_->setObjectName("raw");
  formatLayout->addWidget(bitmap_);
  formatLayout->addWidget(raw_);
  switches->addWidget(format);

  auto* output = new QGroupBox(this);
  auto* outputLayout = new QVBoxLayout(output);
  output_ = new QCheckBox(ui(N_("ﾌﾟﾛｸﾞﾗﾑからの出力あり")), output);
  output_->setObjectName("output");
  outputLayout->addWidget(output_);
  auto* destinations = new QHBoxLayout;
  outputLayout->addLayout(destinations);
  const std::array<std::pair<const char*, const char*>, 3> destinationTexts{
      {{"noSwitch", N_("切替なし")}, {"toImage1", N_("ｲﾒｰｼﾞ1")}, {"toImage2", N_("ｲﾒｰｼﾞ2")}}};
  for (std::size_t i = 0; i < destination_.size(); ++i) {
    destination_[i] = new QRadioButton(ui(destinationTexts[i].second), output);
    destination_[i]->setObjectName(destinationTexts[i].first);
    destinations->addWidget(destination_[i]);
  }
  switches->addWidget(output);

  auto* checks = new QVBoxLayout;
  switches->addLayout(checks);
  const auto addCheck = [this, checks](const char* name, const char* text) {
    auto* check = new QCheckBox(ui(text), this);
    check->setObjectName(name);
    checks->addWidget(check);
    return check;
  };
  console_ = addCheck("console", N_("ｺﾝｿｰﾙ出力"));
  showOutput_ = addCheck("showOutput", N_("標準出力の内容を表示"));
  timing_ = addCheck("timing", N_("処理時間を表示"));
  close_ = addCheck("closeAfterRun", N_("実行完了でﾀﾞｲｱﾛｸﾞを閉じる"));
  connect(console_, &QCheckBox::toggled, this, [this] { updateSwitches(); });
  return switches;
}

// The row of buttons under the result list.
QHBoxLayout* LauncherDialog::buildButtons() {
  auto* buttons = new QHBoxLayout;
  const std::array<std::pair<const char*, const char*>, 8> buttonTexts{{{"confirm", N_("確認")},
                                                                        {"run", N_("実行")},
                                                                        {"update", N_("更新")},
                                                                        {"restore", N_("回復")},
                                                                        {"saveFile", N_("退避")},
                                                                        {"memo", N_("メモ")},
                                                                        {"finish", N_("終了")},
                                                                        {"cancel", N_("ｷｬﾝｾﾙ")}}};
  for (const auto& [name, text] : buttonTexts) buttons->addWidget(newButton(this, name, text));
  connect(button("confirm"), &QPushButton::clicked, this, [this] { confirm(); });
  connect(button("run"), &QPushButton::clicked, this, [this] { run(); });
  connect(button("update"), &QPushButton::clicked, this, [this] { commit(); });
  connect(button("restore"), &QPushButton::clicked, this, [this] { restore(); });
  connect(button("saveFile"), &QPushButton::clicked, this, [this] { save(); });
  connect(button("memo"), &QPushButton::clicked, this,
          [this] { openForEditing_(fromUtf8(memoPath(bench_))); });
  connect(button("finish"), &QPushButton::clicked, this, [this] { finish(); });
  connect(button("cancel"), &QPushButton::clicked, this, &QDialog::reject);
  return buttons;
}

void LauncherDialog::addQuickHelp() {
  for (const HelpText& help : kHelpTexts) {
    if (auto* control = findChild<QWidget*>(help.control)) {
      setQuickHelp(control, ui(help.text));
    }
  }
}

void LauncherDialog::showSettings(const LauncherSettings& s) {
  program_->setText(fromUtf8(s.program));
  template_->setText(fromUtf8(s.arguments));
  for (std::size_t i = 0; i < files_.size(); ++i) files_[i]->setText(fromUtf8(s.files[i]));
  (s.format == 1 ? raw_ : bitmap_)->setChecked(true);
  output_->setChecked(s.output == 1);
  destination_[static_cast<std::size_t>(s.destination >= 0 && s.destination <= 2 ? s.destination
                                                                                 : 0)]
      ->setChecked(true);
  console_->setChecked(s.console == 1);
  showOutput_->setChecked(s.showOutput == 1);
  timing_->setChecked(s.timing == 1);
  close_->setChecked(s.close == 1);
  updateSwitches();
}

void LauncherDialog::updateSwitches() {
  showOutput_->setEnabled(!console_->isChecked());
}

std::optional<LauncherSettings> LauncherDialog::settingsFromControls() {
  LauncherSettings s;
  std::array<std::pair<QLineEdit*, std::string*>, 6> texts{{{program_, &s.program},
                                                            {template_, &s.arguments},
                                                            {files_[0], &s.files[0]},
                                                            {files_[1], &s.files[1]},
                                                            {files_[2], &s.files[2]},
                                                            {files_[3], &s.files[3]}}};
  for (const auto& [edit, text] : texts) {
    *text = edit->text().toStdString();
    const std::optional<std::string> stored = text::utf8ToCp932(*text);
    if (!stored) {
      user_.tell(Icon::Warning, std::string(text::tr(msg::kNameUnstorable)) + "\n" + *text);
      edit->setFocus();
      return std::nullopt;
    }
    if (stored->size() > kLaunchTextBytes - 1) {
      user_.tell(Icon::Warning, text::tr(msg::kNameTooLong));
      edit->setFocus();
      return std::nullopt;
    }
  }
  s.format = raw_->isChecked() ? 1 : 0;
  s.output = output_->isChecked() ? 1 : 0;
  s.destination = destination_[1]->isChecked() ? 1 : destination_[2]->isChecked() ? 2 : 0;
  s.console = console_->isChecked() ? 1 : 0;
  s.showOutput = showOutput_->isChecked() ? 1 : 0;
  s.timing = timing_->isChecked() ? 1 : 0;
  s.close = close_->isChecked() ? 1 : 0;
  return s;
}

bool LauncherDialog::commit() {
  const std::optional<LauncherSettings> settings = settingsFromControls();
  if (settings) commitLauncherSettings(bench_, *settings);
  return settings.has_value();
}

void LauncherDialog::run() {
  const std::optional<LauncherSettings> settings = settingsFromControls();
  if (!settings) return;
  const LaunchResult result = runUserProgram(bench_, user_, busy_, progress_, runner_, *settings);
  if (result.status == LaunchResult::Status::Refused) return;
  results_->clear();
  for (const std::string& line : result.lines) results_->addItem(fromUtf8(line));
  // The list scrolls sideways to its widest line.
  results_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  // A non-zero exit status keeps the dialog open, so that the list shows it.
  if (result.status == LaunchResult::Status::Ran && result.exitStatus == 0 &&
      settings->close == 1) {
    accept();
  }
}

void LauncherDialog::confirm() {
  const std::optional<LauncherSettings> settings = settingsFromControls();
  if (!settings) return;
  const std::optional<std::vector<std::string>> lines = confirmLaunch(bench_, user_, *settings);
  if (!lines) return;
  std::string text;
  for (const std::string& line : *lines) text += line + "\n";
  user_.tell(Icon::Info, text, text::tr("ｱｰｷﾞｭﾒﾝﾄの情報"));
}

void LauncherDialog::restore() {
  const QStringList names =
      dialogs_.open(ui(N_("ﾕｰｻﾞﾌﾟﾛｸﾞﾗﾑ起動情報の選択")), ui(kLaunchFileFilter), false, {});
  if (names.isEmpty()) return;
  const std::string path = names.front().toStdString();
  const auto bytes = readFilePrefix(path, kLaunchFileBytes);
  const auto told = [this, &path](const char* format) {
    user_.tell(Icon::Warning, text::format(text::tr(format), path.c_str()));
  };
  std::optional<LauncherSettings> settings = settingsFromControls();
  if (!settings) settings = bench_.launcher;
  if (!bytes) return told(launcher_msg::kFileReadError);
  switch (decodeLaunchFile(*bytes, *settings)) {
    case LaunchFileStatus::Short:
      return told(launcher_msg::kFileReadError);
    case LaunchFileStatus::NotLaunchFile:
      return told(launcher_msg::kNotLaunchFile);
    case LaunchFileStatus::Ok:
      showSettings(*settings);
      return;
  }
}

void LauncherDialog::save() {
  const std::optional<LauncherSettings> settings = settingsFromControls();
  if (!settings) return;
  const std::string path =
      dialogs_.save(ui(N_("ﾕｰｻﾞﾌﾟﾛｸﾞﾗﾑ起動情報の退避")), ui(kLaunchFileFilter), {}).toStdString();
  if (path.empty()) return;
  const auto bytes = encodeLaunchFile(*settings);
  if (!writeFileAtomically(path, bytes)) {
    user_.tell(Icon::Warning, text::format(text::tr(launcher_msg::kFileWriteError), path.c_str()));
  }
}

void LauncherDialog::finish() {
  if (!commit()) return;
  deleteLaunchFiles(bench_);
  accept();
}

void LauncherDialog::showResultMenu(const QPoint& at) {
  QMenu menu(this);
  QAction* cut = menu.addAction(ui(N_("切り取り")));
  QAction* copy = menu.addAction(ui(N_("コピー")));
  menu.addAction(ui(N_("キャンセル")));
  const bool chosen = !results_->selectedItems().isEmpty();
  cut->setEnabled(chosen);
  copy->setEnabled(chosen);
  QAction* picked = menu.exec(results_->viewport()->mapToGlobal(at));
  if (picked != cut && picked != copy) return;
  QStringList lines;
  for (int row = 0; row < results_->count(); ++row) {
    if (results_->item(row)->isSelected()) lines << results_->item(row)->text();
  }
  QApplication::clipboard()->setText(lines.join('\n'));
  if (picked == cut) qDeleteAll(results_->selectedItems());
}

}  // namespace vemla
