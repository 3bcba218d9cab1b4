// Compiles and evaluates arbitrary text as a calculator expression, as an image expression
// and as the elements of a filter. Whatever the text, the result is a value or a syntax
// error: no crash, no hang, no read outside the pictures. The row evaluator must give what
// the pixel-by-pixel evaluation gives, and the calculator's result text must fit its field.
#include "extensions/expression.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "extensions/calculator.h"
#include "extensions/user_processing.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

constexpr int kSide = 12;

std::vector<std::uint8_t> picture(int seed) {
  std::vector<std::uint8_t> pixels(kSide * kSide);
  for (std::size_t i = 0; i < pixels.size(); ++i)
    pixels[i] = static_cast<std::uint8_t>(i * 37 + seed);
  return pixels;
}

void calculator(std::string_view text, vemla::HexMode hex) {
  const double value = vemla::evaluateCalculatorExpression(text, hex);
  const std::string shown = vemla::calculatorResultText(text, hex);
  check(!shown.empty() && shown.size() <= vemla::kCalculatorResultLength);
  // A value is shown as its formatted text; one whose text would not fit the field (a
  // 271-digit power, say) is shown as the error, never cut.
  if (value == vemla::kCalculatorSyntaxError)
    check(shown == vemla::kCalculatorErrorText);
  else
    check(shown == vemla::formatCalculatorResult(value, hex));
}

void imageExpression(std::string_view text) {
  const auto extracted = vemla::extractPixelReferences(text);
  if (!extracted) return;
  const auto& references = extracted->references;
  check(references.size() <= static_cast<std::size_t>(vemla::kMaxPixelReferences));
  check(extracted->marginX >= 0 && extracted->marginX <= vemla::kMaxPixelOffset);
  check(extracted->marginY >= 0 && extracted->marginY <= vemla::kMaxPixelOffset);
  const auto compiled = vemla::compileExpression(extracted->text, vemla::ExpressionVariant::Image,
                                                 static_cast<int>(references.size()));
  if (!compiled) return;
  check(compiled->termCount() >= 1 && compiled->termCount() <= vemla::kImageTermCapacity);
  check(compiled->referencesNeeded() <= static_cast<int>(references.size()));

  // Row evaluation against pixel-by-pixel evaluation over a few value patterns.
  constexpr int kCount = 5;
  std::vector<std::vector<std::uint8_t>> lanes(references.size(),
                                               std::vector<std::uint8_t>(kCount));
  std::vector<const std::uint8_t*> pixels;
  for (std::size_t k = 0; k < references.size(); ++k) {
    for (int i = 0; i < kCount; ++i) {
      lanes[k][static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i == 0   ? 0
                                                                        : i == 1 ? 255
                                                                                 : k * 29 + i * 71);
    }
    pixels.push_back(lanes[k].data());
  }
  std::vector<std::uint8_t> out(kCount);
  vemla::ExpressionRowEvaluator(*compiled).evaluate(pixels, kCount, out.data());
  for (int i = 0; i < kCount; ++i) {
    std::vector<int> values;
    for (const auto& lane : lanes) values.push_back(lane[static_cast<std::size_t>(i)]);
    check(out[static_cast<std::size_t>(i)] ==
          vemla::toGreyValue(vemla::evaluateExpression(*compiled, values)));
  }

  if (text.size() > vemla::kMaxExpressionLength) return;
  vemla::UserProcessingEntry entry;
  entry.inUse = 1;
  entry.form = 1;
  entry.expression = std::string(text);
  const std::vector<std::uint8_t> first = picture(1), second = picture(2);
  std::vector<std::uint8_t> image(kSide * kSide, 99);
  check(vemla::applyUserProcessing(entry, first.data(), second.data(), kSide, kSide, image.data())
            .has_value());
}

// The text split at ';' gives the 81 elements in row order, then the divisor.
void filter(std::string_view text, bool correction, int picture) {
  vemla::UserProcessingEntry entry;
  entry.inUse = 1;
  entry.form = 0;
  entry.filterPicture = picture;
  entry.correction = correction ? 1 : 0;
  std::size_t index = 0;
  while (!text.empty() && index <= entry.elements.size()) {
    const std::size_t end = std::min(text.find(';'), text.size());
    std::string& target = index < entry.elements.size() ? entry.elements[index] : entry.divisor;
    target = std::string(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
    ++index;
  }
  const std::vector<std::uint8_t> first = ::picture(3), second = ::picture(4);
  std::vector<std::uint8_t> image(kSide * kSide, 99);
  const auto area =
      vemla::applyUserProcessing(entry, first.data(), second.data(), kSide, kSide, image.data());
  if (!area) {
    for (const std::uint8_t value : image) check(value == 99);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t mode = data[0];
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  calculator(text, mode & 1 ? vemla::HexMode::Signed : vemla::HexMode::Unsigned);
  imageExpression(text);
  filter(text, (mode & 2) != 0, (mode >> 2) % 3);
  return 0;
}
