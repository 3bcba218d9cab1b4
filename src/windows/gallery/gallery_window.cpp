#include "windows/gallery/gallery_window.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDropEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "gallery/gallery.h"
#include "gallery/messages.h"
#include "gallery/thumbnail.h"
#include "picture/picture_file.h"
#include "picture/picture_writing.h"
#include "text/format.h"
#include "windows/editors/explanation_dialog.h"
#include "windows/gallery/gallery_archive_dialogs.h"
#include "windows/gallery/gallery_edit_dialog.h"
#include "windows/gallery/gallery_small_window.h"
#include "windows/gallery/rgb_combine_dialog.h"
#include "windows/main/clipboard_files.h"
#include "windows/main/quick_help.h"
#include "windows/main/screen_fit.h"
#include "windows/main/text_fit.h"
#include "windows/main/ui_text.h"
#include "workbench/gallery/archive_flows.h"
#include "workbench/gallery/gallery_slots.h"
#include "workbench/gallery/slot_files.h"
#include "workbench/picture/picture_commands.h"
#include "workbench/picture/prepare_pictures.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {

using text::N_;

const char* const kGalleryExplanation =
    N_("ギャラリーは画像とﾃﾞｰﾀを番号付きの場所(最大32)に保存し、次回の起動時にも残します。\n\n"
       "■通常型と小型\n"
       "通常型は４つのｷﾞｬﾗﾘｰを１ﾍﾟｰｼﾞとして表示します。番号のﾎﾞﾀﾝ、ﾍﾟｰｼﾞのﾎﾞﾀﾝまたは\n"
       "ﾏｳｽﾎｲｰﾙでﾍﾟｰｼﾞを切り替えます。各ｷﾞｬﾗﾘｰの「開く」はﾌｧｲﾙから、「←」は画像１／２、\n"
       "ｲﾒｰｼﾞ１／２から読み込み、「⇒」は画像１／２へｺﾋﾟｰします。「実行」は指定したｷﾞｬﾗﾘｰへ\n"
       "ｺﾋﾟｰ、移動、入れ替えを行い、「変更」はﾀｲﾄﾙを記憶します。\n"
       "小型は番号だけを並べます。番号の上で左ﾎﾞﾀﾝを押している間その画像を表示し、押したまま\n"
       "ﾏｳｽを画像に移すと表示が残って、ｻﾑﾈｲﾙと同じ操作ができます。「All」は一覧を表示し、\n"
       "右ｸﾘｯｸでｷﾞｬﾗﾘｰ全体の機能(一覧、展開、保存、全ｸﾘｱ、説明、編集)を選べます。\n"
       "通常型を最小化すると小型に、小型を最大化すると通常型になります。ﾒﾆｭｰの最後にある\n"
       "「小型」「通常型」でも切り替えられます。表示形式と位置は次回の起動時にも残ります。\n"
       "『ｷﾞｬﾗﾘｰを標準位置へ』はﾒｲﾝｳｨﾝﾄﾞｳの右上、ﾂｰﾙﾊﾞｰの下へ移動します。\n\n"
       "■ﾏｳｽ操作\n"
       "ｻﾑﾈｲﾙの右ｸﾘｯｸで「拡張機能」のﾒﾆｭｰ、ﾀﾞﾌﾞﾙｸﾘｯｸで画像はView、ﾃﾞｰﾀはｱﾌﾟﾘｹｰｼｮﾝで開きます。\n"
       "ﾌｧｲﾙをﾄﾞﾛｯﾌﾟすると、そのｷﾞｬﾗﾘｰから順に読み込みます。一覧でも同じ操作ができ、\n"
       "左ｸﾘｯｸでそのｷﾞｬﾗﾘｰのﾍﾟｰｼﾞを表示します。\n\n"
       "■拡張機能\n"
       "・Ｖｉｅｗ／ｱﾌﾟﾘｹｰｼｮﾝから開く：画像はViewで、ﾃﾞｰﾀは関連付けされたｱﾌﾟﾘｹｰｼｮﾝで開きます\n"
       "　(ﾀｲﾄﾙが .exe のﾃﾞｰﾀはｱﾌﾟﾘｹｰｼｮﾝとして実行します)\n"
       "・ﾌｧｲﾙから開く／名前を付けて保存：ﾌｧｲﾙとの間で読み込み、保存します\n"
       "・クリア：ｷﾞｬﾗﾘｰを空きにします\n"
       "・ｸﾞﾚｰｽｹｰﾙ化：ｶﾗｰﾊﾟﾚｯﾄをｸﾞﾚｰに戻します(画素の値は変わりません)\n"
       "・画像情報化／ﾃﾞｰﾀ情報化：ﾃﾞｰﾀを画像として、画像をﾃﾞｰﾀとして扱います\n"
       "・ＲＧＢ結合：３つの256色画像をR,G,BとしてTrueColorの画像を作ります\n"
       "・ﾀｲﾄﾙの変更：ﾀｲﾄﾙを編集します\n"
       "・関連付け／関連付け解除：ﾃﾞｰﾀの拡張子に開くｱﾌﾟﾘｹｰｼｮﾝを指定、解除します\n"
       "　(Vemlaの関連付けはｼｽﾃﾑの関連付けより優先されます)\n"
       "・更新ﾃﾞｰﾀの反映：ｱﾌﾟﾘｹｰｼｮﾝで変更したﾃﾞｰﾀをｷﾞｬﾗﾘｰに戻します\n"
       "・変更：他のｷﾞｬﾗﾘｰへのｺﾋﾟｰ、移動、入れ替えを行います\n"
       "・画像１／２へコピー：画像を開きます。小型では「ｺﾋﾟｰ後ｳｨﾝﾄﾞｳを閉じる」を選べます\n"
       "・画像１／２、ｲﾒｰｼﾞ1／2からコピー：表示中の画像やｲﾒｰｼﾞを読み込みます\n"
       "・貼り付け(単独)／(連続)：ｸﾘｯﾌﾟﾎﾞｰﾄﾞのﾌｧｲﾙを１つ、または順に読み込みます\n"
       "・(Vla内)：画像１／２、ｲﾒｰｼﾞ１／２、ｷﾞｬﾗﾘｰ及び他に起動しているVemlaの間で\n"
       "　画像やﾃﾞｰﾀを受け渡します");

