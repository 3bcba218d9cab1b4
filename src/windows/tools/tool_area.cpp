#include "windows/tools/tool_area.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

#include "text/translate.h"
#include "windows/main/ui_text.h"
#include "windows/main/widget_factory.h"
#include "windows/tools/gradation_window.h"
#include "windows/tools/measurement_window.h"
#include "windows/tools/partial_window.h"
#include "windows/tools/profile_window.h"
#include "windows/tools/relief_window.h"
#include "workbench/commands/command_ids.h"
#include "workbench/commands/command_table.h"

namespace vemla {
namespace {

// The tile painted over the tool area while no tool is chosen.
QPixmap productTile() {
  QPixmap tile(96, 48);
  tile.fill(QColor(236, 236, 228));
  QPainter painter(&tile);
  QFont font = painter.font();
  font.setPixelSize(14);
  font.setItalic(true);
  painter.setFont(font);
  painter.setPen(QColor(200, 200, 190));
  painter.drawText(tile.rect(), Qt::AlignCenter, QStringLiteral("Vemla"));
  return tile;
}

constexpr std::array<const char*, 3> kSecondCopyLines{
    text::N_("・多重起動のため一部の情報が保存されないので注意して下さい"),
    text::N_("　　ﾕｰｻﾞ情報、ｵﾌﾟｼｮﾝ情報、開いたﾌｧｲﾙの履歴　等．．．"),
    text::N_("　　ﾌﾟﾛｸﾞﾗﾑのｳｨﾝﾄﾞｳﾀｲﾄﾙに (M) が付加されます"),
};

struct BarButton {
  int command;
  const char* text;
  const char* help;
};
constexpr std::array<BarButton, 6> kBarButtons{{
    {kMemo, text::N_("メモ"),
     text::N_("ﾒﾓﾌｧｲﾙを開きます\nﾒﾓ用のﾌｧｲﾙは『ｵﾌﾟｼｮﾝ情報-ﾂｰﾙ関連』\nで指定が可能です")},
    {kGradationTool, text::N_("階調値"), text::N_("ｲﾒｰｼﾞの階調値情報が参照できます")},
    {kProfileTool, text::N_("ﾌﾟﾛﾌｧｲﾙ"), text::N_("ｲﾒｰｼﾞのﾌﾟﾛﾌｧｲﾙ情報が参照できます")},
    {k3DTool, text::N_("３Ｄ"), text::N_("ｲﾒｰｼﾞを３Ｄ表示します")},
    {kMeasurementTool, text::N_("測定"), text::N_("ｲﾒｰｼﾞの様々な測定ができます")},
    {kPartialComparisonTool, text::N_("部分比較"), text::N_("ｲﾒｰｼﾞの一部分で比較ができます")},
}};

}  // namespace

// ---- ToolInformation ----

ToolInformation::ToolInformation(Workbench& bench, QWidget* parent)
    : QWidget(parent), bench_(bench) {
  setObjectName("ToolInformation");
  bench_.addListener(this);
}

ToolInformation::~ToolInformation() {
  bench_.removeListener(this);
}

namespace {

// Each tool's window is created the first time the tool is chosen and hidden, not destroyed,
// when another is.
template <typename Window>
void showToolWindow(Workbench& bench, QWidget* area, Window*& window, bool active) {
  if (active && window == nullptr) {
    window = new Window(bench, area);
    window->setGeometry(area->rect());
  }
  if (window != nullptr) window->setVisible(active);
}

}  // namespace

void ToolInformation::refresh() {
  const tools::Tool active = bench_.tools.active;
  showToolWindow(bench_, this, gradation_, active == tools::Tool::Gradation);
  showToolWindow(bench_, this, profile_, active == tools::Tool::Profile);
  showToolWindow(bench_, this, measurement_, active == tools::Tool::Measurement);
  showToolWindow(bench_, this, relief_, active == tools::Tool::View3D);
  showToolWindow(bench_, this, partial_, active == tools::Tool::PartialComparison);
  update();
}

void ToolInformation::paintEvent(QPaintEvent*) {
  if (bench_.tools.active != tools::Tool::None) return;
  QPainter painter(this);
  painter.drawTiledPixmap(rect(), productTile());
  if (!bench_.secondCopy) return;
  QFont font(QString::fromUtf8("Noto Sans CJK JP"));
  font.setPixelSize(16);
  font.setItalic(true);
  painter.setFont(font);
  painter.setPen(Qt::black);
  const int line = painter.fontMetrics().height() + 4;
  for (std::size_t i = 0; i < kSecondCopyLines.size(); ++i) {
    painter.drawText(12, 24 + static_cast<int>(i) * line + painter.fontMetrics().ascent(),
                     ui(kSecondCopyLines[i]));
  }
}

// ---- ToolSelection ----

ToolSelection::ToolSelection(Workbench& bench, std::function<void(int)> run, QWidget* parent)
    : QWidget(parent), bench_(bench) {
  setObjectName("ToolSelection");
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(6, 6, 6, 6);
  row->setSpacing(4);
  for (const BarButton& entry : kBarButtons) {
    auto* button = controls::pushButton(this, entry.text, "", entry.help);
    button->setObjectName(QString("ToolButton%1").arg(entry.command));
    button->setCheckable(entry.command != kMemo);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    connect(button, &QPushButton::clicked, this, [this, run, command = entry.command] {
      run(command);
      refresh();
    });
    row->addWidget(button);
    buttons_.emplace_back(entry.command, button);
  }
  controls::returnFocusAfterActions(this);
  bench_.addListener(this);
  refresh();
}

ToolSelection::~ToolSelection() {
  bench_.removeListener(this);
}

void ToolSelection::refresh() {
  const CommandSituation facts = situationOf(bench_);
  for (const auto& [command, button] : buttons_) {
    button->setEnabled(commandAvailable(command) && commandEnabled(command, facts));
    if (button->isCheckable()) button->setChecked(commandChecked(command, facts));
  }
}

}  // namespace vemla
