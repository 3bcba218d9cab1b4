#include "extensions/expression_rules.h"

#include <array>

#include "text/translate.h"

namespace vemla {
namespace {

struct FunctionLine {
  const char* name;
  const char* meaning;
};

// In the order of the function table of the expression language.
constexpr std::array<FunctionLine, 16> kFunctionLines{{
    {"ABS", text::N_("ｎの絶対値")},
    {"CEIL", text::N_("ｎ以上の最小の整数")},
    {"FLOOR", text::N_("ｎ以下の最大の整数")},
    {"SIN", text::N_("ｎの正弦(ﾗｼﾞｱﾝ)")},
    {"COS", text::N_("ｎの余弦(ﾗｼﾞｱﾝ)")},
    {"TAN", text::N_("ｎの正接(ﾗｼﾞｱﾝ)")},
    {"ASIN", text::N_("ｎの逆正弦(ｎは-1～1)")},
    {"ACOS", text::N_("ｎの逆余弦(ｎは-1～1)")},
    {"ATAN", text::N_("ｎの逆正接")},
    {"SINH", text::N_("ｎの双曲線正弦")},
    {"COSH", text::N_("ｎの双曲線余弦")},
    {"TANH", text::N_("ｎの双曲線正接")},
    {"EXP", text::N_("ｅのｎ乗")},
    {"LOG", text::N_("ｎの自然対数")},
    {"LOG10", text::N_("ｎの常用対数")},
    {"SQRT", text::N_("ｎの平方根")},
}};

// One step of the padding between a function and its meaning: a full-width space, as wide as
// two letters (two spaces where the language has no full-width space).
constexpr const char* kPaddingStep = text::N_("　");

// "ABS(ｎ)　　　ｎの絶対値": the meanings line up behind names of three to five letters.
std::string functionList() {
  std::string text = text::tr("■関数\n");
  const char* const argument = text::tr("(ｎ)");
  const char* const padding = text::tr(kPaddingStep);
  for (const FunctionLine& line : kFunctionLines) {
    text += "  ";
    text += line.name;
    text += argument;
    const std::size_t letters = std::char_traits<char>::length(line.name);
    for (std::size_t pad = letters < 5 ? 6 - letters : 1; pad > 0; --pad) text += padding;
    text += text::tr(line.meaning);
    text += '\n';
  }
  text += text::tr("  ※関数名は大文字か小文字で指定します(大文字と小文字の混在は不可)\n");
  return text;
}

constexpr const char* kHexadecimalNote = text::N_(
    "  ・16進数は先頭に0xを付けて指定が可能です\n"
    "    ただしfが８桁(0xffffffff)を超える指定はできません\n");
constexpr const char* kArithmeticNotes = text::N_(
    "  ・0による除算は0として計算を続行します\n"
    "  ・2の48乗(281474976710656)を超える値の結果は保証されません\n");

}  // namespace

std::string imageExpressionRules() {
  std::string text = text::tr(
      "■演算の優先順位(高→低)\n"
      "  1. ( )\n"
      "  2. P1(x,y) P2(x,y)\n"
      "  3. 関数\n"
      "  4. \"(べき乗)  %(剰余)\n"
      "  5. + -(符号)\n"
      "  6. * /\n"
      "  7. + -\n");
  text += functionList();
  text += text::tr("■注意事項\n");
  text += text::tr(kHexadecimalNote);
  text += text::tr("    (画素のｵﾌｾｯﾄ値には16進数は指定できません)\n");
  text += text::tr("  ・P1、P2は必ず大文字で指定してください\n");
  text += text::tr(kArithmeticNotes);
  text += text::tr("  ・最終結果が0未満の場合は0、256以上の場合は255になります\n");
  text += text::tr("■例 ｶﾚﾝﾄ画素と上下左右の画素での画像１と画像２の差の絶対値の平均\n  ");
  text += kImageExpressionExample;
  text += text::tr("\n  ※+0.5は四捨五入のため");
  return text;
}

std::string calculatorExpressionRules() {
  std::string text = text::tr(
      "■演算の優先順位(高→低)\n"
      "  1. ( )\n"
      "  2. 関数\n"
      "  3. \"(べき乗)  %(剰余)\n"
      "  4. + -(符号)\n"
      "  5. * /\n"
      "  6. + -\n");
  text += functionList();
  text += text::tr("■注意事項\n");
  text += text::tr(kHexadecimalNote);
  text += text::tr(
      "  ・符号ありの場合は16進数の最上位の桁が8以上で負の値になります\n"
      "    (0xff = -1、0x0ff = 255)\n");
  text += text::tr(kArithmeticNotes);
  return text;
}

}  // namespace vemla
