#pragma once
// The processing expression language: user image processing expressions (evaluated per pixel)
// and calculator expressions (evaluated once).
//
// An expression is compiled once into a flat term list. Evaluating the term list means
// repeatedly combining the highest-level term with the next unconsumed term to its right. Which
// terms combine, and in what order, depends only on the levels, so compilation also records
// that order as a list of steps; evaluation replays the steps over an array of operands, with
// no parsing, no allocation and no recursion. Steps whose operands are all constants are done
// once while compiling.
#include <cfloat>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vemla {

// Longest source text that is compiled, white space included.
inline constexpr std::size_t kMaxExpressionLength = 510;
inline constexpr int kMaxPixelReferences = 80;
// Pixel offsets are bounded so that margins and coordinates stay far from integer overflow.
inline constexpr int kMaxPixelOffset = 999999;
inline constexpr int kImageTermCapacity = 257;
inline constexpr int kCalculatorTermCapacity = 267;

enum class ExpressionVariant { Image, Calculator };
// How hexadecimal constants are read in the calculator: in signed mode a first digit of 8 or
// more makes the value negative (0xff is -1, 0x0ff is 255). Image expressions are unsigned.
enum class HexMode { Unsigned, Signed };

// Space, tab, carriage return and line feed removed everywhere.
std::string removeWhiteSpace(std::string_view text);

struct PixelReference {
  int picture = 1;  // 1 or 2
  int dx = 0;       // positive to the right
  int dy = 0;       // positive downwards
  bool operator==(const PixelReference&) const = default;
};

struct PixelReferences {
  std::string text;  // the source without white space, each reference replaced by #n
  std::vector<PixelReference> references;  // reference n at index n - 1
  int marginX = 0;                         // largest |dx|
  int marginY = 0;                         // largest |dy|
};

// Replaces every P1(dx,dy) and P2(dx,dy) by #1, #2, … in order of occurrence. Fails on a
// malformed reference (anything but "(", optional sign, digits, ",", optional sign, digits,
// ")"), an offset of magnitude 1,000,000 or more, or more than 80 references. Other text is
// copied unchanged (a lower-case p1 or a P3 then fails to compile).
std::optional<PixelReferences> extractPixelReferences(std::string_view text);

enum class TermOperator : std::uint8_t {
  Add,
  Subtract,
  Multiply,
  Divide,
  Power,
  Remainder,
  Function,
  End
};

// One term: an operand and the operator that follows it, at the operator's priority level
// (parenthesis depth times 10 plus 0 for + -, 1 for * /, 2 for a sign, 3 for power and
// remainder, 9 for a function).
struct Term {
  int level = 0;
  bool isReference = false;
  double constant = 0;  // the operand when it is a constant
  int reference = 0;    // 0-based pixel reference index when it is a reference
  TermOperator op = TermOperator::End;
  int function = 0;  // index into the function table for TermOperator::Function
};

class CompiledExpression;

// Parses `text` (at most 510 characters before white space removal) into a term list of at
// most 257 terms (image) or 267 terms (calculator). Image expressions are the text of
// extractPixelReferences, and #n must name one of its `referenceCount` references; hexadecimal
// constants are then always unsigned. Any syntax error fails the whole compilation.
std::optional<CompiledExpression> compileExpression(std::string_view text,
                                                    ExpressionVariant variant,
                                                    int referenceCount = 0,
                                                    HexMode hex = HexMode::Unsigned);

// Evaluates a compiled expression; values[n - 1] is the grey value of pixel reference n (a
// missing value counts as 0). Division by 0 gives 0; the mathematical functions' domain
// errors give what the standard functions return.
double evaluateExpression(const CompiledExpression& expression, std::span<const int> values = {});

class CompiledExpression {
 public:
  const std::vector<Term>& terms() const { return terms_; }
  int termCount() const { return static_cast<int>(terms_.size()); }
  ExpressionVariant variant() const { return variant_; }
  // The number of grey values an evaluation needs (the highest reference number used).
  int referencesNeeded() const { return referencesNeeded_; }

 private:
  friend std::optional<CompiledExpression> compileExpression(std::string_view, ExpressionVariant,
                                                             int, HexMode);
  friend double evaluateExpression(const CompiledExpression&, std::span<const int>);
  friend class ExpressionRowEvaluator;

  // Combine slot `left` with slot `right` (both term indices) into slot `left`.
  struct Step {
    TermOperator op;
    std::uint8_t function;
    std::uint16_t left;
    std::uint16_t right;
    bool leftConstant;  // the left slot holds a compile-time value (its value in initial_)
    bool rightConstant;
  };
  void plan();

  ExpressionVariant variant_ = ExpressionVariant::Calculator;
  std::vector<Term> terms_;
  int referencesNeeded_ = 0;
  std::vector<double> initial_;      // per slot: its constant value when steps read it
  std::vector<int> referenceSlots_;  // slots that take a pixel value
  std::vector<Step> program_;        // the steps that depend on pixel values
};

// An expression result as a grey value: truncated toward zero, below 0 (and not-a-number) 0,
// above 255 255.
std::uint8_t toGreyValue(double value);

// Evaluates many pixels at once with work memory allocated once, giving exactly what
// evaluateExpression and toGreyValue give pixel by pixel. The expression must outlive it.
class ExpressionRowEvaluator {
 public:
  explicit ExpressionRowEvaluator(const CompiledExpression& expression);
  // `count` grey values into `out`; pixels[n][i] is the value of reference n + 1 at pixel i
  // (pixels needs referencesNeeded() pointers).
  void evaluate(std::span<const std::uint8_t* const> pixels, int count, std::uint8_t* out);

 private:
  static constexpr int kChunk = 256;
  const CompiledExpression& expression_;
  std::vector<int> laneOf_;  // slot -> lane, -1 for slots that only ever hold a constant
  std::vector<double> lanes_;
};

// The value the calculator evaluation reports a syntax error with.
inline constexpr double kCalculatorSyntaxError = DBL_MAX;

// Compiles and evaluates a calculator expression; kCalculatorSyntaxError on any syntax error,
// including a text longer than 510 characters.
double evaluateCalculatorExpression(std::string_view text, HexMode hex);

}  // namespace vemla
