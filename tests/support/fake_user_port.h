#pragma once
// The scripted UserPort for GoogleTest: an unscripted prompt fails the test.
#include <gtest/gtest.h>

#include <string>

#include "support/scripted_user_port.h"

namespace vemla::testing {

class FakeUserPort : public ScriptedUserPort {
 public:
  // The only message told so far (fails the test when there is not exactly one).
  std::string onlyMessage() const {
    EXPECT_EQ(messages.size(), 1u);
    return messages.empty() ? std::string() : messages.back().text;
  }

 protected:
  void unscripted(std::string_view prompt, std::string_view subject) override {
    ADD_FAILURE() << "unscripted " << prompt << ": " << subject;
  }
};

}  // namespace vemla::testing
