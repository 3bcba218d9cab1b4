#include "windows/exchange/exchange_windows.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>

#include "net/export_targets.h"
#include "net/transfer_messages.h"
#include "text/cp932.h"
#include "windows/main/ui_text.h"
#include "windows/main/widget_factory.h"
#include "workbench/net/picture_exchange.h"
#include "workbench/picture/open_pictures.h"

namespace vemla {

using text::N_;
namespace {

// Refuses every edit after which the text would no longer fit its fixed CP932 field, so a
// name or password is never cut or stored lossily.
class FixedFieldValidator final : public QValidator {
 public:
  FixedFieldValidator(std::size_t fieldBytes, QObject* parent)
      : QValidator(parent), fieldBytes_(fieldBytes) {}
  State validate(QString& input, int&) const override {
    return text::checkFixedField(input.toStdString(), fieldBytes_) == text::FieldStatus::Ok
               ? Acceptable
               : Invalid;
  }

 private:
  std::size_t fieldBytes_;
};

QString fromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), text.size());
}

QLineEdit* fixedFieldEdit(QWidget* parent, const char* objectName, std::size_t fieldBytes) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(objectName);
  edit->setMaxLength(static_cast<int>(fieldBytes) - 1);
  edit->setValidator(new FixedFieldValidator(fieldBytes, edit));
  return edit;
}

}  // namespace

ImportDialog::ImportDialog(QWidget* parent, Workbench& bench, UserPort& user, BusyPort& busy,
                           ProgressPort& progress)
    : QDialog(parent), bench_(bench), user_(user), busy_(busy), progress_(progress) {
  setObjectName("ImportDialog");
  setWindowTitle(ui(N_("Ｉｍｐｏｒｔ")));
  auto* grid = new QGridLayout(this);

  names_ = new QComboBox(this);
  names_->setObjectName("targetNames");
  grid->addWidget(new QLabel(ui(N_("名前の選択")), this), 0, 0);
  grid->addWidget(names_, 0, 1);

  name_ = fixedFieldEdit(this, "targetName", net::kTargetNameField);
  grid->addWidget(new QLabel(ui(N_("名前")), this), 1, 0);
  grid->addWidget(name_, 1, 1);

  auto* address = new QHBoxLayout;
  const auto* digits = new QRegularExpressionValidator(QRegularExpression("[0-9]{0,3}"), this);
  for (std::size_t index = 0; index < octets_.size(); ++index) {
    QLineEdit* octet = new QLineEdit(this);
    octet->setObjectName(QString("octet%1").arg(index + 1));
    octet->setMaxLength(3);
    octet->setValidator(digits);
    octet->setMaximumWidth(octet->fontMetrics().horizontalAdvance("0000") + 12);
    if (index > 0) address->addWidget(new QLabel(".", this));
    address->addWidget(octet);
    octets_[index] = octet;
  }
  address->addStretch();
  grid->addWidget(new QLabel(ui(N_("IP ｱﾄﾞﾚｽ")), this), 2, 0);
  grid->addLayout(address, 2, 1);

  password_ = fixedFieldEdit(this, "targetPassword", net::kTargetPasswordField);
  password_->setEchoMode(QLineEdit::Password);
  grid->addWidget(new QLabel(ui(N_("ﾊﾟｽﾜｰﾄﾞ")), this), 3, 0);
  grid->addWidget(password_, 3, 1);

  auto* buttons = new QHBoxLayout;
  execute_ = controls::dialogButton(this, N_("実行"), "execute");
  register_ = controls::dialogButton(this, N_("登録"), "register");
  delete_ = controls::dialogButton(this, N_("削除"), "delete");
  cancel_ = controls::dialogButton(this, N_("ｷｬﾝｾﾙ"), "cancel");
  execute_->setDefault(true);  // Enter in a field runs the import
  for (QPushButton* each : {execute_, register_, delete_, cancel_}) buttons->addWidget(each);
  grid->addLayout(buttons, 4, 0, 1, 2);

  connect(names_, &QComboBox::activated, this, [this](int index) {
    if (const net::ExportTarget* chosen = net::selectTarget(bench_.importer.targets, index)) {
      showTarget(*chosen);
    }
  });
  connect(execute_, &QPushButton::clicked, this, &ImportDialog::execute);
  connect(register_, &QPushButton::clicked, this, &ImportDialog::registerEntered);
  connect(delete_, &QPushButton::clicked, this, &ImportDialog::deleteSelected);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

  // On opening: the last target used in the fields, the first entry selected.
  showTarget(bench_.importer.targets.last);
  net::selectFirstTarget(bench_.importer.targets);
  refreshNames();
}

