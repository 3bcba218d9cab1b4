#include "tools/tool_words.h"

#include <gtest/gtest.h>

#include "tools/line_entry.h"

namespace vemla::tools {
namespace {

TEST(GradationWord, KeepsEveryFieldAndResetsAModeOutOfRange) {
  const GradationWord state{3, true, false, true, true};
  EXPECT_EQ(decodeGradationWord(encodeGradationWord(state)), state);
  EXPECT_EQ(encodeGradationWord(state), 3 | 8 | 32 | 64);
  EXPECT_EQ(decodeGradationWord(7).mode, 0);
  EXPECT_EQ(decodeGradationWord(7 | 16), (GradationWord{0, false, true, false, false}));
}

TEST(ProfileWord, KeepsEveryFieldAndResetsFieldsOutOfRange) {
  const ProfileWord state{2, 1, true, false, true, 20, 200};
  EXPECT_EQ(decodeProfileWord(encodeProfileWord(state)), state);
  // A fresh settings record holds 0: bounds 0..0 are no range.
  EXPECT_EQ(decodeProfileWord(0), ProfileWord{});
  EXPECT_EQ(decodeProfileWord(3 | (3 << 2)).direction, 0);
  EXPECT_EQ(decodeProfileWord(3 | (3 << 2)).shown, 0);
  const ProfileWord crossed = decodeProfileWord((200 << 8) | (100 << 16));
  EXPECT_EQ(crossed.lower, 0);
  EXPECT_EQ(crossed.upper, 255);
  EXPECT_EQ(decodeProfileWord(encodeProfileWord({0, 0, false, false, false, 9, 9})).upper, 255);
}

TEST(LineEntry, ClicksStartFollowAndFix) {
  LineEntry line;
  EXPECT_FALSE(line.move({5, 5}));  // nothing started
  line.click({1, 2});
  EXPECT_EQ(line.state(), LineEntry::State::Following);
  EXPECT_TRUE(line.move({7, 9}));
  EXPECT_FALSE(line.move({7, 9}));
  line.click({8, 9});
  EXPECT_EQ(line.state(), LineEntry::State::Fixed);
  EXPECT_EQ(line.start(), (ViewPoint{1, 2}));
  EXPECT_EQ(line.end(), (ViewPoint{8, 9}));
  EXPECT_FALSE(line.move({3, 3}));  // a fixed line stays
  line.click({4, 4});               // and the next click starts anew
  EXPECT_EQ(line.state(), LineEntry::State::Following);
  EXPECT_EQ(line.start(), (ViewPoint{4, 4}));
}

}  // namespace
}  // namespace vemla::tools
