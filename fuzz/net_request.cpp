// Reads arbitrary bytes as the 320-byte import request an exporter receives: the fields may
// lack terminators and hold any bytes. The decoded fields must stay within their buffers, the
// name made safe to show must be valid UTF-8 without control characters, and a password field
// holding text must match exactly that text.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "net/wire_format.h"
#include "text/cp932.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

// Well-formed UTF-8 (no overlong forms, no surrogates) without C0, DEL or C1 controls.
bool isPlainUtf8(const std::string& text) {
  std::size_t at = 0;
  while (at < text.size()) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t extra = 0;
    std::uint32_t code = 0;
    if (lead < 0x80) {
      code = lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      extra = 1, code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      extra = 2, code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      extra = 3, code = lead & 0x07;
    } else {
      return false;
    }
    if (at + extra >= text.size()) return false;
    for (std::size_t i = 1; i <= extra; ++i) {
      const auto next = static_cast<unsigned char>(text[at + i]);
      if ((next & 0xC0) != 0x80) return false;
      code = code << 6 | (next & 0x3F);
    }
    const std::uint32_t smallest[] = {0, 0x80, 0x800, 0x10000};
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    if (code < smallest[extra] || surrogate || code > 0x10FFFF) return false;
    if (code < 0x20 || (code >= 0x7F && code <= 0x9F)) return false;
    at += extra + 1;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vemla::net::RequestBytes bytes{};
  std::memcpy(bytes.data(), data, std::min(size, bytes.size()));
  const vemla::net::ImportRequest request = vemla::net::decodeRequest(bytes);
  check(request.userName.size() <= vemla::net::kUserNameFieldBytes);
  check(request.userName.find('\0') == std::string::npos);
  check(isPlainUtf8(vemla::net::displayUserName(request.userName)));

  // The password buffer keeps the bytes up to the first zero and only zeros after it.
  const auto zero = std::find(request.password.begin(), request.password.end(), 0);
  check(std::all_of(zero, request.password.end(), [](std::uint8_t b) { return b == 0; }));
  check(std::equal(request.password.begin(), zero, bytes.begin()));

  const std::string field(request.password.begin(), zero);
  if (field.empty() || field.size() >= vemla::net::kPasswordFieldBytes) return 0;
  const auto password = vemla::text::cp932ToUtf8(field);
  if (!password || vemla::text::utf8ToCp932(*password) != field) return 0;
  check(vemla::net::passwordMatches(request, *password));
  check(!vemla::net::passwordMatches(request, *password + "x"));
  if (field.size() > 1) check(!vemla::net::passwordMatches(request, password->substr(1)));
  return 0;
}
