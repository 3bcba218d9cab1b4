#include "extensions/expression.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "text/decimal_text.h"

namespace vemla {
namespace {

// Each function under its upper-case and its lower-case name, the opening parenthesis
// included; mixed case is no function. Names are tried in table order.
struct FunctionEntry {
  const char* upper;
  const char* lower;
  double (*apply)(double);
};
const std::array<FunctionEntry, 16> kFunctions{{
    {"ABS(", "abs(", [](double v) { return std::fabs(v); }},
    {"CEIL(", "ceil(", [](double v) { return std::ceil(v); }},
    {"FLOOR(", "floor(", [](double v) { return std::floor(v); }},
    {"SIN(", "sin(", [](double v) { return std::sin(v); }},
    {"COS(", "cos(", [](double v) { return std::cos(v); }},
    {"TAN(", "tan(", [](double v) { return std::tan(v); }},
    {"ASIN(", "asin(", [](double v) { return std::asin(v); }},
    {"ACOS(", "acos(", [](double v) { return std::acos(v); }},
    {"ATAN(", "atan(", [](double v) { return std::atan(v); }},
    {"SINH(", "sinh(", [](double v) { return std::sinh(v); }},
    {"COSH(", "cosh(", [](double v) { return std::cosh(v); }},
    {"TANH(", "tanh(", [](double v) { return std::tanh(v); }},
    {"EXP(", "exp(", [](double v) { return std::exp(v); }},
    {"LOG(", "log(", [](double v) { return std::log(v); }},
    {"LOG10(", "log10(", [](double v) { return std::log10(v); }},
    {"SQRT(", "sqrt(", [](double v) { return std::sqrt(v); }},
}};

// Priority bases added to the parenthesis level (10 per open parenthesis).
constexpr int kAddBase = 0;
constexpr int kMultiplyBase = 1;
constexpr int kSignBase = 2;
constexpr int kPowerBase = 3;
constexpr int kFunctionBase = 9;
constexpr int kParenthesisStep = 10;

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

int hexDigitValue(char c) {
  if (isDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

double divide(double left, double right) {
  return right == 0 ? 0.0 : left / right;
}

double combine(TermOperator op, int function, double left, double right) {
  switch (op) {
    case TermOperator::Add:
      return left + right;
    case TermOperator::Subtract:
      return left - right;
    case TermOperator::Multiply:
      return left * right;
    case TermOperator::Divide:
      return divide(left, right);
    case TermOperator::Power:
      return std::pow(left, right);
    case TermOperator::Remainder:
      return std::fmod(left, right);
    case TermOperator::Function:
      return kFunctions[static_cast<std::size_t>(function)].apply(right);
    case TermOperator::End:
      break;  // the end term never has a term to its right
  }
  return left;
}

// A number: the longest run of digits, points and x/X (and, once an x is seen, hexadecimal
// letters). At most one point or one x, not both; an x only as the second character after a
// leading 0; hexadecimal at most 8 digits. `i` moves behind the run.
std::optional<double> readNumber(std::string_view text, std::size_t& i, bool signedHex) {
  const std::size_t start = i;
  int points = 0;
  int xs = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c == 'x' || c == 'X') {
      ++xs;
    } else if (c == '.') {
      ++points;
    } else if (!isDigit(c) && !(xs > 0 && hexDigitValue(c) >= 0)) {
      break;
    }
  }
  const std::string_view run = text.substr(start, i - start);
  if (points > 1 || xs > 1 || (points > 0 && xs > 0)) return std::nullopt;
  // Digits and at most one point: "5." is 5, ".5" is 0.5, a lone "." is 0.
  if (xs == 0) return text::readLeadingNumber(run);
  if (run.size() < 2 || run[0] != '0' || (run[1] != 'x' && run[1] != 'X') || run.size() > 10) {
    return std::nullopt;
  }
  const std::string_view digits = run.substr(2);
  std::uint32_t value = 0;
  for (const char c : digits) value = value * 16 + static_cast<std::uint32_t>(hexDigitValue(c));
  double result = value;
  if (signedHex && !digits.empty() && hexDigitValue(digits[0]) >= 8) {
    result -= std::ldexp(1.0, 4 * static_cast<int>(digits.size()));
  }
  return result;
}

// The function whose name begins text at i, or -1.
int matchFunction(std::string_view text, std::size_t i, std::size_t& nameLength) {
  const std::string_view rest = text.substr(std::min(i, text.size()));
  for (std::size_t index = 0; index < kFunctions.size(); ++index) {
    for (const char* name : {kFunctions[index].upper, kFunctions[index].lower}) {
      if (rest.starts_with(name)) {
        nameLength = std::strlen(name);
        return static_cast<int>(index);
      }
    }
  }
  return -1;
}

// An optionally signed decimal offset of at most six digits' worth (|v| <= 999999).
bool readOffset(std::string_view text, std::size_t& i, int& offset) {
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const std::size_t start = i;
  int value = 0;
  for (; i < text.size() && isDigit(text[i]); ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > kMaxPixelOffset) return false;
  }
  if (i == start) return false;
  offset = negative ? -value : value;
  return true;
}

bool expect(std::string_view text, std::size_t& i, char c) {
  if (i >= text.size() || text[i] != c) return false;
  ++i;
  return true;
}

}  // namespace