namespace {

// The open dialogs' filters as one text for the file dialog.
QString openPictureFilterText() {
  QStringList filters;
  for (const char* filter : kOpenPictureFilters) filters << ui(filter);
  return filters.join(QStringLiteral(";;"));
}

constexpr int kPageSlots = 4;
constexpr int kThumbnailShown = 128;
constexpr int kListCellWidth = 72, kListCellHeight = 96, kListPerRow = 8;

QString fromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString savePictureFilters() {
  QStringList filters;
  for (const char* filter : kSavePictureFilters) filters << ui(filter);
  return filters.join(QStringLiteral(";;"));
}

// The slot's thumbnail through its palette, `side` pixels square, nearest sampling.
QImage thumbnailImage(const Workbench& bench, int slot, int side) {
  const persist::HeldGallery* gallery = liveGallery(bench);
  const persist::GallerySlot* record = gallerySlotRecord(bench, slot);
  const std::size_t start = static_cast<std::size_t>(slot) * kThumbnailBytes;
  if (record == nullptr || record->kind != kSlotPicture ||
      gallery->thumbnails.size() < start + kThumbnailBytes) {
    return {};
  }
  QImage image(gallery->thumbnails.data() + start, kThumbnailSide, kThumbnailSide, kThumbnailSide,
               QImage::Format_Indexed8);
  QList<QRgb> colours;
  for (std::size_t i = 0; i < 256; ++i) {
    const std::uint8_t* entry = record->palette.data() + 4 * i;  // blue, green, red, 0
    colours << qRgb(entry[2], entry[1], entry[0]);
  }
  image.setColorTable(colours);
  return image.scaled(side, side, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

QString sizeText(const persist::GallerySlot& record) {
  switch (record.kind) {
    case kSlotPicture:
      return QString("%1%2x%3")
          .arg(record.trueColourCode != 0 ? QString::fromUtf8(msg::kTrueColourMark) : QString())
          .arg(record.width)
          .arg(record.height);
    case kSlotData:
      return ui(N_("%1ﾊﾞｲﾄ")).arg(record.width);
    case kSlotOver:
      return QStringLiteral("Over");
    default:
      return {};
  }
}

// The quick help of the bottom row, by the buttons' object names.
constexpr std::pair<const char*, const char*> kBottomRowHelp[] = {
    {"list", N_("全てのｷﾞｬﾗﾘｰを一覧で表示します")},
    {"expand", N_("ＶｅｍＬＡﾌｧｲﾙの内容をｷﾞｬﾗﾘｰへ展開します")},
    {"save", N_("ｷﾞｬﾗﾘｰの内容をＶｅｍＬＡﾌｧｲﾙへ保存します")},
    {"firstPage", N_("最初のﾍﾟｰｼﾞを表示します")},
    {"previousPage", N_("前のﾍﾟｰｼﾞを表示します")},
    {"nextPage", N_("次のﾍﾟｰｼﾞを表示します")},
    {"lastPage", N_("最後のﾍﾟｰｼﾞを表示します")},
    {"clearAll", N_("全てのｷﾞｬﾗﾘｰを空きにします")},
    {"explain", N_("ｷﾞｬﾗﾘｰの機能の説明を表示します")},
    {"edit", N_("ｷﾞｬﾗﾘｰの並べ替え(ｺﾋﾟｰ、移動、入れ替え、削除)をﾄﾞﾗｯｸﾞで行います")},
};
// The whole gallery's functions offered on "All" of the small form, in the bottom row's order.
constexpr std::pair<const char*, const char*> kGalleryMenuRows[] = {
    {"list", N_("一覧")},      {"expand", N_("展開")},  {"save", N_("保存")},
    {"clearAll", N_("全ｸﾘｱ")}, {"explain", N_("説明")}, {"edit", N_("編集")},
};

// A stored window position is kept when the title bar's start lies on the screen area.
bool placeOnScreen(const QRect& area, std::int64_t left, std::int64_t top) {
  if (area.isEmpty()) return true;
  return left >= area.left() && top >= area.top() && left + 64 <= std::int64_t{area.right()} + 1 &&
         top + 24 <= std::int64_t{area.bottom()} + 1;
}

}  // namespace

GalleryWindow::GalleryWindow(Workbench& bench, UserPort& user, GalleryHost host, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      bench_(bench),
      user_(user),
      host_(std::move(host)) {
  setObjectName("Gallery");
  setWindowTitle(ui(N_("ギャラリー")));
  auto* layout = new QVBoxLayout(this);
  auto* page = new QGridLayout;
  layout->addLayout(page);
  for (int position = 0; position < kPageSlots; ++position) {
    page->addWidget(buildSlot(position), position / 2, position % 2);
  }

  auto* strip = new QHBoxLayout;
  strip->setSpacing(1);
  layout->addLayout(strip);
  for (int slot = 0; slot < persist::kGallerySlots; ++slot) {
    auto* number = new QPushButton(QString::number(slot + 1), this);
    number->setObjectName(QString("number%1").arg(slot + 1));
    number->setFixedWidth(fontMetrics().horizontalAdvance("88") + 8);
    number->setContextMenuPolicy(Qt::CustomContextMenu);
    setQuickHelp(number, ui(N_("このｷﾞｬﾗﾘｰのﾍﾟｰｼﾞを表示します")));
    connect(number, &QPushButton::clicked, this, [this, slot] { showSlot(slot); });
    connect(number, &QPushButton::customContextMenuRequested, this,
            [this, slot] { showSlot(slot); });
    strip->addWidget(number);
    numbers_.push_back(number);
  }
  strip->addStretch();

  auto* bottom = new QHBoxLayout;
  layout->addLayout(bottom);
  const auto addButton = [this, bottom](const char* name, const char* text, auto run) {
    auto* button = new QPushButton(ui(text), this);
    button->setObjectName(name);
    button->setFixedWidth(buttonWidthFor(button));
    connect(button, &QPushButton::clicked, this, run);
    bottom->addWidget(button);
    return button;
  };
  list_ = new GalleryListWindow(bench_, *this, this);
  addButton("list", N_("一覧"), [this] {
    list_->show();
    list_->raise();
  });
  addButton("expand", N_("展開"), [this] { expandFromArchive(); });
  addButton("save", N_("保存"), [this] { saveToArchive(); });
  addButton("firstPage", "|◀", [this] { setPage(0); });
  addButton("previousPage", "◀", [this] { setPage(firstShownSlot() - kPageSlots); });
  addButton("nextPage", "▶", [this] { setPage(firstShownSlot() + kPageSlots); });
  addButton("lastPage", "▶|", [this] { setPage(galleryCount(bench_) - kPageSlots); });
  addButton("clearAll", N_("全ｸﾘｱ"), [this] {
    clearAllSlots(bench_, user_);
    afterOperation();
  });
  addButton("explain", N_("説明"),
            [this] { showExplanation(this, text::tr(kGalleryExplanation)); });
  addButton("edit", N_("編集"), [this] { editGallery(); });
  for (const auto& [name, help] : kBottomRowHelp) {
    if (auto* button = findChild<QPushButton*>(name)) setQuickHelp(button, ui(help));
  }

  small_ = new GallerySmallWindow(bench_, *this, this);
  headerSave_ = new QTimer(this);
  headerSave_->setSingleShot(true);
  headerSave_->setInterval(500);
  connect(headerSave_, &QTimer::timeout, this, [this] { saveGalleryNow(bench_, user_); });
  bench_.addListener(this);
  refresh();
}

GalleryWindow::~GalleryWindow() {
  bench_.removeListener(this);
  if (headerSave_->isActive()) saveHeaderNow();
}

QWidget* GalleryWindow::buildSlot(int position) {
  SlotControls& c = slots_[static_cast<std::size_t>(position)];
  auto* box = new QWidget(this);
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(2, 2, 2, 2);
  c.number = new QLabel(box);
  c.thumbnail = new QLabel(box);
  c.thumbnail->setObjectName(QString("thumbnail%1").arg(position));
  c.thumbnail->setFixedSize(kThumbnailShown, kThumbnailShown);
  c.thumbnail->setAlignment(Qt::AlignCenter);
  c.thumbnail->setStyleSheet("background: black; color: grey");
  c.thumbnail->installEventFilter(this);
  c.thumbnail->setAcceptDrops(true);
  setQuickHelp(c.thumbnail,
               ui(N_("右ｸﾘｯｸで拡張機能のﾒﾆｭｰ、ﾀﾞﾌﾞﾙｸﾘｯｸで画像はView、ﾃﾞｰﾀはｱﾌﾟﾘｹｰｼｮﾝで開きます\n"
                     "ﾌｧｲﾙをﾄﾞﾛｯﾌﾟすると、このｷﾞｬﾗﾘｰから順に読み込みます")));
  grid->addWidget(c.number, 0, 0);
  grid->addWidget(c.thumbnail, 1, 0, 6, 1);
  buildSourceRow(c, box, grid, position);
  buildTargetRow(c, box, grid, position);
  buildTransferRows(c, box, grid, position);
  buildTitleRows(c, box, grid, position);
  return box;
}

QPushButton* GalleryWindow::addSlotButton(SlotControls& c, QWidget* box, const char* text,
                                          const QString& help, std::function<void()> run) {
  auto* button = new QPushButton(ui(text), box);
  button->setFixedWidth(buttonWidthFor(button));
  setQuickHelp(button, help);
  connect(button, &QPushButton::clicked, this, std::move(run));
  c.buttons.push_back(button);
  return button;
}

// "開く" and the four "←": a file, Picture 1 and 2, Image 1 and 2 into the slot.
void GalleryWindow::buildSourceRow(SlotControls& c, QWidget* box, QGridLayout* grid, int position) {
  constexpr std::array<std::pair<const char*, SlotCommand>, 4> kSources{{
      {N_("画像1"), SlotCommand::CopyFromPicture1},
      {N_("画像2"), SlotCommand::CopyFromPicture2},
      {N_("ｲﾒｰｼﾞ1"), SlotCommand::CopyFromImage1},
      {N_("ｲﾒｰｼﾞ2"), SlotCommand::CopyFromImage2},
  }};
  auto* sources = new QHBoxLayout;
  sources->addWidget(
      addSlotButton(c, box, N_("開く"), ui(N_("ﾌｧｲﾙからｷﾞｬﾗﾘｰに読み込みます")),
                    [this, position] { runSlotCommand(slotAt(position), SlotCommand::OpenFile); }));
  for (int source = 0; source < static_cast<int>(kSources.size()); ++source) {
    const auto& [name, command] = kSources[static_cast<std::size_t>(source)];
    QPushButton* button = addSlotButton(
        c, box, "←", ui(N_("%1をｷﾞｬﾗﾘｰにｺﾋﾟｰします")).arg(ui(name)),
        [this, position, command = command] { runSlotCommand(slotAt(position), command); });
    button->setObjectName(QString("from%1_%2").arg(source).arg(position));
    sources->addWidget(button);
  }
  grid->addLayout(sources, 1, 1);
}

// The two "⇒": the slot into Picture 1 or 2.
void GalleryWindow::buildTargetRow(SlotControls& c, QWidget* box, QGridLayout* grid, int position) {
  constexpr std::array<SlotCommand, 2> kTargets{SlotCommand::CopyToPicture1,
                                                SlotCommand::CopyToPicture2};
  auto* targets = new QHBoxLayout;
  for (int picture = 0; picture < static_cast<int>(kTargets.size()); ++picture) {
    const SlotCommand command = kTargets[static_cast<std::size_t>(picture)];
    QPushButton* button =
        addSlotButton(c, box, "⇒", ui(N_("ｷﾞｬﾗﾘｰを画像%1にｺﾋﾟｰします")).arg(picture + 1),
                      [this, position, command] { runSlotCommand(slotAt(position), command); });
    button->setObjectName(QString("to%1_%2").arg(picture).arg(position));
    targets->addWidget(button);
  }
  grid->addLayout(targets, 2, 1);
}

// The way (copy, move, swap), the other slot and "実行".
void GalleryWindow::buildTransferRows(SlotControls& c, QWidget* box, QGridLayout* grid,
                                      int position) {
  auto* transfer = new QHBoxLayout;
  c.mode = new QButtonGroup(box);
  for (const SlotTransferMode& way : slotTransferModes()) {
    const int mode = static_cast<int>(way.mode);
    auto* radio = new QRadioButton(ui(way.text), box);
    radio->setObjectName(QString("mode%1_%2").arg(mode).arg(position));
    c.mode->addButton(radio, mode);
    setQuickHelp(radio, ui(N_("「実行」で行う処理(ｺﾋﾟｰ、移動、入れ替え)を選択します")));
    transfer->addWidget(radio);
  }
  c.mode->button(0)->setChecked(true);
  grid->addLayout(transfer, 3, 1);
  auto* target = new QHBoxLayout;
  c.target = new QComboBox(box);
  c.target->setObjectName(QString("target%1").arg(position));
  target->addWidget(c.target);
  setQuickHelp(c.target, ui(N_("ｺﾋﾟｰ、移動、入れ替えの相手のｷﾞｬﾗﾘｰを選択します")));
  QPushButton* run =
      addSlotButton(c, box, N_("実行"), ui(N_("指定したｷﾞｬﾗﾘｰへｺﾋﾟｰ、移動、入れ替えを行います")),
                    [this, position] {
                      SlotControls& s = slots_[static_cast<std::size_t>(position)];
                      transferSlot(bench_, user_, slotAt(position), s.target->currentData().toInt(),
                                   static_cast<SlotTransfer>(s.mode->checkedId()));
                      afterOperation();
                    });
  run->setObjectName(QString("run%1").arg(position));
  target->addWidget(run);
  grid->addLayout(target, 4, 1);
}

// The title with "変更", and the size.
void GalleryWindow::buildTitleRows(SlotControls& c, QWidget* box, QGridLayout* grid, int position) {
  auto* title = new QHBoxLayout;
  c.title = new QLineEdit(box);
  c.title->setMaxLength(kSlotTitleCharacters);
  c.title->setObjectName(QString("title%1").arg(position));
  c.title->setMinimumWidth(editWidthFor(c.title, QString(16, QChar('M'))));
  title->addWidget(c.title);
  setQuickHelp(c.title, ui(N_("ｷﾞｬﾗﾘｰのﾀｲﾄﾙです\n「変更」で編集したﾀｲﾄﾙを記憶します")));
  QPushButton* rename =
      addSlotButton(c, box, N_("変更"), ui(N_("ﾀｲﾄﾙを変更します")), [this, position] {
        renameSlot(bench_, user_, slotAt(position),
                   slots_[static_cast<std::size_t>(position)].title->text().toStdString());
        afterOperation();
      });
  rename->setObjectName(QString("rename%1").arg(position));
  title->addWidget(rename);
  grid->addLayout(title, 5, 1);
  c.size = new QLineEdit(box);
  c.size->setReadOnly(true);
  c.size->setObjectName(QString("size%1").arg(position));
  setQuickHelp(c.size, ui(N_("画像のｻｲｽﾞ(Tは TrueColor の画像)またはﾃﾞｰﾀのﾊﾞｲﾄ数です")));
  grid->addWidget(c.size, 6, 1);
}

int GalleryWindow::firstShownSlot() const {
  const persist::HeldGallery* gallery = liveGallery(bench_);
  return gallery == nullptr ? 0 : gallery->info.header.firstShownSlot;
}

void GalleryWindow::setPage(int first) {
  persist::HeldGallery* gallery = liveGallery(bench_);
  if (gallery == nullptr) return;
  const int last = std::max(0, galleryCount(bench_) - kPageSlots);
  gallery->info.header.firstShownSlot = std::clamp(first / kPageSlots * kPageSlots, 0, last);
  headerSave_->start();
  refresh();
}

void GalleryWindow::showSlot(int slot) {
  setPage(slot);
}

void GalleryWindow::afterOperation() {
  refresh();
  list_->update();
  if (small_->preview()->isVisible()) small_->preview()->update();
}

void GalleryWindow::refresh() {
  const int count = galleryCount(bench_);
  small_->refresh();
  for (int slot = 0; slot < static_cast<int>(numbers_.size()); ++slot) {
    numbers_[static_cast<std::size_t>(slot)]->setVisible(slot < count);
    numbers_[static_cast<std::size_t>(slot)]->setDown(slot >= firstShownSlot() &&
                                                      slot < firstShownSlot() + kPageSlots);
  }
  for (int position = 0; position < kPageSlots; ++position) {
    SlotControls& c = slots_[static_cast<std::size_t>(position)];
    const int slot = slotAt(position);
    const persist::GallerySlot* record = gallerySlotRecord(bench_, slot);
    c.number->setText(QString("#%1").arg(slot + 1));
    const QImage image = thumbnailImage(bench_, slot, kThumbnailShown);
    if (!image.isNull()) {
      c.thumbnail->setPixmap(QPixmap::fromImage(image));
    } else {
      c.thumbnail->setPixmap({});
      c.thumbnail->setText(record == nullptr || record->kind == kSlotEmpty ? "Idle"
                           : record->kind == kSlotData                     ? "Data"
                                                                           : "Over");
    }
    c.title->setText(record != nullptr ? fromUtf8(record->title) : QString());
    c.size->setText(record != nullptr ? sizeText(*record) : QString());
    const int chosen = c.target->currentData().isValid() ? c.target->currentData().toInt() : -1;
    c.target->clear();
    for (int other = 0; other < count; ++other) {
      if (other != slot) c.target->addItem(QString("#%1").arg(other + 1), other);
    }
    c.target->setCurrentIndex(std::max(0, c.target->findData(chosen)));
    for (QPushButton* button : c.buttons) button->setEnabled(record != nullptr);
    if (record == nullptr) continue;
    for (int source = 0; source < 4; ++source) {
      findChild<QPushButton*>(QString("from%1_%2").arg(source).arg(position))
          ->setEnabled(slotMenuItemEnabled(bench_, slot, SlotMenuItem::CopyFromPictures));
    }
    for (int picture = 0; picture < 2; ++picture) {
      findChild<QPushButton*>(QString("to%1_%2").arg(picture).arg(position))
          ->setEnabled(slotMenuItemEnabled(bench_, slot, SlotMenuItem::CopyToPicture));
    }
  }
}

std::unique_ptr<QMenu> GalleryWindow::slotMenu(int slot, QWidget* parent, GalleryForm from) {
  auto menu = std::make_unique<QMenu>(ui(N_("拡張機能")), parent);
  const persist::GallerySlot* record = gallerySlotRecord(bench_, slot);
  if (record == nullptr) return menu;
  const bool small = from == GalleryForm::Small;
  const SlotCall call{bench_, user_, *this, slot, small};
  for (const SlotCommandRow& row : slotCommandTable()) {
    if (row.separatorBefore) menu->addSeparator();
    if (row.forms == (small ? SlotForms::NormalOnly : SlotForms::SmallOnly)) continue;
    const SlotLabel label = slotCommandLabel(row, *record);
    if (row.run == nullptr) {
      addTransferMenu(*menu, slot, label);
      continue;
    }
    QAction* action = menu->addAction(ui(label.text));
    if (row.objectName != nullptr) action->setObjectName(row.objectName);
    action->setEnabled(slotCommandEnabled(row, call));
    action->setCheckable(row.checked != nullptr);
    action->setChecked(slotCommandChecked(row, call));
    if (label.help != nullptr) setQuickHelpOn(action, ui(label.help));
    connect(action, &QAction::triggered, this,
            [this, slot, small, command = row.command] { runSlotCommand(slot, command, small); });
  }
  menu->addSeparator();
  setQuickHelpOn(menu->addAction(ui(N_("キャンセル"))), ui(N_("何もせずにﾒﾆｭｰを閉じます")));
  addFormItem(*menu);
  if (host_.watchMenu) host_.watchMenu(menu.get());
  return menu;
}

// "変更": copy, move or swap towards another slot.
void GalleryWindow::addTransferMenu(QMenu& menu, int slot, const SlotLabel& label) {
  QMenu* change = menu.addMenu(ui(label.text));
  setQuickHelpOn(change->menuAction(), ui(label.help));
  const std::vector<std::pair<int, std::string>> others = slotTransferTargets(bench_, slot);
  for (const SlotTransferMode& way : slotTransferModes()) {
    QMenu* targets = change->addMenu(ui(way.text));
    for (const auto& [other, line] : others) {
      QAction* to = targets->addAction(fromUtf8(line));
      connect(to, &QAction::triggered, this, [this, slot, other = other, mode = way.mode] {
        transferSlot(bench_, user_, slot, other, mode);
        afterOperation();
      });
    }
  }
}

void GalleryWindow::runSlotCommand(int slot, SlotCommand command, bool fromSmallForm) {
  SlotCall call{bench_, user_, *this, slot, fromSmallForm};
  vemla::runSlotCommand(command, call);
  afterOperation();
}

void GalleryWindow::addFormItem(QMenu& menu) {
  // The other form, for window managers that show no minimise or maximise button.
  const bool normal = form() == GalleryForm::Normal;
  menu.addSeparator();
  QAction* other = menu.addAction(ui(normal ? N_("小型") : N_("通常型")));
  other->setObjectName("otherForm");
  setQuickHelpOn(other, ui(normal ? N_("ｷﾞｬﾗﾘｰを小型(番号だけの表示)に切り替えます")
                                  : N_("ｷﾞｬﾗﾘｰを通常型(４つずつの表示)に切り替えます")));
  connect(other, &QAction::triggered, this,
          [this, normal] { setForm(normal ? GalleryForm::Small : GalleryForm::Normal); });
}

std::unique_ptr<QMenu> GalleryWindow::galleryMenu(QWidget* parent) {
  auto menu = std::make_unique<QMenu>(ui(N_("ギャラリー")), parent);
  for (const auto& [name, text] : kGalleryMenuRows) {
    // Each item does what its button does, enabled as the button is.
    QPushButton* button = findChild<QPushButton*>(name);
    if (button == nullptr) continue;
    QAction* action = menu->addAction(ui(text));
    action->setObjectName(name);
    action->setEnabled(button->isEnabled());
    setQuickHelpOn(action, quickHelpOf(button));
    connect(action, &QAction::triggered, button, &QPushButton::click);
  }
  menu->addSeparator();
  setQuickHelpOn(menu->addAction(ui(N_("キャンセル"))), ui(N_("何もせずにﾒﾆｭｰを閉じます")));
  addFormItem(*menu);
  if (host_.watchMenu) host_.watchMenu(menu.get());
  return menu;
}

void GalleryWindow::openSlot(int slot) {
  if (gallerySlotRecord(bench_, slot) != nullptr) runSlotCommand(slot, SlotCommand::View);
}

GalleryForm GalleryWindow::form() const {
  const persist::HeldGallery* gallery = liveGallery(bench_);
  return gallery != nullptr && gallery->info.header.displayForm == 0 ? GalleryForm::Normal
                                                                     : GalleryForm::Small;
}

QWidget* GalleryWindow::formWidget(GalleryForm which) {
  return which == GalleryForm::Normal ? static_cast<QWidget*>(this) : small_;
}

void GalleryWindow::setForm(GalleryForm which) {
  persist::HeldGallery* gallery = liveGallery(bench_);
  if (gallery == nullptr || which == form()) return;
  const bool shown = galleryShown();
  QWidget* old = formWidget(form());
  gallery->info.header.displayForm = static_cast<std::int32_t>(which);
  QWidget* now = formWidget(which);
  // The new form takes the old one's place (moved wholly onto the screen once it is shown).
  if (placed_) now->move(old->pos());
  if (shown) {
    old->hide();
    small_->preview()->hide();
    showGallery();
  }
  saveHeaderNow();
}

void GalleryWindow::showGallery() {
  QWidget* now = formWidget(form());
  // Read before the show: showing records the place the form is shown at.
  const persist::HeldGallery* gallery = liveGallery(bench_);
  const persist::GalleryHeader header =
      gallery != nullptr ? gallery->info.header : persist::GalleryHeader{};
  now->show();
  now->raise();
  updateShown();
  // Placed once shown, when the frame's size is known. A form that takes a place it was given
  // (its own last one, the other form's, the stored one) lies wholly on the screen.
  if (placed_) {
    moveWhollyInto(*now, now->pos(), host_.screenArea);
    return;
  }
  placed_ = true;
  // The first time: the stored place, or the standard position when it is unset or its title
  // bar would start off the screen.
  const bool unset = header.windowLeft == 0 && header.windowTop == 0;
  if (!unset && placeOnScreen(host_.screenArea, header.windowLeft, header.windowTop)) {
    moveWhollyInto(*now, QPoint(static_cast<int>(header.windowLeft),
                                static_cast<int>(header.windowTop)),
                   host_.screenArea);
  } else if (host_.homePosition) {
    now->move(host_.homePosition(now->frameGeometry().size()));
  }
}

void GalleryWindow::hideGallery() {
  small_->preview()->hide();
  list_->hide();
  small_->hide();
  hide();
  updateShown();
}

bool GalleryWindow::galleryShown() const {
  return !isHidden() || !small_->isHidden();
}

void GalleryWindow::updateShown() {
  const bool shown = small_ != nullptr && galleryShown();
  if (setGalleryShown(bench_, shown) && host_.shownChanged) host_.shownChanged();
}

void GalleryWindow::moveHome() {
  if (!host_.homePosition) return;
  // Shown first: the place depends on the size of the form's frame.
  placed_ = true;
  showGallery();
  QWidget* now = formWidget(form());
  now->move(host_.homePosition(now->frameGeometry().size()));
  formMoved(now);
  saveHeaderNow();
}

bool GalleryWindow::closeAfterCopy() const {
  const persist::HeldGallery* gallery = liveGallery(bench_);
  return gallery != nullptr && (gallery->info.header.flags & 1) != 0;
}

void GalleryWindow::setCloseAfterCopy(bool on) {
  persist::HeldGallery* gallery = liveGallery(bench_);
  if (gallery == nullptr || on == closeAfterCopy()) return;
  gallery->info.header.flags = (gallery->info.header.flags & ~1) | (on ? 1 : 0);
  saveHeaderNow();
}

void GalleryWindow::formMoved(QWidget* moved) {
  persist::HeldGallery* gallery = liveGallery(bench_);
  if (gallery == nullptr || !placed_ || moved != formWidget(form())) return;
  const QPoint at = moved->pos();
  if (at == QPoint(gallery->info.header.windowLeft, gallery->info.header.windowTop)) return;
  gallery->info.header.windowLeft = at.x();
  gallery->info.header.windowTop = at.y();
  headerSave_->start();
}

void GalleryWindow::saveHeaderNow() {
  headerSave_->stop();
  saveGalleryNow(bench_, user_);
}

void GalleryWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange || !isMinimized()) return;
  // Minimising the normal form gives the small form.
  setWindowState(windowState() & ~Qt::WindowMinimized);
  QMetaObject::invokeMethod(
      this, [this] { setForm(GalleryForm::Small); }, Qt::QueuedConnection);
}

void GalleryWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  formMoved(this);
}

