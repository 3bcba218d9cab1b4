#pragma once
// Name tests and rewrites: picture kinds by extension, extension stripping and replacing,
// forbidden characters, the part of a path after its folder.
#include <string>
#include <string_view>

namespace vemla {

// True when `name` is longer than `extension`, ends with it (case-insensitive), and either the
// extension begins with "." or the character before the tail is ".".
bool nameEndsWithExtension(std::string_view name, std::string_view extension);

// A name longer than 4 characters whose last 4 characters are ".bmp" / ".raw" (any case).
bool isBitmapName(std::string_view name);
bool isRawName(std::string_view name);

// 1 ".bmp", 2 ".raw", 3 ".vla", 0 anything else.
int classifyName(std::string_view name);

// Removes a trailing ".bmp" or ".raw" (any case); other names are returned unchanged.
std::string stripPictureExtension(std::string_view name);

// Replaces the extension of the last path component by `extension` (given with its dot), or
// adds it when there is none; surrounding double quotes stay around the result.
std::string replaceExtension(std::string_view name, std::string_view extension);

// A name chosen in a save dialog without any extension takes the first extension of the
// chosen filter ("ﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙ (*.bmp)" gives ".bmp"), as a desktop save dialog does; a name
// with an extension, or a filter without one ("*" or "*.*"), leaves the name unchanged.
std::string withFilterExtension(std::string_view name, std::string_view filter);

// True when any of " * / : ; < > ? \ | occurs.
bool hasForbiddenCharacter(std::string_view name);

// The name without its folder (after the last '/' or '\').
std::string_view fileNamePart(std::string_view path);

// Strips one leading double quote and, if present, the matching trailing one.
std::string_view stripQuotes(std::string_view name);

}  // namespace vemla