std::string removeWhiteSpace(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') out += c;
  }
  return out;
}

std::optional<PixelReferences> extractPixelReferences(std::string_view text) {
  const std::string source = removeWhiteSpace(text);
  PixelReferences result;
  result.text.reserve(source.size());
  std::size_t i = 0;
  while (i < source.size()) {
    if (source[i] != 'P' || i + 1 >= source.size() ||
        (source[i + 1] != '1' && source[i + 1] != '2')) {
      result.text += source[i++];
      continue;
    }
    PixelReference reference;
    reference.picture = source[i + 1] - '0';
    i += 2;
    if (!expect(source, i, '(') || !readOffset(source, i, reference.dx) ||
        !expect(source, i, ',') || !readOffset(source, i, reference.dy) ||
        !expect(source, i, ')')) {
      return std::nullopt;
    }
    if (result.references.size() >= static_cast<std::size_t>(kMaxPixelReferences))
      return std::nullopt;
    result.references.push_back(reference);
    result.text += '#';
    result.text += std::to_string(result.references.size());
    result.marginX = std::max(result.marginX, std::abs(reference.dx));
    result.marginY = std::max(result.marginY, std::abs(reference.dy));
  }
  return result;
}

namespace {

// The parser has two states: an operand is expected (at the start, after an infix operator,
// a sign, "(" or a function name) or an operator is expected (after an operand or ")"). Each
// operator emits one term carrying the operand before it.
class TermReader {
 public:
  TermReader(const std::string& source, bool image, bool signedHex, int references,
             std::size_t capacity, std::vector<Term>& terms)
      : source_(source),
        image_(image),
        signedHex_(signedHex),
        references_(references),
        capacity_(capacity),
        terms_(terms) {}

  // Reads the whole text; false when it is no expression or needs more terms than the capacity.
  bool read() {
    while (true) {
      if (expectOperand_) {
        if (!readBeforeOperator()) return false;
      } else if (i_ == source_.size()) {
        return finish();
      } else if (!readOperator()) {
        return false;
      }
    }
  }

 private:
  bool emit(const Term& term) {
    if (terms_.size() >= capacity_) return false;
    terms_.push_back(term);
    return true;
  }

  // One step where an operand is expected: a sign, "(", a function name, or the operand.
  bool readBeforeOperator() {
    const std::size_t size = source_.size();
    const char c = i_ < size ? source_[i_] : '\0';
    if (i_ < size && (c == '+' || c == '-')) {
      if (afterSign_) return false;
      Term sign;  // 0 - operand
      sign.op = c == '+' ? TermOperator::Add : TermOperator::Subtract;
      sign.level = level_ + kSignBase;
      if (!emit(sign)) return false;
      afterSign_ = true;
      ++i_;
      return true;
    }
    afterSign_ = false;
    if (i_ < size && c == '(') {
      level_ += kParenthesisStep;
      ++i_;
      return true;
    }
    if (i_ < size && (isDigit(c) || c == '.')) {
      const std::optional<double> value = readNumber(source_, i_, signedHex_);
      if (!value) return false;
      pending_ = Term{};
      pending_.constant = *value;
      expectOperand_ = false;
      return true;
    }
    if (i_ < size && c == '#' && image_) return readReference();
    std::size_t nameLength = 0;
    const int function = matchFunction(source_, i_, nameLength);
    if (function < 0) return false;
    Term application;  // its own operand is ignored: it takes the function of its right
    application.op = TermOperator::Function;
    application.function = function;
    application.level = level_ + kFunctionBase;
    if (!emit(application)) return false;
    level_ += kParenthesisStep;
    i_ += nameLength;
    return true;
  }