// ---- SlotCommandHost ----

void GalleryWindow::viewSlot(int slot) {
  if (host_.viewSlot) host_.viewSlot(slot);
}

void GalleryWindow::openData(int slot, const DataOpening& opening) {
  if (host_.openData) {
    host_.openData(slot, fromUtf8(opening.path), fromUtf8(opening.application), opening.program);
  }
}

std::string GalleryWindow::chooseSaveName(int slot, const persist::GallerySlot& record) {
  return host_.dialogs
      .save(ui(N_("名前を付けて保存 (ｷﾞｬﾗﾘｰ#%1)")).arg(slot + 1),
            record.kind == kSlotPicture ? savePictureFilters() : ui(N_("全てのﾌｧｲﾙ (*)")),
            fromUtf8(record.title))
      .toStdString();
}

std::string GalleryWindow::chooseFileToLoad(int slot) {
  const QStringList names = host_.dialogs.open(ui(N_("ファイルから開く (ｷﾞｬﾗﾘｰ#%1)")).arg(slot + 1),
                                               openPictureFilterText(), false, {});
  return names.isEmpty() ? std::string() : names.front().toStdString();
}

std::vector<std::string> GalleryWindow::clipboardFiles() const {
  return vemla::clipboardFiles();
}

void GalleryWindow::combineRgb(int slot) {
  runRgbCombineDialog(this, bench_, user_, slot);
}

