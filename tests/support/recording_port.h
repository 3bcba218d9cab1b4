#pragma once
// A UserPort for window tests: records every message and question and answers questions from
// a script. An unscripted question is recorded in `unscripted` (tests check it stays empty)
// and answered with no / cancel.
#include <QList>
#include <QStringList>
#include <deque>
#include <optional>
#include <string_view>

#include "ports/ports.h"

namespace vemla::testing {

class RecordingPort : public UserPort {
 public:
  struct Told {
    Icon icon;
    QString text;
  };
  QList<Told> told;      // every message with its icon
  QStringList messages;  // the same texts alone
  QStringList titles;
  QStringList questions;
  QStringList unscripted;
  std::deque<bool> yesNoAnswers;
  std::deque<std::optional<RawSize>> rawAnswers;

  static QString text(std::string_view view) {
    return QString::fromUtf8(view.data(), static_cast<qsizetype>(view.size()));
  }
  void tell(Icon icon, std::string_view message, std::string_view title) override {
    told << Told{icon, text(message)};
    messages << text(message);
    titles << text(title);
  }
  bool askYesNo(std::string_view question) override {
    questions << text(question);
    if (yesNoAnswers.empty()) {
      unscripted << text(question);
      return false;
    }
    const bool answer = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return answer;
  }
  Answer askYesNoCancel(std::string_view question, Icon) override {
    unscripted << text(question);
    return Answer::Cancel;
  }
  std::optional<RawSize> askRawSize(std::string_view file, std::int64_t, RawSize) override {
    if (rawAnswers.empty()) {
      unscripted << text(file);
      return std::nullopt;
    }
    const std::optional<RawSize> answer = rawAnswers.front();
    rawAnswers.pop_front();
    return answer;
  }
  std::optional<RgbRatio> askRgbRatio(std::string_view suffix, RgbRatio) override {
    unscripted << text(suffix);
    return std::nullopt;
  }
};

}  // namespace vemla::testing