  // "#n": the n-th pixel reference, 1 .. the number of references.
  bool readReference() {
    const std::size_t size = source_.size();
    const std::size_t start = ++i_;
    int number = 0;
    for (; i_ < size && isDigit(source_[i_]); ++i_) {
      if (number <= kMaxPixelReferences) number = number * 10 + (source_[i_] - '0');
    }
    if (i_ == start || number < 1 || number > references_) return false;
    pending_ = Term{};
    pending_.isReference = true;
    pending_.reference = number - 1;
    expectOperand_ = false;
    return true;
  }

  // An infix operator after an operand, which emits the operand's term, or a ")".
  bool readOperator() {
    int base = kAddBase;
    switch (source_[i_++]) {
      case '+':
        pending_.op = TermOperator::Add;
        break;
      case '-':
        pending_.op = TermOperator::Subtract;
        break;
      case '*':
        pending_.op = TermOperator::Multiply;
        base = kMultiplyBase;
        break;
      case '/':
        pending_.op = TermOperator::Divide;
        base = kMultiplyBase;
        break;
      case '"':
        pending_.op = TermOperator::Power;
        base = kPowerBase;
        break;
      case '%':
        pending_.op = TermOperator::Remainder;
        base = kPowerBase;
        break;
      case ')':
        level_ -= kParenthesisStep;
        return level_ >= 0;
      default:
        return false;
    }
    pending_.level = level_ + base;
    if (!emit(pending_)) return false;
    expectOperand_ = true;
    return true;
  }

  // The end of the text after an operand: the last term, with every parenthesis closed.
  bool finish() {
    pending_.op = TermOperator::End;
    pending_.level = level_;
    return level_ == 0 && emit(pending_);
  }

  const std::string& source_;
  const bool image_;
  const bool signedHex_;
  const int references_;
  const std::size_t capacity_;
  std::vector<Term>& terms_;
  std::size_t i_ = 0;
  int level_ = 0;
  bool expectOperand_ = true;
  bool afterSign_ = false;  // a sign may not directly follow a sign
  Term pending_;
};

}  // namespace

std::optional<CompiledExpression> compileExpression(std::string_view text,
                                                    ExpressionVariant variant, int referenceCount,
                                                    HexMode hex) {
  if (text.size() > kMaxExpressionLength) return std::nullopt;
  const std::string source = removeWhiteSpace(text);
  const bool image = variant == ExpressionVariant::Image;
  const bool signedHex = !image && hex == HexMode::Signed;
  const std::size_t capacity =
      static_cast<std::size_t>(image ? kImageTermCapacity : kCalculatorTermCapacity);
  const int references = image ? std::clamp(referenceCount, 0, kMaxPixelReferences) : 0;

  CompiledExpression compiled;
  compiled.variant_ = variant;
  compiled.terms_.reserve(capacity);
  TermReader reader(source, image, signedHex, references, capacity, compiled.terms_);
  if (!reader.read()) return std::nullopt;
  compiled.plan();
  return compiled;
}

