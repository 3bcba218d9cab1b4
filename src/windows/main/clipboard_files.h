#pragma once
// The local files that dropped or copied data name, and those the clipboard holds.
#include <string>
#include <vector>

class QMimeData;

namespace vemla {

// The local files named by `data`, in order, as UTF-8 paths; other URLs are left out.
std::vector<std::string> localFilesOf(const QMimeData* data);
// The local files the clipboard holds, in order.
std::vector<std::string> clipboardFiles();

}  // namespace vemla
