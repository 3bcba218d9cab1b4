#pragma once
// The names given on the command line. The shell has already split the arguments; this keeps
// at most two names, recognises an archive as the first name, and refuses names that do not
// fit their fields.
#include <array>
#include <string>
#include <vector>

#include "ports/ports.h"

namespace vemla {

struct CommandLineNames {
  std::array<std::string, 2> names;  // empty when not given
  std::string archivePath;           // set (and the names left empty) for an archive
  bool operator==(const CommandLineNames&) const = default;
};

// `args` are the arguments after the program name. The first two are the names (an empty
// argument stays an empty name), a third and later ones are ignored. A first name ending in
// ".vla" (any case) is the archive to open instead of pictures. When a name does not fit its
// 512-byte CP932 field the operator is told (nameFitsField) and nothing is opened.
CommandLineNames commandLineNames(const std::vector<std::string>& args, UserPort& user);

// Exactly one name, ending in ".bmp" or ".raw": the candidate for a running viewer or the
// stand-alone viewer.
bool isViewerHandOver(const std::array<std::string, 2>& names);

}  // namespace vemla