// Runs the reduction over the levels alone: take the unconsumed term with the highest level
// (the leftmost of equals), combine it with the next unconsumed term to its right, let it take
// over that term's operator and level, and mark that term consumed. A step whose two operands
// are known now is done now; the others form the program that runs per evaluation. A slot
// that a program step writes never becomes known again, and a known slot is read by at most
// one program step, so initial_ can hold each known slot's value as that step reads it.
void CompiledExpression::plan() {
  const std::size_t count = terms_.size();
  std::vector<int> level(count);
  std::vector<TermOperator> op(count);
  std::vector<int> function(count);
  std::vector<bool> known(count);
  initial_.assign(count, 0.0);
  referenceSlots_.clear();
  program_.clear();
  referencesNeeded_ = 0;
  for (std::size_t i = 0; i < count; ++i) {
    level[i] = terms_[i].level;
    op[i] = terms_[i].op;
    function[i] = terms_[i].function;
    known[i] = !terms_[i].isReference;
    if (terms_[i].isReference) {
      referenceSlots_.push_back(static_cast<int>(i));
      referencesNeeded_ = std::max(referencesNeeded_, terms_[i].reference + 1);
    } else {
      initial_[i] = terms_[i].constant;
    }
  }
  constexpr int kConsumed = -3;
  while (true) {
    std::size_t best = count;
    for (std::size_t i = 0; i < count; ++i) {
      if (level[i] >= 0 && (best == count || level[i] > level[best])) best = i;
    }
    if (best == count) break;
    std::size_t next = best + 1;
    while (next < count && level[next] == kConsumed) ++next;
    if (next == count) break;
    if (known[best] && known[next]) {
      initial_[best] = combine(op[best], function[best], initial_[best], initial_[next]);
    } else {
      program_.push_back({op[best], static_cast<std::uint8_t>(function[best]),
                          static_cast<std::uint16_t>(best), static_cast<std::uint16_t>(next),
                          static_cast<bool>(known[best]), static_cast<bool>(known[next])});
      known[best] = false;
    }
    op[best] = op[next];
    function[best] = function[next];
    level[best] = level[next];
    level[next] = kConsumed;
  }
}

double evaluateExpression(const CompiledExpression& expression, std::span<const int> values) {
  if (expression.terms_.empty()) return 0;
  std::array<double,
             static_cast<std::size_t>(std::max(kImageTermCapacity, kCalculatorTermCapacity))>
      slots;
  std::copy(expression.initial_.begin(), expression.initial_.end(), slots.begin());
  for (const int slot : expression.referenceSlots_) {
    const auto reference =
        static_cast<std::size_t>(expression.terms_[static_cast<std::size_t>(slot)].reference);
    slots[static_cast<std::size_t>(slot)] = reference < values.size() ? values[reference] : 0;
  }
  for (const CompiledExpression::Step& step : expression.program_) {
    slots[step.left] = combine(step.op, step.function, slots[step.left], slots[step.right]);
  }
  return slots[0];
}

std::uint8_t toGreyValue(double value) {
  if (!(value > 0)) return 0;  // not-a-number too
  if (value >= 255) return 255;
  return static_cast<std::uint8_t>(value);
}

double evaluateCalculatorExpression(std::string_view text, HexMode hex) {
  const std::optional<CompiledExpression> compiled =
      compileExpression(text, ExpressionVariant::Calculator, 0, hex);
  if (!compiled) return kCalculatorSyntaxError;
  return evaluateExpression(*compiled);
}

// ---- Many pixels at once ----------------------------------------------------------------
//
// Every slot that holds a pixel-dependent value gets a lane of kChunk doubles; each program
// step runs as one loop over the lanes, so the arithmetic steps vectorise. The operations and
// their order are those of evaluateExpression, so the results are the same bit for bit.

namespace {

template <typename Operation>
void applyLanes(const double* left, double leftConstant, const double* right, double rightConstant,
                double* out, int count, Operation operation) {
  if (left != nullptr && right != nullptr) {
    for (int i = 0; i < count; ++i) out[i] = operation(left[i], right[i]);
  } else if (left != nullptr) {
    for (int i = 0; i < count; ++i) out[i] = operation(left[i], rightConstant);
  } else if (right != nullptr) {
    for (int i = 0; i < count; ++i) out[i] = operation(leftConstant, right[i]);
  } else {
    const double value = operation(leftConstant, rightConstant);
    std::fill(out, out + count, value);
  }
}

template <typename Function>
void applyFunction(const double* right, double rightConstant, double* out, int count, Function f) {
  if (right == nullptr) {
    std::fill(out, out + count, f(rightConstant));
    return;
  }
  for (int i = 0; i < count; ++i) out[i] = f(right[i]);
}

void applyFunctionLanes(int function, const double* right, double rightConstant, double* out,
                        int count) {
  switch (function) {
    case 0:
      return applyFunction(right, rightConstant, out, count, [](double v) { return std::fabs(v); });
    case 1:
      return applyFunction(right, rightConstant, out, count, [](double v) { return std::ceil(v); });
    case 2:
      return applyFunction(right, rightConstant, out, count,
                           [](double v) { return std::floor(v); });
    case 15:
      return applyFunction(right, rightConstant, out, count, [](double v) { return std::sqrt(v); });
    default:
      return applyFunction(right, rightConstant, out, count,
                           kFunctions[static_cast<std::size_t>(function)].apply);
  }
}

}  // namespace