void GalleryWindow::editTitle(int slot) {
  showSlot(slot);
  slots_[static_cast<std::size_t>(slot % kPageSlots)].title->setFocus();
}

std::optional<int> GalleryWindow::chooseAssociationToReplace(
    const std::vector<std::string>& extensions) {
  QStringList used;
  for (const std::string& extension : extensions) used << fromUtf8(extension);
  bool chosen = false;
  const QString replaced =
      QInputDialog::getItem(this, ui(N_("入れ替える拡張子の選択")),
                            ui(N_("　　　これ以上関連付けができません\n関連付け済みの情報を破棄して"
                                  "入れ替え\nを行いますか？")),
                            used, 0, false, &chosen);
  if (!chosen) return std::nullopt;
  return static_cast<int>(used.indexOf(replaced));
}

std::string GalleryWindow::chooseApplication(const std::string& extension,
                                             const std::string& current) {
  const QStringList application =
      host_.dialogs.open(ui(N_("拡張子(.%1) ｱﾌﾟﾘｹｰｼｮﾝの関連付け")).arg(fromUtf8(extension)),
                         ui(N_("実行形式ﾌｧｲﾙ (*);;全てのﾌｧｲﾙ (*)")), false, fromUtf8(current));
  return application.isEmpty() ? std::string() : application.front().toStdString();
}

