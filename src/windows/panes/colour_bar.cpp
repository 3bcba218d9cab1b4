#include "windows/panes/colour_bar.h"

#include <QPainter>

#include "processing/colour_tables.h"
#include "processing/pane_painting.h"
#include "processing/view_rendering.h"
#include "workbench/view/refresh_chain.h"
#include "workbench/view/statistics_readout.h"

namespace vemla {

QImage colourBarImage(const Workbench& bench, ImageSlot image) {
  QImage bar(kColourBarWidth, kViewSize, QImage::Format_RGB32);
  bar.fill(Qt::black);
  const ColourTable table = paneColourTable(paneColoursOf(bench, image));
  const std::vector<std::uint8_t> ramp = colourBarRamp();
  for (int y = 0; y < kViewSize; ++y) {
    auto* row = reinterpret_cast<QRgb*>(bar.scanLine(y));
    for (int x = 0; x < kColourBarRampWidth; ++x) {
      const std::uint8_t index =
          ramp[static_cast<std::size_t>(y) * kColourBarRampWidth + static_cast<std::size_t>(x)];
      row[x] = argbOf(table[index]);
    }
  }
  QPainter painter(&bar);
  QFont font("monospace");
  font.setStyleHint(QFont::TypeWriter);
  font.setPixelSize(10);
  painter.setFont(font);
  painter.setPen(Qt::white);
  for (const ColourBarLabel& label : kColourBarLabels) {
    painter.drawText(QRect(kColourBarRampWidth, label.y, kColourBarWidth - kColourBarRampWidth, 12),
                     Qt::AlignLeft | Qt::AlignTop, QString::fromLatin1(label.text));
  }
  if (bench.view.cursorShown) {
    if (const std::optional<int> value = valueUnderCursor(bench, image)) {
      const int y = colourBarCursorRow(*value);
      painter.drawLine(kColourBarRampWidth + 1, y, kColourBarRampWidth + 10, y);
    }
  }
  return bar;
}

ColourBar::ColourBar(Workbench& bench, ImageSlot image, QWidget* parent)
    : QWidget(parent), bench_(bench), image_(image) {
  setObjectName("ImageColor");
  setFixedSize(kColourBarWidth, kViewSize);
  bench_.addListener(this);
  refresh();
}

ColourBar::~ColourBar() {
  bench_.removeListener(this);
}

void ColourBar::refresh() {
  setVisible(bench_.view.colourBars);
  update();
}

void ColourBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, colourBarImage(bench_, image_));
}

}  // namespace vemla