ExpressionRowEvaluator::ExpressionRowEvaluator(const CompiledExpression& expression)
    : expression_(expression), laneOf_(expression.terms_.size(), -1) {
  int lanes = 0;
  for (const int slot : expression.referenceSlots_)
    laneOf_[static_cast<std::size_t>(slot)] = lanes++;
  for (const CompiledExpression::Step& step : expression.program_) {
    if (laneOf_[step.left] < 0) laneOf_[step.left] = lanes++;
  }
  lanes_.resize(static_cast<std::size_t>(lanes) * kChunk);
}

void ExpressionRowEvaluator::evaluate(std::span<const std::uint8_t* const> pixels, int count,
                                      std::uint8_t* out) {
  const CompiledExpression& e = expression_;
  const auto lane = [this](std::size_t slot) {
    return lanes_.data() + static_cast<std::size_t>(laneOf_[slot]) * kChunk;
  };
  if (e.terms_.empty() || laneOf_[0] < 0) {  // no pixel-dependent result
    std::fill(out, out + std::max(count, 0), toGreyValue(e.terms_.empty() ? 0.0 : e.initial_[0]));
    return;
  }
  for (int start = 0; start < count; start += kChunk) {
    const int n = std::min(kChunk, count - start);
    for (const int slot : e.referenceSlots_) {
      const auto reference =
          static_cast<std::size_t>(e.terms_[static_cast<std::size_t>(slot)].reference);
      const std::uint8_t* source = reference < pixels.size() ? pixels[reference] : nullptr;
      double* values = lane(static_cast<std::size_t>(slot));
      if (source == nullptr) {
        std::fill(values, values + n, 0.0);
      } else {
        for (int i = 0; i < n; ++i) values[i] = source[start + i];
      }
    }
    for (const CompiledExpression::Step& step : e.program_) {
      double* target = lane(step.left);
      const double* left = step.leftConstant ? nullptr : target;
      const double* right = step.rightConstant ? nullptr : lane(step.right);
      const double leftConstant = e.initial_[step.left];
      const double rightConstant = e.initial_[step.right];
      switch (step.op) {
        case TermOperator::Add:
          applyLanes(left, leftConstant, right, rightConstant, target, n,
                     [](double a, double b) { return a + b; });
          break;
        case TermOperator::Subtract:
          applyLanes(left, leftConstant, right, rightConstant, target, n,
                     [](double a, double b) { return a - b; });
          break;
        case TermOperator::Multiply:
          applyLanes(left, leftConstant, right, rightConstant, target, n,
                     [](double a, double b) { return a * b; });
          break;
        case TermOperator::Divide:
          applyLanes(left, leftConstant, right, rightConstant, target, n, divide);
          break;
        case TermOperator::Power:
          applyLanes(left, leftConstant, right, rightConstant, target, n,
                     [](double a, double b) { return std::pow(a, b); });
          break;
        case TermOperator::Remainder:
          applyLanes(left, leftConstant, right, rightConstant, target, n,
                     [](double a, double b) { return std::fmod(a, b); });
          break;
        case TermOperator::Function:
          applyFunctionLanes(step.function, right, rightConstant, target, n);
          break;
        case TermOperator::End:
          break;
      }
    }
    const double* result = lane(0);
    for (int i = 0; i < n; ++i) out[start + i] = toGreyValue(result[i]);
  }
}

}  // namespace vemla