void GalleryWindow::copyToPicture(int slot, PictureSlot picture) {
  if (host_.copyToPicture) host_.copyToPicture(slot, picture);
}

void GalleryWindow::wheelEvent(QWheelEvent* event) {
  const int steps = event->angleDelta().y() / 120;
  if (steps != 0) setPage(firstShownSlot() - steps * kPageSlots);
  event->accept();
}

void GalleryWindow::showEvent(QShowEvent* event) {
  updateShown();
  refresh();
  QWidget::showEvent(event);
}

void GalleryWindow::hideEvent(QHideEvent* event) {
  updateShown();
  QWidget::hideEvent(event);
}

bool GalleryWindow::eventFilter(QObject* watched, QEvent* event) {
  for (int position = 0; position < kPageSlots; ++position) {
    if (watched != slots_[static_cast<std::size_t>(position)].thumbnail) continue;
    const int slot = slotAt(position);
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
      slotMenu(slot, this)->exec(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
      return true;
    }
    if (event->type() == QEvent::MouseButtonDblClick) {
      runSlotCommand(slot, SlotCommand::View);
      return true;
    }
    if (event->type() == QEvent::DragEnter) {
      auto* enter = static_cast<QDragEnterEvent*>(event);
      if (enter->mimeData()->hasUrls()) enter->acceptProposedAction();
      return true;
    }
    if (event->type() == QEvent::Drop) {
      auto* drop = static_cast<QDropEvent*>(event);
      drop->acceptProposedAction();
      dropFiles(slot, drop->mimeData());
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void GalleryWindow::dropFiles(int slot, const QMimeData* data) {
  storeFilesInSlots(bench_, user_, slot, localFilesOf(data), true);
  afterOperation();
}

void GalleryWindow::editGallery() {
  // The main window (or this window on its own) takes no input while the dialog is open.
  QWidget* inert = parentWidget() != nullptr ? parentWidget()->window() : this;
  if (GalleryEditDialog::open(bench_, user_, inert, [this] { afterOperation(); }) != nullptr) {
    list_->hide();
  }
}

void GalleryWindow::saveToArchive() {
  static NoProgressPort noProgress;
  static NoBusyPort noBusy;
  saveGalleryToArchive(this, bench_, user_, host_.progress ? *host_.progress : noProgress,
                       host_.busy ? *host_.busy : noBusy, [this] { afterOperation(); });
}

void GalleryWindow::expandFromArchive() {
  static NoProgressPort noProgress;
  static NoBusyPort noBusy;
  expandArchiveToGallery(
      this, bench_, user_, host_.progress ? *host_.progress : noProgress,
      host_.busy ? *host_.busy : noBusy, firstShownSlot(),
      [this](const std::string& path, int number) { openArchiveLine(path, number); },
      [this] { afterOperation(); });
}

void GalleryWindow::openArchiveLine(const std::string& path, int number) {
  std::optional<ArchiveItemOpening> opening = openArchiveItem(bench_, user_, path, number);
  if (!opening) return;
  if (opening->data) {
    if (host_.openData) {
      host_.openData(-1, fromUtf8(opening->data->path), fromUtf8(opening->data->application),
                     opening->data->program);
    }
  } else if (host_.viewPicture) {
    host_.viewPicture(opening->content.span(), opening->info);
  }
}

// ---------------------------------------------------------------------------------------------

GalleryListWindow::GalleryListWindow(Workbench& bench, GalleryWindow& gallery, QWidget* parent)
    : QWidget(parent, Qt::Tool), bench_(bench), gallery_(gallery) {
  setObjectName("GalleryList");
  setWindowTitle(ui(N_("ギャラリーの一覧")));
  const int rows = (persist::kGallerySlots + kListPerRow - 1) / kListPerRow;
  setFixedSize(kListCellWidth * kListPerRow, kListCellHeight * rows);
  setAcceptDrops(true);
}

void GalleryListWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void GalleryListWindow::dropEvent(QDropEvent* event) {
  const int slot = slotAt(event->position().toPoint());
  if (slot < 0) return;
  event->acceptProposedAction();
  gallery_.dropFiles(slot, event->mimeData());
}

int GalleryListWindow::slotAt(QPoint at) const {
  if (at.x() < 0 || at.y() < 0) return -1;
  const int slot = at.y() / kListCellHeight * kListPerRow + at.x() / kListCellWidth;
  return at.x() < kListCellWidth * kListPerRow && slot < galleryCount(bench_) ? slot : -1;
}

void GalleryListWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  for (int slot = 0; slot < galleryCount(bench_); ++slot) {
    const QRect cell(slot % kListPerRow * kListCellWidth, slot / kListPerRow * kListCellHeight,
                     kListCellWidth, kListCellHeight);
    painter.drawText(cell.adjusted(0, 2, 0, 0), Qt::AlignHCenter | Qt::AlignTop,
                     QString::asprintf(" %2d ", slot + 1));
    const QRect picture(cell.x() + 4, cell.y() + 24, 64, 64);
    const QImage image = thumbnailImage(bench_, slot, 64);
    if (!image.isNull()) {
      painter.drawImage(picture, image);
      continue;
    }
    const persist::GallerySlot* record = gallerySlotRecord(bench_, slot);
    painter.drawRect(picture.adjusted(0, 0, -1, -1));
    painter.drawText(picture, Qt::AlignCenter,
                     record->kind == kSlotEmpty  ? "Idle"
                     : record->kind == kSlotData ? "Data"
                                                 : "Over");
  }
}

void GalleryListWindow::mousePressEvent(QMouseEvent* event) {
  const int slot = slotAt(event->position().toPoint());
  if (slot < 0 && event->button() == Qt::RightButton) {
    gallery_.galleryMenu(this)->exec(event->globalPosition().toPoint());
  }
  if (slot < 0) return;
  if (event->button() == Qt::LeftButton) gallery_.showSlot(slot);
  if (event->button() == Qt::RightButton) {
    gallery_.slotMenu(slot, this)->exec(event->globalPosition().toPoint());
  }
}

void GalleryListWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  const int slot = slotAt(event->position().toPoint());
  if (slot >= 0) gallery_.slotMenu(slot, this)->actions().front()->trigger();
}

}  // namespace vemla

namespace vemla {

QImage slotThumbnailImage(const Workbench& bench, int slot, int side) {
  return thumbnailImage(bench, slot, side);
}

const persist::GallerySlot* gallerySlotRecord(const Workbench& bench, int slot) {
  const persist::HeldGallery* gallery = liveGallery(bench);
  if (gallery == nullptr || slot < 0 || slot >= galleryCount(bench)) return nullptr;
  return &gallery->info.slotRecords[static_cast<std::size_t>(slot)];
}

}  // namespace vemla