void ImportDialog::showTarget(const net::ExportTarget& target) {
  name_->setText(fromUtf8(target.name));
  for (std::size_t index = 0; index < octets_.size(); ++index) {
    octets_[index]->setText(QString::number(target.octets[index]));
  }
  password_->setText(fromUtf8(target.password));
}

net::ExportTarget ImportDialog::enteredTarget() const {
  net::ExportTarget target;
  target.name = name_->text().toStdString();
  for (std::size_t index = 0; index < octets_.size(); ++index) {
    bool number = false;
    const int value = octets_[index]->text().toInt(&number);
    target.octets[index] = number ? value : -1;
  }
  target.password = password_->text().toStdString();
  return target;
}

void ImportDialog::refreshNames() {
  const net::ExportTargetList& list = bench_.importer.targets;
  const QSignalBlocker quiet(names_);
  names_->clear();
  const int count = net::targetsInUse(list);
  for (int index = 0; index < count; ++index) {
    names_->addItem(fromUtf8(list.targets[static_cast<std::size_t>(index)].name));
  }
  names_->setCurrentIndex(list.selected < count ? list.selected : -1);
}

void ImportDialog::registerEntered() {
  if (const std::optional<std::string> refused =
          net::registerTarget(bench_.importer.targets, enteredTarget())) {
    user_.tell(Icon::Warning, *refused);
  }
  refreshNames();
}

void ImportDialog::deleteSelected() {
  net::deleteTarget(bench_.importer.targets, names_->currentIndex());
  refreshNames();
}

std::string ImportDialog::userName() const {
  const std::string& stored = bench_.importer.userName;
  return stored.empty() ? platform::localUserName() : stored;
}

void ImportDialog::execute() {
  const net::ExportTarget target = enteredTarget();
  if (const std::optional<std::string> refused = net::checkImportTarget(target)) {
    user_.tell(Icon::Warning, *refused);
    return;
  }
  net::RequestBytes request{};
  if (net::encodeImportRequest(target.password, userName(), request) != net::RequestStatus::Ok) {
    // checkImportTarget has made sure the password fits the request.
    return;
  }
  const Options& options = bench_.options;
  platform::FetchResult fetched = platform::fetch(
      net::dottedAddress(target.octets), options.NetworkPort, options.ImportTimeout, request,
      options.MaxPictureWidth, options.MaxPictureHeight, {&progress_, &busy_});
  if (fetched.code == net::kCancelled) return;  // the operator gave up waiting: the dialog stays
  if (const std::optional<net::Notice> refused =
          net::importOutcomeNotice(fetched.code, fetched.check)) {
    user_.tell(refused->icon, refused->text);
    return;
  }
  net::rememberImportTarget(bench_.importer.targets, target);
  refreshNames();
  received_ = std::move(fetched);
  accept();
}

void exportPictures(QWidget* /*parent*/, Workbench& bench, UserPort& user, BusyPort& busy,
                    ProgressPort& progress) {
  if (!bench.pictures.picturesPresent || bench.pictures.editing) return;
  if (!user.askYesNo(text::tr(net::msg::kExportQuestion))) return;
  const Options& options = bench.options;
  if (options.ImportPassword.empty()) {
    user.tell(Icon::Warning, text::tr(net::msg::kNoImportPassword));
    return;
  }
  const std::vector<std::uint8_t> payload = net::exportPayload(bench);
  const platform::ServeResult served =
      platform::serve(options.NetworkPort, options.ImportPassword, payload, options.ExportTimeout,
                      {&progress, &busy});
  if (served.code == net::kCancelled) return;
  const net::Notice notice = net::exportNotice(served.code, served.peerUser, served.peerAddress);
  user.tell(notice.icon, notice.text);
}

void importPictures(QWidget* parent, Workbench& bench, UserPort& user, BusyPort& busy,
                    ProgressPort& progress) {
  importPictures(parent, bench, user, busy, progress,
                 [](ImportDialog& dialog) { return dialog.exec() == QDialog::Accepted; });
}

void importPictures(QWidget* parent, Workbench& bench, UserPort& user, BusyPort& busy,
                    ProgressPort& progress, const ImportDialogRun& run) {
  if (bench.pictures.editing) return;
  ImportDialog dialog(parent, bench, user, busy, progress);
  if (!run(dialog)) return;
  const platform::FetchResult& pair = dialog.received();
  setPicturesFromMemory(bench, user,
                        net::importedPictures(pair.header, pair.pixels.data(), bench.options));
}

}  // namespace vemla
