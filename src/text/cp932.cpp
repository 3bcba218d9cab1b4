#include "text/cp932.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace vemla::text {

namespace {

// One conversion descriptor per call: iconv_t carries shift state, so sharing one would need
// locking. The gconv modules themselves are cached by the C library after the first use.
class Converter {
 public:
  Converter(const char* to, const char* from) : descriptor_(::iconv_open(to, from)) {}
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  ~Converter() {
    if (valid()) ::iconv_close(descriptor_);
  }
  bool valid() const { return descriptor_ != reinterpret_cast<iconv_t>(-1); }

  // The whole input converted, or nullopt on an invalid or incomplete sequence or on a
  // character that the target cannot hold.
  std::optional<std::string> convert(std::string_view input) {
    if (!valid()) return std::nullopt;
    // Neither direction grows text more than threefold (one CP932 byte becomes at most three
    // UTF-8 bytes); the loop still grows the buffer if that ever proves wrong.
    std::string output(input.size() * 3 + 4, '\0');
    char* in = const_cast<char*>(input.data());  // iconv's signature; the input is not written
    std::size_t inLeft = input.size();
    std::size_t produced = 0;
    for (;;) {
      char* out = output.data() + produced;
      std::size_t outLeft = output.size() - produced;
      const std::size_t result = ::iconv(descriptor_, inLeft > 0 ? &in : nullptr,
                                         inLeft > 0 ? &inLeft : nullptr, &out, &outLeft);
      produced = output.size() - outLeft;
      if (result != static_cast<std::size_t>(-1)) break;  // all input converted
      if (errno != E2BIG) return std::nullopt;            // EILSEQ or EINVAL: bad or cut-off input
      output.resize(output.size() * 2);
    }
    output.resize(produced);
    return output;
  }

 private:
  iconv_t descriptor_;
};

constexpr const char* kCp932 = "CP932";
constexpr const char* kUtf8 = "UTF-8";

// CP932 bytes for a text that may be stored in a zero-terminated field: an embedded zero
// would cut the text short when it is read back, so it counts as not representable.
std::optional<std::string> encodeForField(std::string_view utf8) {
  if (utf8.find('\0') != std::string_view::npos) return std::nullopt;
  return utf8ToCp932(utf8);
}

FieldStatus fieldStatus(const std::optional<std::string>& encoded, std::size_t fieldSize) {
  if (!encoded) return FieldStatus::NotRepresentable;
  if (fieldSize == 0 || encoded->size() > fieldSize - 1) return FieldStatus::TooLong;
  return FieldStatus::Ok;
}

}  // namespace

// The C library maps some characters onto a CP932 code that reads back as a different
// character (U+00A5 YEN SIGN becomes 0x5C, the backslash; U+301C WAVE DASH becomes the
// full-width tilde). Converting back and comparing refuses those instead of storing them
// lossily.
std::optional<std::string> utf8ToCp932(std::string_view utf8) {
  std::optional<std::string> encoded = Converter(kCp932, kUtf8).convert(utf8);
  if (!encoded) return std::nullopt;
  const std::optional<std::string> decoded = cp932ToUtf8(*encoded);
  if (!decoded || *decoded != utf8) return std::nullopt;
  return encoded;
}

std::optional<std::string> cp932ToUtf8(std::string_view cp932) {
  return Converter(kUtf8, kCp932).convert(cp932);
}

namespace {

// Bytes of the UTF-8 sequence starting at `at`, or 0 when it is not a well-formed one.
std::size_t sequenceLength(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  const std::size_t length = lead < 0x80                   ? 1
                             : lead >= 0xC2 && lead < 0xE0 ? 2
                             : lead >= 0xE0 && lead < 0xF0 ? 3
                             : lead >= 0xF0 && lead < 0xF5 ? 4
                                                           : 0;
  if (length == 0 || length > text.size() - at) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return 0;
  }
  // The second byte's range where the lead alone does not decide: no overlong three- and
  // four-byte forms, no surrogates, nothing beyond U+10FFFF.
  const auto second = length > 1 ? static_cast<unsigned char>(text[at + 1]) : 0;
  if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) ||
      (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90)) {
    return 0;
  }
  return length;
}

}  // namespace

bool validUtf8(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = sequenceLength(text, at);
    if (length == 0) return false;
    at += length;
  }
  return true;
}

std::string utf8ToCp932Replacing(std::string_view utf8, bool* replaced) {
  if (replaced != nullptr) *replaced = false;
  if (utf8.find('\0') == std::string_view::npos) {
    if (std::optional<std::string> whole = utf8ToCp932(utf8)) return std::move(*whole);
  }
  // Character by character: the common case above converts the whole text at once.
  std::string out;
  for (std::size_t at = 0; at < utf8.size();) {
    const std::size_t length = sequenceLength(utf8, at);
    const std::optional<std::string> one =
        length == 0 || utf8[at] == '\0' ? std::nullopt : utf8ToCp932(utf8.substr(at, length));
    if (one) {
      out += *one;
    } else {
      out += '?';
      if (replaced != nullptr) *replaced = true;
    }
    at += length == 0 ? 1 : length;
  }
  return out;
}

std::string storableText(std::string_view utf8, bool* replaced) {
  return cp932ToUtf8(utf8ToCp932Replacing(utf8, replaced)).value_or(std::string());
}

FieldStatus checkFixedField(std::string_view utf8, std::size_t fieldBytes) {
  return fieldStatus(encodeForField(utf8), fieldBytes);
}

FieldStatus writeFixedField(std::span<std::uint8_t> field, std::string_view utf8) {
  const std::optional<std::string> encoded = encodeForField(utf8);
  const FieldStatus status = fieldStatus(encoded, field.size());
  if (status != FieldStatus::Ok) return status;
  const auto end = std::copy(encoded->begin(), encoded->end(), field.begin());
  std::fill(end, field.end(), std::uint8_t{0});
  return FieldStatus::Ok;
}

std::optional<std::string> readFixedField(std::span<const std::uint8_t> field) {
  const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
  const std::string_view bytes(reinterpret_cast<const char*>(field.data()),
                               static_cast<std::size_t>(end - field.begin()));
  return cp932ToUtf8(bytes);
}

}  // namespace vemla::text
