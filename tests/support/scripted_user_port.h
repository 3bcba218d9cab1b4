#pragma once
// The scripted UserPort behind the test fakes, free of any test framework: it records every
// message, question and dialog, and answers each prompt from the queue the test filled. A
// prompt whose queue is empty goes to `unscripted` and is answered with no / cancel; the
// adapters decide what an unscripted prompt means (FakeUserPort fails the test, RecordingPort
// notes it for the window tests to check).
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ports/ports.h"

namespace vemla::testing {

class ScriptedUserPort : public UserPort {
 public:
  struct Message {
    Icon icon;
    std::string text;
    std::string title;
  };
  struct RawPrompt {
    std::string file;
    std::int64_t bytes;
    RawSize initial;
  };
  struct RatioPrompt {
    std::string suffix;
    RgbRatio initial;
  };

  std::vector<Message> messages;
  std::vector<std::string> questions;  // yes/no and yes/no/cancel, in the order asked
  std::vector<RawPrompt> rawPrompts;
  std::vector<RatioPrompt> ratioPrompts;

  std::deque<bool> yesNoAnswers;
  std::deque<Answer> yesNoCancelAnswers;
  std::deque<std::optional<RawSize>> rawAnswers;
  std::deque<std::optional<RgbRatio>> ratioAnswers;

  void tell(Icon icon, std::string_view text, std::string_view title) override {
    messages.push_back({icon, std::string(text), std::string(title)});
  }
  bool askYesNo(std::string_view text) override {
    questions.emplace_back(text);
    return next(yesNoAnswers, false, "question", text);
  }
  Answer askYesNoCancel(std::string_view text, Icon) override {
    questions.emplace_back(text);
    return next(yesNoCancelAnswers, Answer::Cancel, "question", text);
  }
  std::optional<RawSize> askRawSize(std::string_view file, std::int64_t bytes,
                                    RawSize initial) override {
    rawPrompts.push_back({std::string(file), bytes, initial});
    return next(rawAnswers, std::optional<RawSize>(), "raw size dialog", file);
  }
  std::optional<RgbRatio> askRgbRatio(std::string_view suffix, RgbRatio initial) override {
    ratioPrompts.push_back({std::string(suffix), initial});
    return next(ratioAnswers, std::optional<RgbRatio>(), "RGB ratio dialog", suffix);
  }

 protected:
  // A prompt found its queue empty. `prompt` names the kind of prompt, `subject` is the
  // question, the file of the raw size dialog or the title suffix of the RGB ratio dialog.
  virtual void unscripted(std::string_view /*prompt*/, std::string_view /*subject*/) {}

 private:
  template <typename T>
  T next(std::deque<T>& answers, T fallback, std::string_view prompt, std::string_view subject) {
    if (answers.empty()) {
      unscripted(prompt, subject);
      return fallback;
    }
    T answer = std::move(answers.front());
    answers.pop_front();
    return answer;
  }
};

}  // namespace vemla::testing
