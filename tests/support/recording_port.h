#pragma once
// The scripted UserPort for the window tests, with what it recorded as Qt strings. An
// unscripted prompt is noted in `unscripted` (tests check it stays empty) and answered with
// no / cancel.
#include <QList>
#include <QStringList>
#include <deque>
#include <optional>
#include <string_view>

#include "support/scripted_user_port.h"

namespace vemla::testing {

class RecordingPort : public UserPort {
 public:
  RecordingPort() = default;
  RecordingPort(const RecordingPort&) = delete;  // the queues below refer into this port
  RecordingPort& operator=(const RecordingPort&) = delete;

  struct Told {
    Icon icon;
    QString text;
  };
  QList<Told> told;      // every message with its icon
  QStringList messages;  // the same texts alone
  QStringList titles;
  QStringList questions;  // the yes/no questions
  QStringList unscripted;

 private:
  class Script : public ScriptedUserPort {
   public:
    explicit Script(QStringList& notes) : notes_(notes) {}

   protected:
    void unscripted(std::string_view, std::string_view subject) override {
      notes_ << text(subject);
    }

   private:
    QStringList& notes_;
  };
  Script script_{unscripted};

 public:
  // The answer queues live in the script.
  std::deque<bool>& yesNoAnswers = script_.yesNoAnswers;
  std::deque<Answer>& yesNoCancelAnswers = script_.yesNoCancelAnswers;
  std::deque<std::optional<RawSize>>& rawAnswers = script_.rawAnswers;

  static QString text(std::string_view view) {
    return QString::fromUtf8(view.data(), static_cast<qsizetype>(view.size()));
  }
  void tell(Icon icon, std::string_view message, std::string_view title) override {
    script_.tell(icon, message, title);
    told << Told{icon, text(message)};
    messages << text(message);
    titles << text(title);
  }
  bool askYesNo(std::string_view question) override {
    questions << text(question);
    return script_.askYesNo(question);
  }
  Answer askYesNoCancel(std::string_view question, Icon icon) override {
    return script_.askYesNoCancel(question, icon);
  }
  std::optional<RawSize> askRawSize(std::string_view file, std::int64_t bytes,
                                    RawSize initial) override {
    return script_.askRawSize(file, bytes, initial);
  }
  std::optional<RgbRatio> askRgbRatio(std::string_view suffix, RgbRatio initial) override {
    return script_.askRgbRatio(suffix, initial);
  }
};

}  // namespace vemla::testing
