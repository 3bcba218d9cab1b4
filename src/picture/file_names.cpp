#include "picture/file_names.h"

#include <algorithm>

namespace vemla {

namespace {

char lowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return lowerAscii(x) == lowerAscii(y);
         });
}

bool hasPictureExtension(std::string_view name) {
  return isBitmapName(name) || isRawName(name);
}

}  // namespace

bool nameEndsWithExtension(std::string_view name, std::string_view extension) {
  if (name.size() <= extension.size()) return false;
  const std::size_t tailStart = name.size() - extension.size();
  if (!equalIgnoringCase(name.substr(tailStart), extension)) return false;
  return extension.starts_with('.') || name[tailStart - 1] == '.';
}

// With an extension that begins with '.', the general test is exactly "longer than 4 characters
// and the last 4 match".
bool isBitmapName(std::string_view name) {
  return nameEndsWithExtension(name, ".bmp");
}
bool isRawName(std::string_view name) {
  return nameEndsWithExtension(name, ".raw");
}

int classifyName(std::string_view name) {
  static constexpr std::string_view kKinds[] = {".bmp", ".raw", ".vla"};
  for (int kind = 0; kind < 3; ++kind) {
    if (nameEndsWithExtension(name, kKinds[kind])) return kind + 1;
  }
  return 0;
}

std::string stripPictureExtension(std::string_view name) {
  if (hasPictureExtension(name)) name.remove_suffix(4);
  return std::string(name);
}

// The extension is everything from the last '.' of the last path component, including a dot
// that begins the component.
std::string replaceExtension(std::string_view name, std::string_view extension) {
  const bool leadingQuote = name.starts_with('"');
  const std::string_view inner = stripQuotes(name);
  const bool trailingQuote = leadingQuote && inner.size() + 1 < name.size();

  const std::size_t componentStart = inner.size() - fileNamePart(inner).size();
  const std::size_t dot = inner.rfind('.');
  const std::string_view base =
      (dot != std::string_view::npos && dot >= componentStart) ? inner.substr(0, dot) : inner;

  std::string result;
  if (leadingQuote) result += '"';
  result += base;
  result += extension;
  if (trailingQuote) result += '"';
  return result;
}

bool hasForbiddenCharacter(std::string_view name) {
  return name.find_first_of("\"*/:;<>?\\|") != std::string_view::npos;
}

std::string_view fileNamePart(std::string_view path) {
  const std::size_t separator = path.find_last_of("/\\");
  return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

std::string_view stripQuotes(std::string_view name) {
  if (!name.starts_with('"')) return name;
  name.remove_prefix(1);
  if (name.ends_with('"')) name.remove_suffix(1);
  return name;
}

std::string withFilterExtension(std::string_view name, std::string_view filter) {
  const std::string_view file = fileNamePart(name);
  if (file.empty() || file.find('.') != std::string_view::npos) return std::string(name);
  const std::size_t pattern = filter.find("*.");
  if (pattern == std::string_view::npos) return std::string(name);
  const std::string_view rest = filter.substr(pattern + 1);
  const std::size_t end = rest.find_first_of(" ;)");
  const std::string_view extension = rest.substr(0, end);
  if (extension.size() < 2 || extension.find('*') != std::string_view::npos)
    return std::string(name);
  return std::string(name) + std::string(extension);
}

}  // namespace vemla
