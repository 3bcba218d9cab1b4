#include "workbench/settings/live_records.h"

#include <algorithm>

#include "editing/grey_value_text.h"
#include "tools/tool_words.h"

namespace vemla::persist {
namespace {

// A stored word is written again only when its decoded value changed, so that bits the
// program does not interpret survive a load and save unchanged.
template <typename Value, typename Stored>
void putDecoded(Stored& stored, const Value& live, Value (*decode)(Stored),
                Stored (*encode)(const Value&)) {
  if (decode(stored) != live) stored = encode(live);
}

// The text export's words: a source outside the four choices reads as "画像1", a negative half
// size as 0.
TextExportMemory decodeTextExport(std::array<std::int32_t, 2> words) {
  const std::int32_t source = words[0], halfSize = words[1];
  return {source >= 0 && source < kTextExportSources ? source : 0, std::max(halfSize, 0)};
}
std::array<std::int32_t, 2> encodeTextExport(const TextExportMemory& memory) {
  return {memory.source, std::max(memory.halfSize, 0)};
}

}  // namespace

void takeProgramRecord(Workbench& bench) {
  const ProgramRecord& r = bench.settings.program;
  ShellState& shell = bench.shell;
  shell.lastFiles = r.lastFiles;
  shell.stateMemory = r.stateMemory;
  shell.window = r.window;
  shell.rgbRatios = r.lastDialogRatios;
  shell.customColours = r.customColours;
  shell.pictureDialogs.storedTextExport = decodeTextExport(r.textExport);
  bench.launcher = r.launcher;
  bench.view.reducedMeasureWarned = r.reducedMeasureWarningShown != 0;
  tools::ToolState& tools = bench.tools;
  tools.gradationWord = tools::decodeGradationWord(r.gradationTool.state);
  for (std::size_t i = 0; i < tools.gradationOperators.size(); ++i) {
    tools.gradationOperators[i] = {r.gradationTool.operators[i], r.gradationTool.absolute[i] != 0};
  }
  tools.profileWord = tools::decodeProfileWord(r.profileTool);
}

void putProgramRecord(Workbench& bench) {
  ProgramRecord& r = bench.settings.program;
  const ShellState& shell = bench.shell;
  r.lastFiles = shell.lastFiles;
  r.stateMemory = shell.stateMemory;
  r.window = shell.window;
  r.lastDialogRatios = shell.rgbRatios;
  r.customColours = shell.customColours;
  putDecoded(r.textExport, shell.pictureDialogs.storedTextExport, decodeTextExport,
             encodeTextExport);
  r.launcher = bench.launcher;
  r.reducedMeasureWarningShown = bench.view.reducedMeasureWarned ? 1 : 0;
  const tools::ToolState& tools = bench.tools;
  putDecoded(r.gradationTool.state, tools.gradationWord, tools::decodeGradationWord,
             tools::encodeGradationWord);
  for (std::size_t i = 0; i < tools.gradationOperators.size(); ++i) {
    r.gradationTool.operators[i] = tools.gradationOperators[i].coefficients;
    r.gradationTool.absolute[i] = tools.gradationOperators[i].absolute ? 1 : 0;
  }
  putDecoded(r.profileTool, tools.profileWord, tools::decodeProfileWord, tools::encodeProfileWord);
}

void resetProgramRecord(Workbench& bench) {
  bench.settings.program = {};
  takeProgramRecord(bench);
}

void takeUserInfo(Workbench& bench) {
  bench.shell.fileHistory = bench.settings.user;
}

void putUserInfo(Workbench& bench) {
  static_cast<FileHistory&>(bench.settings.user) = bench.shell.fileHistory;
}

}  // namespace vemla::persist
