#pragma once
// A UserPort for tests: records every message and answers prompts from a script. A prompt
// that was not scripted fails the test and is answered with cancel / no.
#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "ports/ports.h"

namespace vemla::testing {

class FakeUserPort : public UserPort {
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
  std::vector<RawPrompt> rawPrompts;
  std::vector<RatioPrompt> ratioPrompts;
  std::vector<std::string> questions;

  std::deque<std::optional<RawSize>> rawAnswers;
  std::deque<std::optional<RgbRatio>> ratioAnswers;
  std::deque<bool> yesNoAnswers;
  std::deque<Answer> yesNoCancelAnswers;

  void tell(Icon icon, std::string_view text, std::string_view title) override {
    messages.push_back({icon, std::string(text), std::string(title)});
  }
  bool askYesNo(std::string_view text) override {
    questions.emplace_back(text);
    if (yesNoAnswers.empty()) {
      ADD_FAILURE() << "unscripted question: " << text;
      return false;
    }
    const bool answer = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return answer;
  }
  Answer askYesNoCancel(std::string_view text, Icon) override {
    questions.emplace_back(text);
    if (yesNoCancelAnswers.empty()) {
      ADD_FAILURE() << "unscripted question: " << text;
      return Answer::Cancel;
    }
    const Answer answer = yesNoCancelAnswers.front();
    yesNoCancelAnswers.pop_front();
    return answer;
  }
  std::optional<RawSize> askRawSize(std::string_view file, std::int64_t bytes,
                                    RawSize initial) override {
    rawPrompts.push_back({std::string(file), bytes, initial});
    if (rawAnswers.empty()) {
      ADD_FAILURE() << "unscripted raw size dialog for " << file;
      return std::nullopt;
    }
    auto answer = rawAnswers.front();
    rawAnswers.pop_front();
    return answer;
  }
  std::optional<RgbRatio> askRgbRatio(std::string_view suffix, RgbRatio initial) override {
    ratioPrompts.push_back({std::string(suffix), initial});
    if (ratioAnswers.empty()) {
      ADD_FAILURE() << "unscripted RGB ratio dialog " << suffix;
      return std::nullopt;
    }
    auto answer = ratioAnswers.front();
    ratioAnswers.pop_front();
    return answer;
  }

  // The only message told so far (fails the test when there is not exactly one).
  std::string onlyMessage() const {
    EXPECT_EQ(messages.size(), 1u);
    return messages.empty() ? std::string() : messages.back().text;
  }
};

}  // namespace vemla::testing
