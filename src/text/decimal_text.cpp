#include "text/decimal_text.h"

#include <charconv>
#include <limits>

namespace vemla::text {
namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// `number` is a decimal number that from_chars found out of range. Its decimal exponent (the
// power of ten of its first significant digit) tells an overflow from an underflow: the range
// of doubles lies far inside 10^-300 .. 10^300 on both sides of 1.
bool overflows(std::string_view number) {
  long long exponent = 0;
  long long fractionDigits = 0;
  bool seenPoint = false;
  bool seenSignificant = false;
  std::size_t i = 0;
  for (; i < number.size() && (isDigit(number[i]) || number[i] == '.'); ++i) {
    if (number[i] == '.') {
      seenPoint = true;
      continue;
    }
    if (seenPoint) ++fractionDigits;
    if (!seenSignificant && number[i] != '0') {
      seenSignificant = true;
      exponent = seenPoint ? -fractionDigits : 0;
    } else if (seenSignificant && !seenPoint) {
      ++exponent;
    }
  }
  if (i < number.size()) {  // 'e' or 'E' and a decimal exponent, saturated
    ++i;
    bool negative = false;
    if (i < number.size() && (number[i] == '+' || number[i] == '-')) negative = number[i++] == '-';
    long long value = 0;
    for (; i < number.size() && isDigit(number[i]); ++i) {
      if (value < 1000000) value = value * 10 + (number[i] - '0');
    }
    exponent += negative ? -value : value;
  }
  return exponent >= 0;
}

}  // namespace

double readLeadingNumber(std::string_view text) {
  std::size_t used = 0;
  return readLeadingNumber(text, used);
}

double readLeadingNumber(std::string_view text, std::size_t& used) {
  used = 0;
  std::size_t start = 0;
  while (start < text.size() &&
         (text[start] == ' ' || (text[start] >= '\t' && text[start] <= '\r'))) {
    ++start;
  }
  bool negative = false;
  if (start < text.size() && (text[start] == '+' || text[start] == '-'))
    negative = text[start++] == '-';
  const char* first = text.data() + start;
  const char* last = text.data() + text.size();
  if (first < last && (*first == '+' || *first == '-')) return 0;  // from_chars would take it
  double value = 0;
  const std::from_chars_result result =
      std::from_chars(first, last, value, std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    value = overflows(std::string_view(first, static_cast<std::size_t>(result.ptr - first)))
                ? std::numeric_limits<double>::infinity()
                : 0.0;
  } else if (result.ec != std::errc()) {
    return 0;
  }
  used = static_cast<std::size_t>(result.ptr - text.data());
  return negative ? -value : value;
}

std::optional<double> readWholeNumber(std::string_view text) {
  if (text.empty() || text.front() == ' ' || (text.front() >= '\t' && text.front() <= '\r')) {
    return std::nullopt;
  }
  std::size_t used = 0;
  const double value = readLeadingNumber(text, used);
  if (used == 0 || used != text.size()) return std::nullopt;
  return value;
}

}  // namespace vemla::text
