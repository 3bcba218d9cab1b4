#pragma once
// Window and core tests in English: the compiled catalogue of the build tree (VEMLA_CATALOGUE)
// and a check that no Japanese text is left where a person reads.
#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QStringList>
#include <QTabBar>
#include <QWidget>
#include <cstdlib>
#include <string_view>

#include "text/translate.h"
#include "windows/main/quick_help.h"

namespace vemla::testing {

// Speaks English for the rest of the test program; false when the catalogue is missing.
inline bool useEnglish() {
  return text::useLanguage(text::Language::English, VEMLA_CATALOGUE);
}

// Called at the start of a test program that runs once per language: English when the test's
// environment says VEMLA_LANG=en.
inline bool useLanguageOfTestRun() {
  const char* wanted = std::getenv("VEMLA_LANG");
  return wanted == nullptr || std::string_view(wanted) != "en" || useEnglish();
}

// Whether `text` holds kana, kanji or full- and half-width forms.
inline bool holdsJapanese(const QString& text) {
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    if ((u >= 0x3000 && u <= 0x30FF) || (u >= 0x4E00 && u <= 0x9FFF) ||
        (u >= 0xFF00 && u <= 0xFFEF)) {
      return true;
    }
  }
  return false;
}

// Every text a person reads in `root` and its children that is still Japanese, as
// "object name: text": labels, buttons, group titles, tab texts, selector rows, window titles,
// tool tips, quick-help texts and the actions of menus (submenus included). Texts in `allowed`
// (data such as a file name or a language's own name) are passed over.
inline QStringList japaneseTexts(const QWidget* root, const QStringList& allowed = {}) {
  QStringList found;
  const auto check = [&](const QObject* owner, const QString& text) {
    if (holdsJapanese(text) && !allowed.contains(text)) {
      found << owner->objectName() + " (" + owner->metaObject()->className() + "): " + text;
    }
  };
  const auto checkActions = [&](const QList<QAction*>& actions, const auto& self) -> void {
    for (const QAction* action : actions) {
      check(action, action->text());
      check(action, action->toolTip() == action->text() ? QString() : action->toolTip());
      check(action, action->property(kQuickHelpProperty).toString());
      if (action->menu() != nullptr) self(action->menu()->actions(), self);
    }
  };
  QList<const QWidget*> widgets{root};
  for (const QWidget* child : root->findChildren<QWidget*>()) widgets << child;
  for (const QWidget* widget : widgets) {
    if (widget->isWindow()) check(widget, widget->windowTitle());
    check(widget, widget->toolTip());
    check(widget, quickHelpOf(widget));
    if (const auto* label = qobject_cast<const QLabel*>(widget)) check(label, label->text());
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
      check(button, button->text());
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(widget)) check(group, group->title());
    if (const auto* tabs = qobject_cast<const QTabBar*>(widget)) {
      for (int i = 0; i < tabs->count(); ++i) check(tabs, tabs->tabText(i));
    }
    if (const auto* selector = qobject_cast<const QComboBox*>(widget)) {
      for (int i = 0; i < selector->count(); ++i) check(selector, selector->itemText(i));
    }
    checkActions(widget->actions(), checkActions);
  }
  found.removeDuplicates();
  return found;
}

}  // namespace vemla::testing
