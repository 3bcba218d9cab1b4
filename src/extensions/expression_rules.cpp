#include "extensions/expression_rules.h"

#include <array>

namespace vemla {
namespace {

struct FunctionLine {
  const char* name;
  const char* meaning;
};

// In the order of the function table of the expression language.
constexpr std::array<FunctionLine, 16> kFunctionLines{{
    {"ABS", "ｎの絶対値"},
    {"CEIL", "ｎ以上の最小の整数"},
    {"FLOOR", "ｎ以下の最大の整数"},
    {"SIN", "ｎの正弦(ﾗｼﾞｱﾝ)"},
    {"COS", "ｎの余弦(ﾗｼﾞｱﾝ)"},
    {"TAN", "ｎの正接(ﾗｼﾞｱﾝ)"},
    {"ASIN", "ｎの逆正弦(ｎは-1～1)"},
    {"ACOS", "ｎの逆余弦(ｎは-1～1)"},
    {"ATAN", "ｎの逆正接"},
    {"SINH", "ｎの双曲線正弦"},
    {"COSH", "ｎの双曲線余弦"},
    {"TANH", "ｎの双曲線正接"},
    {"EXP", "ｅのｎ乗"},
    {"LOG", "ｎの自然対数"},
    {"LOG10", "ｎの常用対数"},
    {"SQRT", "ｎの平方根"},
}};

// "ABS(ｎ)　　　ｎの絶対値": the meanings line up behind names of three to five letters.
std::string functionList() {
  std::string text = "■関数\n";
  for (const FunctionLine& line : kFunctionLines) {
    text += "  ";
    text += line.name;
    text += "(ｎ)";
    const std::size_t letters = std::char_traits<char>::length(line.name);
    for (std::size_t pad = letters < 5 ? 6 - letters : 1; pad > 0; --pad) text += "　";
    text += line.meaning;
    text += '\n';
  }
  text += "  ※関数名は大文字か小文字で指定します(大文字と小文字の混在は不可)\n";
  return text;
}

constexpr const char* kHexadecimalNote =
    "  ・16進数は先頭に0xを付けて指定が可能です\n"
    "    ただしfが８桁(0xffffffff)を超える指定はできません\n";
constexpr const char* kArithmeticNotes =
    "  ・0による除算は0として計算を続行します\n"
    "  ・2の48乗(281474976710656)を超える値の結果は保証されません\n";

}  // namespace

std::string imageExpressionRules() {
  std::string text =
      "■演算の優先順位(高→低)\n"
      "  1. ( )\n"
      "  2. P1(x,y) P2(x,y)\n"
      "  3. 関数\n"
      "  4. \"(べき乗)  %(剰余)\n"
      "  5. + -(符号)\n"
      "  6. * /\n"
      "  7. + -\n";
  text += functionList();
  text += "■注意事項\n";
  text += kHexadecimalNote;
  text += "    (画素のｵﾌｾｯﾄ値には16進数は指定できません)\n";
  text += "  ・P1、P2は必ず大文字で指定してください\n";
  text += kArithmeticNotes;
  text += "  ・最終結果が0未満の場合は0、256以上の場合は255になります\n";
  text += "■例 ｶﾚﾝﾄ画素と上下左右の画素での画像１と画像２の差の絶対値の平均\n  ";
  text += kImageExpressionExample;
  text += "\n  ※+0.5は四捨五入のため";
  return text;
}

std::string calculatorExpressionRules() {
  std::string text =
      "■演算の優先順位(高→低)\n"
      "  1. ( )\n"
      "  2. 関数\n"
      "  3. \"(べき乗)  %(剰余)\n"
      "  4. + -(符号)\n"
      "  5. * /\n"
      "  6. + -\n";
  text += functionList();
  text += "■注意事項\n";
  text += kHexadecimalNote;
  text +=
      "  ・符号ありの場合は16進数の最上位の桁が8以上で負の値になります\n"
      "    (0xff = -1、0x0ff = 255)\n";
  text += kArithmeticNotes;
  return text;
}

}  // namespace vemla
