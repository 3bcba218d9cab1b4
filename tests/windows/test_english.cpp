// Window tests in English: the catalogue is loaded at the start and every window checked here
// shows no Japanese text where a person reads it (data such as file names aside).
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include "support/test_language.h"
#include "support/tool_window_fixture.h"
#include "support/widget_fit.h"
#include "windows/dialogs/option_sheet.h"
#include "workbench/commands/command_ids.h"
#include "workbench/picture/prepare_pictures.h"
#include "workbench/view/refresh_chain.h"

using namespace vemla;
using vemla::testing::japaneseTexts;
using vemla::testing::ToolWindowFixture;

namespace {

QString listed(const QStringList& texts) {
  return texts.join('\n');
}

// ---- Tool windows ----

// The first control or table cell of a tool window whose text its place cannot hold, or that
// lies outside the fixed tool area, as "name: text"; empty when everything shows whole.
QString clippedInToolWindow(const QWidget* window) {
  const auto named = [](const QWidget* w, const QString& text) {
    return w->objectName() + " (" + w->metaObject()->className() + "): " + text;
  };
  for (const QWidget* w : window->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(window)) continue;
    const QRect placed(w->mapTo(window, QPoint(0, 0)), w->size());
    if (!window->rect().contains(placed)) return named(w, "outside the tool area");
    const QFontMetrics metrics = w->fontMetrics();
    if (const auto* button = qobject_cast<const QPushButton*>(w)) {
      const QStringList lines = button->text().split('\n');
      for (const QString& line : lines) {
        if (metrics.horizontalAdvance(line) + 6 > button->width()) return named(w, line);
      }
      if (static_cast<int>(lines.size()) * metrics.lineSpacing() > button->height())
        return named(w, button->text());
    } else if (const auto* box = qobject_cast<const QAbstractButton*>(w)) {
      if (box->width() < box->sizeHint().width() || box->height() < metrics.height())
        return named(w, box->text());
    } else if (const auto* label = qobject_cast<const QLabel*>(w)) {
      const bool fits = label->wordWrap() ? label->height() >= label->heightForWidth(label->width())
                                          : label->width() >= label->sizeHint().width();
      if (!fits) return named(w, label->text());
    } else if (const auto* table = qobject_cast<const QTableWidget*>(w)) {
      const QFontMetrics cell(table->font());
      for (int row = 0; row < table->rowCount(); ++row) {
        for (int column = 0; column < table->columnCount(); ++column) {
          const QTableWidgetItem* item = table->item(row, column);
          if (item == nullptr) continue;
          if (cell.horizontalAdvance(item->text()) + 2 > table->columnWidth(column))
            return named(w, item->text());
        }
      }
    }
  }
  return {};
}

}  // namespace

class EnglishTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { QVERIFY(vemla::testing::useEnglish()); }

  // The main window with a pair open: menus, tool bar, panes' titles and both control windows.
  void mainWindowReadsInEnglish() {
    ToolWindowFixture f;
    f.openPair(64, 48, [](int x, int y) { return x * 3 + y; }, 128);
    const QStringList left = japaneseTexts(f.window.get());
    QVERIFY2(left.isEmpty(), qPrintable(listed(left)));
    const QMenuBar* bar = f.window->findChild<QMenuBar*>();
    QVERIFY(bar != nullptr);
    QCOMPARE(bar->actions().first()->text().remove('&'), QString("File"));
  }

  // The option sheet's first page, with the language choice under its own names.
  void optionSheetFirstPageReadsInEnglish() {
    ToolWindowFixture f;
    NoBusyPort busy;
    NoProgressPort progress;
    OptionSheet sheet(f.bench, f.user, busy, progress, f.window.get());
    sheet.show();
    const auto* languages = sheet.findChild<QComboBox*>("DisplayLanguage");
    QVERIFY(languages != nullptr);
    QCOMPARE(languages->itemText(0), QString("Automatic"));
    QCOMPARE(languages->itemText(1), QString::fromUtf8("日本語"));
    const QStringList left = japaneseTexts(&sheet, {QString::fromUtf8("日本語")});
    QVERIFY2(left.isEmpty(), qPrintable(listed(left)));
  }

  // ---- Tool windows ----

  // Each tool from the tool bar: its window, the bar and the main window's title read in
  // English, and every text shows whole inside the fixed tool area.
  void toolWindowsReadInEnglishAndFit() {
    ToolWindowFixture f;
    f.openPair(
        64, 48, [](int x, int y) { return x * 3 + y; }, 128);
    const auto* bar = f.window->findChild<QWidget*>("ToolSelection");
    QVERIFY(bar != nullptr);
    const QStringList barLeft = japaneseTexts(bar);
    QVERIFY2(barLeft.isEmpty(), qPrintable(listed(barLeft)));
    const QString barClipped = clippedInToolWindow(bar);
    QVERIFY2(barClipped.isEmpty(), qPrintable(barClipped));
    struct Case {
      int command;
      const char* titleEnd;
      const char* window;
    };
    const Case cases[] = {
        {kGradationTool, " (Gradation values)", "GradationValues"},
        {kProfileTool, " (Profile)", "Profile"},
        {k3DTool, " (3D view)", "View3D"},
        {kMeasurementTool, " (Measure)", "Measurement"},
        {kPartialComparisonTool, " (Partial comparison)", "PartialComparison"},
    };
    for (const Case& c : cases) {
      QTest::mouseClick(f.barButton(c.command), Qt::LeftButton);
      const auto* window = f.window->findChild<QWidget*>(c.window);
      QVERIFY(window != nullptr && window->isVisible());
      QVERIFY2(f.window->windowTitle().endsWith(c.titleEnd), qPrintable(f.window->windowTitle()));
      const QStringList left = japaneseTexts(window);
      QVERIFY2(left.isEmpty(), qPrintable(listed(left)));
      const QString clipped = clippedInToolWindow(window);
      QVERIFY2(clipped.isEmpty(), qPrintable(window->objectName() + " " + clipped));
      const QString hidden = vemla::testing::controlHiddenAtItsCentre(window);
      QVERIFY2(hidden.isEmpty(), qPrintable(window->objectName() + " " + hidden));
    }
    // The gradation tool's own windows: the pair display and an operator dialog.
    QTest::mouseClick(f.barButton(kGradationTool), Qt::LeftButton);
    QTest::mouseClick(vemla::testing::find<QPushButton>(f.window.get(), "Pair"), Qt::LeftButton);
    QVERIFY(f.window->windowTitle().endsWith(" (Gradation values) Image 2"));
    QTest::mouseClick(vemla::testing::find<QPushButton>(f.window.get(), "EditOperator1"),
                      Qt::LeftButton);
    for (const char* name : {"GradationPair", "OperatorDialog"}) {
      const auto* other = f.window->findChild<QWidget*>(name);
      QVERIFY2(other != nullptr && other->isVisible(), name);
      const QStringList left = japaneseTexts(other);
      QVERIFY2(left.isEmpty(), qPrintable(listed(left)));
    }
  }
};

QTEST_MAIN(EnglishTest)
#include "test_english.moc"
