#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

#include "cli/compare_report.h"
#include "cli/control_flags.h"
#include "cli/option_flags.h"
#include "cli/read_flags.h"
#include "cli/tool_views.h"
#include "cli/user_port.h"
#include "cli/verbs.h"
#include "picture/file_names.h"
#include "picture/messages.h"
#include "picture/picture_file.h"
#include "processing/alignment.h"
#include "processing/compared_pixels.h"
#include "processing/image_kinds.h"
#include "processing/ordered_parallel.h"
#include "processing/structural_similarity.h"
#include "text/format.h"
#include "text/number_format.h"
#include "text/translate.h"
#include "workbench/picture/open_pictures.h"
#include "workbench/picture/prepare_pictures.h"
#include "workbench/view/refresh_chain.h"

namespace vemla::cli {
namespace {

constexpr int kLimitExceeded = 3;
// Folders of more pairs than this show their progress on a terminal.
constexpr std::size_t kProgressFromPairs = 4;
// The picture stores of the pairs compared at once stay below this.
constexpr std::uint64_t kStoreBudget = std::uint64_t{2} << 30;
// --ignore corners: far enough out for any picture, small enough that no sum overflows.
constexpr int kCornerLimit = 1 << 20;

struct CompareFlags {
  ReadFlags read;
  ControlFlags control;
  int kind = kKindDifference;
  int threshold = 0;
  std::optional<double> maxArea, maxMean, minSsim;
  std::optional<std::string> out, report;
  bool json = false;
  std::vector<Rect> ignored;        // --ignore, as given (clipped per pair)
  std::optional<std::string> mask;  // --mask
  bool ssim = false;                // --ssim or --min-ssim
};

// "L,T,R,B", corners included, L <= R and T <= B.
Rect parseIgnored(const std::string& text) {
  const std::vector<int> corners =
      parseIntList(text, -kCornerLimit, kCornerLimit, 4, 4, "--ignore");
  if (corners[0] > corners[2] || corners[1] > corners[3])
    throw UsageError("--ignore takes L,T,R,B with L <= R and T <= B");
  return {corners[0], corners[1], corners[2], corners[3]};
}

CompareFlags parseCompareFlags(const Arguments& args) {
  CompareFlags flags;
  flags.read = parseReadFlags(args);
  if (args.has("--no-align") && args.has("--align"))
    throw UsageError("--no-align and --align exclude each other");
  // Aligned unless told otherwise; a manual shift replaces the alignment.
  const bool aligned = !args.has("--no-align") && !args.has("--shift");
  flags.control = parseControlFlags(
      args, aligned ? std::optional<int>(kAlignStandard) : std::nullopt, flags.read.options);
  if (const auto kind = args.value("--kind"))
    flags.kind = parseInt(*kind, judgedKinds().first, judgedKinds().last, "--kind");
  if (const auto threshold = args.value("--threshold"))
    flags.threshold = parseInt(*threshold, 0, 255, "--threshold");
  if (const auto area = args.value("--max-area")) {
    flags.maxArea = parseReal(*area, "--max-area");
    if (*flags.maxArea < 0 || *flags.maxArea > 1) throw UsageError("--max-area must be 0..1");
  }
  if (const auto mean = args.value("--max-mean")) {
    flags.maxMean = parseReal(*mean, "--max-mean");
    if (*flags.maxMean < 0 || *flags.maxMean > 255) throw UsageError("--max-mean must be 0..255");
  }
  if (const auto ssim = args.value("--min-ssim")) {
    flags.minSsim = parseReal(*ssim, "--min-ssim");
    if (*flags.minSsim < -1 || *flags.minSsim > 1) throw UsageError("--min-ssim must be -1..1");
  }
  // Without a limit no pixel may differ by more than the threshold.
  if (!flags.maxArea && !flags.maxMean && !flags.minSsim) flags.maxArea = 0.0;
  if (const auto ignored = args.repeated.find("--ignore"); ignored != args.repeated.end()) {
    for (const std::string& text : ignored->second) flags.ignored.push_back(parseIgnored(text));
  }
  flags.mask = args.value("--mask");
  flags.ssim = args.has("--ssim") || flags.minSsim.has_value();
  flags.out = args.value("--out");
  flags.report = args.value("--report");
  flags.json = args.has("--json");
  return flags;
}

// The shift in effect as the picture control's result field shows it, split into its X and Y
// texts: the alignment's result, a manual shift in the same form, or no shift.
std::pair<std::string, std::string> shiftTexts(const Workbench& bench) {
  const PictureControlState& control = bench.control;
  AlignmentResult result = control.alignmentResult;
  AlignmentKeys keys = control.alignmentKeys;
  if (!result.valid) {
    const ShiftSetting& manual = control.manual.setting;
    const bool shifted = control.manual.enabled;
    result = {shifted && manual.right != 0,
              shifted && manual.down != 0,
              shifted ? manual.wholeX : 0,
              shifted ? manual.wholeY : 0,
              shifted ? manual.stepsX : 0,
              shifted ? manual.stepsY : 0,
              true};
    keys.division = keys.precision = std::max(bench.options.ShiftUnit, 1);
  }
  const std::string both = alignmentResultText(result, keys);
  const auto space = both.find(' ');
  if (space == std::string::npos) return {both, ""};
  return {both.substr(0, space), both.substr(space + 1)};
}

struct PairJob {
  std::string name, reference, test;
  std::string out;     // the difference picture to write, or empty
  std::string report;  // the report folder, or empty
  std::size_t index = 0;
};

struct PairOutcome {
  ReportEntry entry;
  bool usageError = false;
  std::string messages;  // what the pair told on stderr
};

// Opens the pair (and the mask) and clips the ignored rectangles to the pictures; the pixels the
// judging looks at come back in `compared` (empty: every pixel). False when the pair is
// refused, after telling why on `err`.
bool openPair(const CompareFlags& flags, const PairJob& job, Workbench& bench, CliUserPort& user,
              std::ostream& err, ComparedPair& pair, std::vector<std::uint8_t>& compared) {
  if (!prepareWorkbench(bench, flags.read, user)) return false;
  std::vector<std::uint8_t> mask;
  int maskWidth = 0, maskHeight = 0;
  if (flags.mask && !readPictureAlone(bench, user, *flags.mask, mask, maskWidth, maskHeight)) {
    user.openFailed();
    return false;
  }
  if (openPictureFiles(bench, user, &job.reference, &job.test, OpenMode::Both, OpenRefresh::ByCaller) != 0) {
    user.openFailed();
    return false;
  }
  const int width = bench.pictures.width, height = bench.pictures.height;
  if (flags.mask && (maskWidth != width || maskHeight != height)) {
    err << text::tr(msg::kSizesDiffer) << '\n';
    return false;
  }
  for (const Rect& rect : flags.ignored) {
    Rect clipped;
    if (!clipToPicture(rect, width, height, clipped)) {
      throw UsageError(text::format("--ignore %d,%d,%d,%d lies outside the %dx%d picture",
                                    rect.left, rect.top, rect.right, rect.bottom, width, height));
    }
    pair.ignored.push_back(clipped);
  }
  // The alignment still looks at the whole picture; only the judging leaves pixels out.
  compared = comparedPixels(width, height, pair.ignored, flags.mask ? mask.data() : nullptr);
  return true;
}

// Aligns the open pair, creates the difference image (Image 1) and judges it against the
// limits. False when the alignment or the image fails.
bool judgePair(const CompareFlags& flags, Workbench& bench, CliUserPort& user,
               const std::uint8_t* judged, ComparedPair& pair) {
  applyControlFlags(flags.control, bench);
  bench.images.kind[index(ImageSlot::First)] = flags.kind;
  NoBusyPort busy;
  NoProgressPort progress;
  preparePictures(bench, user, busy);
  // A failed search has told why; comparing unaligned would report a difference that is not.
  if (flags.control.criterion && !bench.control.alignmentResult.valid) return false;
  if (!createImage(bench, ImageSlot::First, true, false, user, busy, progress)) return false;

  const int width = bench.pictures.width, height = bench.pictures.height;
  const PictureStore& store = bench.store;
  const Rect valid = bench.images.statistics[index(ImageSlot::First)].rectangle;
  pair.summary = summariseDifference(store.plane(kImage1), width, height, valid,
                                     fillValueOf(flags.kind), flags.threshold, judged);
  if (flags.ssim) {
    pair.ssim = structuralSimilarity(store.plane(kShifted1), store.plane(kShifted2), width, height,
                                     valid, judged, bench.workers.parallelFor())
                    .mean;
  }
  std::tie(pair.shiftX, pair.shiftY) = shiftTexts(bench);
  const bool exceeds = (flags.maxArea && pair.summary.area > *flags.maxArea) ||
                       (flags.maxMean && pair.summary.mean > *flags.maxMean) ||
                       (flags.minSsim && *pair.ssim < *flags.minSsim);
  pair.verdict = exceeds ? Verdict::Exceeds : Verdict::Ok;
  return true;
}

// Writes the judged pair's difference picture and its report pictures, as the job asks.
bool writePairFiles(const CompareFlags& flags, const PairJob& job, const Workbench& bench,
                    const std::uint8_t* judged, std::ostream& err, ReportEntry& entry) {
  const int width = bench.pictures.width, height = bench.pictures.height;
  const PictureStore& store = bench.store;
  Context io{std::cout, err};
  if (!job.out.empty() &&
      !writeOutputPicture(job.out, width, height, store.plane(kImage1), greyRamp(), io)) {
    return false;
  }
  if (job.report.empty()) return true;
  const auto& pictures = bench.pictures.pictures;
  const PairPlanes planes{width,
                          height,
                          store.plane(kPicture1),
                          &pictures[index(PictureSlot::First)].palette,
                          store.plane(kPicture2),
                          &pictures[index(PictureSlot::Second)].palette,
                          store.plane(kShifted1),
                          store.plane(kShifted2),
                          store.plane(kImage1),
                          kindColourTable(bench, flags.kind),
                          bench.images.statistics[index(ImageSlot::First)].rectangle,
                          fillValueOf(flags.kind),
                          judged};
  std::string error;
  entry.picturesHtml = writePairPictures(job.report, job.index, entry.pair, planes, error);
  if (entry.picturesHtml.empty()) {
    err << error << '\n';
    return false;
  }
  return true;
}

void comparePair(const CompareFlags& flags, const PairJob& job, PairOutcome& outcome) {
  ComparedPair& pair = outcome.entry.pair;
  pair.name = job.name;
  pair.reference = job.reference;
  pair.test = job.test;
  pair.threshold = flags.threshold;
  std::ostringstream err;
  const auto fail = [&] {
    pair.verdict = Verdict::Failed;
    outcome.messages = err.str();
    pair.problem = outcome.messages;
    while (!pair.problem.empty() && pair.problem.back() == '\n') pair.problem.pop_back();
  };
  try {
    CliUserPort user(err, flags.read.raw, flags.read.ratios);
    Workbench bench;
    std::vector<std::uint8_t> compared;
    if (!openPair(flags, job, bench, user, err, pair, compared)) return fail();
    const std::uint8_t* judged = compared.empty() ? nullptr : compared.data();
    if (!judgePair(flags, bench, user, judged, pair) ||
        !writePairFiles(flags, job, bench, judged, err, outcome.entry)) {
      return fail();
    }
    outcome.messages = err.str();
  } catch (const UsageError& error) {
    outcome.usageError = true;
    err << error.what() << '\n';
    fail();
  } catch (const std::exception& error) {
    err << error.what() << '\n';
    fail();
  }
}

std::string pairLine(const ComparedPair& pair) {
  const DifferenceSummary& s = pair.summary;
  std::string line =
      text::format("shift=%s,%s max=%d mean=%s over=%lld area=%s", pair.shiftX.c_str(),
                   pair.shiftY.c_str(), s.maximum, text::fixedDecimal(s.mean, 4).c_str(),
                   static_cast<long long>(s.over), text::fixedDecimal(s.area, 6).c_str());
  if (pair.ssim) line += " ssim=" + text::fixedDecimal(*pair.ssim, 6);
  return line;
}

nlohmann::json pairJson(const ComparedPair& pair) {
  nlohmann::json object{{"name", pair.name},
                        {"reference", pair.reference},
                        {"test", pair.test},
                        {"verdict", verdictText(pair.verdict)}};
  if (pair.verdict == Verdict::Failed) {
    object["error"] = pair.problem;
    return object;
  }
  const DifferenceSummary& s = pair.summary;
  object["shift"] = {pair.shiftX, pair.shiftY};
  object["max"] = s.maximum;
  object["mean"] = s.mean;
  object["threshold"] = pair.threshold;
  object["over"] = s.over;
  object["pixels"] = s.pixels;
  object["area"] = s.area;
  object["largest"] = {s.largest.x, s.largest.y};
  if (!pair.ignored.empty()) {
    nlohmann::json rectangles = nlohmann::json::array();
    for (const Rect& r : pair.ignored) rectangles.push_back({r.left, r.top, r.right, r.bottom});
    object["ignored"] = rectangles;
  }
  if (pair.ssim) object["ssim"] = *pair.ssim;
  return object;
}

// One line of JSON; bytes of a file name that are not UTF-8 become U+FFFD instead of an error.
std::string jsonText(const nlohmann::json& object) {
  return object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

// Messages of one pair on stderr, each line led by the pair's name in folder mode.
void tellMessages(const std::string& messages, const std::string& name, Context& io) {
  std::istringstream lines(messages);
  for (std::string line; std::getline(lines, line);) {
    io.err << (name.empty() ? "" : name + ": ") << line << '\n';
  }
}

bool isFolderPicture(const std::string& name) {
  return isPictureName(name) || isRawName(name);
}

// The picture files of a folder by name.
std::map<std::string, std::string> picturesIn(const std::string& folder) {
  std::map<std::string, std::string> pictures;
  std::error_code error;
  for (const auto& item : std::filesystem::directory_iterator(folder, error)) {
    const std::string name = item.path().filename().string();
    std::error_code typeError;
    if (isFolderPicture(name) && !item.is_directory(typeError))
      pictures[name] = item.path().string();
  }
  if (error) throw RefusedError(folder + ": " + error.message());
  return pictures;
}

bool makeFolder(const std::string& folder, const char* what, Context& io) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (!error && std::filesystem::is_directory(folder, error)) return true;
  io.err << what << ' ' << folder << ": cannot be created\n";
  return false;
}

unsigned workerCount(std::size_t pairs, const ReadFlags& read) {
  const std::uint64_t store = std::uint64_t{kPlaneCount} *
                              static_cast<std::uint64_t>(read.maxWidth) *
                              static_cast<std::uint64_t>(read.maxHeight);
  const std::uint64_t byMemory =
      std::max<std::uint64_t>(1, kStoreBudget / std::max<std::uint64_t>(store, 1));
  const std::uint64_t cores = std::max(1u, std::thread::hardware_concurrency());
  return static_cast<unsigned>(std::min({cores, byMemory, static_cast<std::uint64_t>(pairs)}));
}

int exitOf(const std::vector<PairOutcome>& outcomes, bool reportFailed) {
  bool usage = false, failed = reportFailed, exceeds = false;
  for (const PairOutcome& outcome : outcomes) {
    usage = usage || outcome.usageError;
    failed = failed || outcome.entry.pair.verdict == Verdict::Failed;
    exceeds = exceeds || outcome.entry.pair.verdict == Verdict::Exceeds;
  }
  return usage ? 2 : failed ? 1 : exceeds ? kLimitExceeded : 0;
}

// The pairs of two folders: a job for every name in both, a line for every name in one alone.
struct FolderPairs {
  std::vector<PairJob> jobs;
  std::vector<std::string> missing;  // "NAME: missing in FOLDER"
};

FolderPairs pairFolders(const CompareFlags& flags, const std::string& referenceFolder,
                        const std::string& testFolder) {
  const auto references = picturesIn(referenceFolder);
  const auto tests = picturesIn(testFolder);
  FolderPairs pairs;
  for (const auto& [name, path] : references) {
    if (tests.count(name) == 0) pairs.missing.push_back(name + ": missing in " + testFolder);
  }
  for (const auto& [name, path] : tests) {
    const auto reference = references.find(name);
    if (reference == references.end()) {
      pairs.missing.push_back(name + ": missing in " + referenceFolder);
      continue;
    }
    PairJob job{name, reference->second, path, "", flags.report.value_or(""), pairs.jobs.size()};
    // Named after the pair; a .raw pair gets ".bmp" added, so no two pairs share a file.
    if (flags.out) job.out = inFolder(*flags.out, isBitmapName(name) ? name : name + ".bmp");
    pairs.jobs.push_back(job);
  }
  return pairs;
}

// The name of a missing pair's line.
std::string missingName(const std::string& line) {
  return line.substr(0, line.find(": missing in "));
}

struct FolderCounts {
  std::size_t compared = 0;
  std::size_t exceeding = 0;
};

// Compares the pairs on every core, telling each pair's line as soon as it and the pairs
// before it are done, and a progress line on a terminal while they run.
FolderCounts runPairs(const CompareFlags& flags, const std::vector<PairJob>& jobs,
                      std::vector<PairOutcome>& outcomes, Context& io) {
  const bool showProgress =
      &io.err == &std::cerr && jobs.size() > kProgressFromPairs && isatty(STDERR_FILENO) != 0;
  FolderCounts counts;
  InOrderOptions options;
  options.ahead = static_cast<int>(jobs.size());  // every outcome is kept anyway
  if (showProgress) {
    options.progress = [&](int done) {
      io.err << "\rcompare: " << done << '/' << jobs.size() << std::flush;
    };
  }
  runInOrder<PairOutcome>(
      static_cast<int>(jobs.size()), static_cast<int>(workerCount(jobs.size(), flags.read)),
      [&](int i) {
        PairOutcome outcome;
        comparePair(flags, jobs[static_cast<std::size_t>(i)], outcome);
        return outcome;
      },
      [&](int i, PairOutcome& outcome) {
        outcomes[static_cast<std::size_t>(i)] = std::move(outcome);
        const ComparedPair& pair = outcomes[static_cast<std::size_t>(i)].entry.pair;
        // Messages wait while the progress line is shown.
        if (!showProgress) {
          tellMessages(outcomes[static_cast<std::size_t>(i)].messages, pair.name, io);
        }
        if (pair.verdict == Verdict::Failed) {
          if (flags.json) io.out << jsonText(pairJson(pair)) << '\n';
          return true;
        }
        ++counts.compared;
        counts.exceeding += pair.verdict == Verdict::Exceeds;
        if (flags.json) {
          io.out << jsonText(pairJson(pair)) << '\n';
        } else {
          io.out << pair.name << ' ' << pairLine(pair) << ' ' << verdictText(pair.verdict) << '\n';
        }
        io.out.flush();
        return true;
      },
      options);
  if (showProgress) {
    io.err << '\n';
    for (const PairOutcome& outcome : outcomes)
      tellMessages(outcome.messages, outcome.entry.pair.name, io);
  }
  return counts;
}

// The missing pairs and the totals, after the pairs' lines.
void tellTotals(const CompareFlags& flags, const FolderPairs& pairs, const FolderCounts& counts,
                Context& io) {
  for (const std::string& line : pairs.missing) {
    io.err << line << '\n';
    if (flags.json) {
      const nlohmann::json object{
          {"name", missingName(line)}, {"verdict", verdictText(Verdict::Failed)}, {"error", line}};
      io.out << jsonText(object) << '\n';
    }
  }
  if (flags.json) {
    const nlohmann::json totals{
        {"pairs", counts.compared},
        {"exceeds", counts.exceeding},
        {"failed", pairs.jobs.size() - counts.compared + pairs.missing.size()}};
    io.out << jsonText(totals) << '\n';
  } else {
    io.out << "pairs=" << counts.compared << " exceeds=" << counts.exceeding << '\n';
  }
}

// The report's index of every pair, the missing ones last. False when it cannot be written.
bool writeFolderReport(const std::string& report, std::vector<PairOutcome>& outcomes,
                       const std::vector<std::string>& missing) {
  std::vector<ReportEntry> entries;
  for (PairOutcome& outcome : outcomes) entries.push_back(std::move(outcome.entry));
  for (const std::string& line : missing) {
    ComparedPair pair;
    pair.name = missingName(line);
    pair.problem = line;
    entries.push_back({pair, ""});
  }
  return writeReportIndex(report, entries);
}

int compareFolders(const CompareFlags& flags, const std::string& referenceFolder,
                   const std::string& testFolder, Context& io) {
  FolderPairs pairs = pairFolders(flags, referenceFolder, testFolder);
  if (flags.out && !makeFolder(*flags.out, "--out", io)) return 1;
  if (flags.report && !makeFolder(*flags.report, "--report", io)) return 1;
  std::vector<PairOutcome> outcomes(pairs.jobs.size());
  const FolderCounts counts = runPairs(flags, pairs.jobs, outcomes, io);
  tellTotals(flags, pairs, counts, io);
  const int status = exitOf(outcomes, !pairs.missing.empty());
  if (flags.report && !writeFolderReport(*flags.report, outcomes, pairs.missing)) {
    io.err << inFolder(*flags.report, "index.html") << ": cannot be written\n";
    return status == 2 ? 2 : 1;
  }
  return status;
}

int comparePictures(const CompareFlags& flags, const std::string& reference,
                    const std::string& test, Context& io) {
  if (flags.out && !checkOutputName(*flags.out, io)) return 1;
  if (flags.report && !makeFolder(*flags.report, "--report", io)) return 1;
  PairJob job{std::filesystem::path(test).filename().string(),
              reference,
              test,
              flags.out.value_or(""),
              flags.report.value_or(""),
              0};
  std::vector<PairOutcome> outcomes(1);
  comparePair(flags, job, outcomes[0]);
  const ComparedPair& pair = outcomes[0].entry.pair;
  if (outcomes[0].usageError) {
    std::string text = outcomes[0].messages;
    while (!text.empty() && text.back() == '\n') text.pop_back();
    throw UsageError(text);
  }
  io.err << outcomes[0].messages;
  if (flags.json) {
    io.out << jsonText(pairJson(pair)) << '\n';
  } else if (pair.verdict != Verdict::Failed) {
    io.out << pairLine(pair) << '\n';
  }
  bool reportFailed = false;
  if (flags.report) {
    reportFailed = !writeReportIndex(*flags.report, {outcomes[0].entry});
    if (reportFailed) io.err << inFolder(*flags.report, "index.html") << ": cannot be written\n";
  }
  return exitOf(outcomes, reportFailed);
}

int compare(const Arguments& args, Context& io) {
  if (args.positional.size() != 2) throw UsageError("compare takes REF and TEST");
  const CompareFlags flags = parseCompareFlags(args);
  const std::string& reference = args.positional[0];
  const std::string& test = args.positional[1];
  std::error_code error;
  const bool referenceFolder = std::filesystem::is_directory(reference, error);
  const bool testFolder = std::filesystem::is_directory(test, error);
  if (referenceFolder != testFolder)
    throw UsageError("REF and TEST must both be pictures or both folders");
  return referenceFolder ? compareFolders(flags, reference, test, io)
                         : comparePictures(flags, reference, test, io);
}

}  // namespace

Command compareCommand() {
  std::set<std::string> values = kReadFlagNames;
  values.insert(kControlFlagNames.begin(), kControlFlagNames.end());
  values.insert({"--kind", "--threshold", "--max-area", "--max-mean", "--out", "--report",
                 "--ignore", "--mask", "--min-ssim"});
  return {
      "compare",
      "align REF and TEST (or two folders of them) and judge their difference",
      std::string(
          "usage: vemla-cli compare REF TEST [OPTIONS]\n"
          "  Opens REF and TEST as 'image' does, aligns them (--align, default standard),\n"
          "  creates the difference image of --kind inside the valid range and prints\n"
          "  shift=%s,%s max=%d mean=%.4f over=%d area=%.6f (the alignment result, the largest\n"
          "  and mean difference, the pixels above T and their share of the compared pixels of\n"
          "  the valid area; pixels left out by --ignore and --mask count nowhere).\n"
          "  The alignment itself always looks at the whole valid area.\n"
          "  REF and TEST may be folders: every pair of same-named .bmp/.raw files is compared\n"
          "  on every core, one line 'NAME shift=... ok|exceeds' each, then pairs=%d exceeds=%d.\n"
          "  Exit 0 when every limit holds, 3 when one is exceeded, 1 when a pair is refused,\n"
          "  missing or unreadable, 2 on a usage error.\n")
          .append(kReadFlagsHelp)
          .append(kControlFlagsHelp)
          .append(
              "  --no-align                    compare without alignment\n"
              "  --kind 3|4|5                  difference, offset difference (its distance from\n"
              "                                128 counts) or area difference (default 3)\n"
              "  --threshold T                 a pixel differs when above T, 0..255 (default 0)\n"
              "  --max-area A                  limit: share of differing pixels at most A, 0..1\n"
              "  --max-mean M                  limit: mean difference at most M\n"
              "                                (with no limit given: --max-area 0)\n"
              "  --out DIFF.bmp                write the difference image (a folder with folders)\n"
              "  --report DIR                  write DIR/index.html with its PNG pictures\n"
              "  --ignore L,T,R,B              leave this rectangle (corners included, REF's\n"
              "                                coordinates, clipped to the picture) out of every\n"
              "                                figure; may be repeated\n"
              "  --mask FILE                   a picture of REF's size, read as REF is: where it\n"
              "                                is 0 the pixel is left out (with --ignore: both)\n"
              "  --ssim                        also print ssim=%.6f, the mean structural\n"
              "                                similarity of the aligned pair (7x7 uniform "
              "window,\n"
              "                                K1 0.01, K2 0.03, range 255, sample covariance;\n"
              "                                only windows wholly of compared pixels count)\n"
              "  --min-ssim S                  limit: ssim at least S, -1..1 (prints ssim too)\n"
              "  --json                        one JSON object per pair instead of the lines\n"),
      values,
      {"--no-align", "--json", "--ssim"},
      compare};
}

}  // namespace vemla::cli
