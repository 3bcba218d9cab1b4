#include "text/number_format.h"

#include <algorithm>
#include <charconv>

namespace vemla::text {

namespace {

bool allDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

// Only text of the form [sign] digits "." digits is shortened (either digit run may be empty);
// anything else, including text without a point, is returned unchanged.
std::string shortenDecimal(std::string_view text) {
  std::string_view sign;
  if (text.starts_with('-') || text.starts_with('+')) sign = text.substr(0, 1);
  const std::string_view number = text.substr(sign.size());
  const std::size_t point = number.find('.');
  if (point == std::string_view::npos) return std::string(text);

  std::string_view whole = number.substr(0, point);
  std::string_view fraction = number.substr(point + 1);
  if (!allDigits(whole) || !allDigits(fraction)) return std::string(text);

  while (!whole.empty() && whole.front() == '0') whole.remove_prefix(1);
  while (!fraction.empty() && fraction.back() == '0') fraction.remove_suffix(1);

  std::string result(sign);
  result += whole.empty() ? std::string_view("0") : whole;
  result += '.';
  result += fraction.empty() ? std::string_view("0") : fraction;
  return result;
}

std::string fixedDecimal(double value, int decimals) {
  // "%.Nf" of the largest double has 309 digits before the point.
  char buffer[400];
  const std::to_chars_result written =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  return std::string(buffer, written.ec == std::errc() ? written.ptr : buffer);
}

std::string generalDecimal(double value) {
  char buffer[64];
  const std::to_chars_result written =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
  return std::string(buffer, written.ec == std::errc() ? written.ptr : buffer);
}

}  // namespace vemla::text
