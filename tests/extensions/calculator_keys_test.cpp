#include <gtest/gtest.h>

#include <set>
#include <string>

#include "extensions/calculator.h"

namespace vemla {
namespace {

// Clicks the buttons with these labels into an empty field, as the pad does.
std::string typed(std::initializer_list<const char*> labels) {
  CalculatorField field;
  for (const char* label : labels) {
    bool found = false;
    for (const CalculatorKey& key : calculatorKeys()) {
      if (std::string(key.label) == label) {
        EXPECT_TRUE(insertIntoField(field, key.text));
        found = true;
      }
    }
    EXPECT_TRUE(found) << label;
  }
  return field.text;
}

TEST(CalculatorKeys, InsertWhatTheExpressionLanguageReads) {
  EXPECT_EQ(typed({"２", "”", "１", "０"}), "2\"10");
  EXPECT_EQ(calculatorResultText(typed({"２", "”", "１", "０"}), HexMode::Unsigned),
            "1024   (0x400)");
  EXPECT_EQ(typed({"HEX", "Ａ", "Ｂ", "Ｃ", "Ｄ", "Ｅ", "Ｆ"}), "0xABCDEF");
  EXPECT_EQ(typed({"（", "７", "％", "３", "）", "＊", "．", "５", "／", "－", "＋"}),
            "(7%3)*.5/-+");
  std::set<std::string> labels, texts;
  for (const CalculatorKey& key : calculatorKeys()) {
    labels.insert(key.label);
    texts.insert(key.text);
    EXPECT_NE(std::string(key.help), "") << key.label;
  }
  EXPECT_EQ(labels.size(), 26u);
  EXPECT_EQ(texts.size(), 26u);
}

TEST(CalculatorField, InsertsAtTheCaretAndMovesItBehind) {
  CalculatorField field{"1+3", 2};
  EXPECT_TRUE(insertIntoField(field, "0x"));
  EXPECT_EQ(field.text, "1+0x3");
  EXPECT_EQ(field.caret, 4u);
  field.caret = 99;  // beyond the text: at its end
  EXPECT_TRUE(insertIntoField(field, ")"));
  EXPECT_EQ(field.text, "1+0x3)");
  EXPECT_EQ(field.caret, 6u);
}

TEST(CalculatorField, RefusesToGrowBeyond1022Characters) {
  CalculatorField field{std::string(1021, '1'), 0};
  EXPECT_FALSE(insertIntoField(field, "0x"));
  EXPECT_EQ(field.text.size(), 1021u);
  EXPECT_EQ(field.caret, 0u);
  EXPECT_TRUE(insertIntoField(field, "2"));
  EXPECT_EQ(field.text.size(), 1022u);
  EXPECT_EQ(field.text[0], '2');
  EXPECT_FALSE(insertIntoField(field, "3"));
  // Characters, not bytes: 1021 two-byte characters leave room for one more.
  CalculatorField wide;
  for (int i = 0; i < 1021; ++i) wide.text += "ａ";
  EXPECT_TRUE(insertIntoField(wide, "1"));
  EXPECT_FALSE(insertIntoField(wide, "1"));
}

TEST(CalculatorField, BackspaceRemovesOneWholeCharacterBeforeTheCaret) {
  CalculatorField field{"1ａ2", 4};  // the caret after the three bytes of "ａ"
  EXPECT_TRUE(deleteBeforeCaret(field));
  EXPECT_EQ(field.text, "12");
  EXPECT_EQ(field.caret, 1u);
  EXPECT_TRUE(deleteBeforeCaret(field));
  EXPECT_EQ(field.text, "2");
  EXPECT_EQ(field.caret, 0u);
  EXPECT_FALSE(deleteBeforeCaret(field));
  EXPECT_EQ(field.text, "2");
  // A caret inside a character counts as behind it.
  CalculatorField inside{"ａ", 1};
  EXPECT_TRUE(deleteBeforeCaret(inside));
  EXPECT_EQ(inside.text, "");
}

}  // namespace
}  // namespace vemla
