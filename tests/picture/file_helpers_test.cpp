#include "picture/file_helpers.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <set>

namespace vemla {
namespace {

namespace fs = std::filesystem;

class FileHelpers : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vemla_files_XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    folder_ = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  std::string path(std::string_view name) const { return folder_ + "/" + std::string(name); }

  void put(std::string_view name, std::string_view content) const {
    std::ofstream out(path(name), std::ios::binary);
    out << content;
  }

  std::string contentOf(std::string_view name) const {
    std::ifstream in(path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::set<std::string> entries() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_)) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }

  mode_t modeOf(std::string_view name) const {
    struct stat status {};
    EXPECT_EQ(::stat(path(name).c_str(), &status), 0);
    return status.st_mode & 07777;
  }

  std::string folder_;
};

std::span<const std::uint8_t> bytesOf(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

TEST(InFolder, JoinsWithExactlyOneSlash) {
  EXPECT_EQ(inFolder("dir", "x.bmp"), "dir/x.bmp");
  EXPECT_EQ(inFolder("dir/", "x.bmp"), "dir/x.bmp");
  EXPECT_EQ(inFolder("", "x.bmp"), "x.bmp");
}

TEST_F(FileHelpers, MissingFilesReportFailureValues) {
  const std::string missing = path("missing.bmp");
  EXPECT_FALSE(fileExists(missing));
  EXPECT_EQ(fileSize(missing), -1);
  EXPECT_EQ(lastWriteTime(missing), std::nullopt);
  EXPECT_EQ(readWholeFile(missing, 100), std::nullopt);
  EXPECT_FALSE(deleteFile(missing));
}

TEST_F(FileHelpers, FolderIsNotAFile) {
  EXPECT_FALSE(fileExists(folder_));
  EXPECT_EQ(fileSize(folder_), -1);
  EXPECT_EQ(readWholeFile(folder_, 100), std::nullopt);
}

TEST_F(FileHelpers, ExistingFileHasItsSize) {
  put("five.raw", "12345");
  EXPECT_TRUE(fileExists(path("five.raw")));
  EXPECT_EQ(fileSize(path("five.raw")), 5);
  put("empty.raw", "");
  EXPECT_TRUE(fileExists(path("empty.raw")));
  EXPECT_EQ(fileSize(path("empty.raw")), 0);
  EXPECT_TRUE(deleteFile(path("five.raw")));
  EXPECT_FALSE(fileExists(path("five.raw")));
}

// A file of ten bytes is read with a limit of ten and refused with nine; the limit is a byte
// count, so an empty file fits a limit of zero.
TEST_F(FileHelpers, ReadWholeFileHonoursTheLimitExactly) {
  put("ten", "0123456789");
  const std::vector<std::uint8_t> digits = {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9'};
  EXPECT_EQ(readWholeFile(path("ten"), 10), digits);
  EXPECT_EQ(readWholeFile(path("ten"), 9), std::nullopt);
  EXPECT_EQ(readWholeFile(path("ten"), 0), std::nullopt);
  put("empty", "");
  EXPECT_EQ(readWholeFile(path("empty"), 0), std::vector<std::uint8_t>());
  // The largest limit must not overflow when one byte is added for the size check.
  const auto all = readWholeFile(path("ten"), std::numeric_limits<std::uint64_t>::max());
  ASSERT_TRUE(all.has_value());
  EXPECT_EQ(all->size(), 10u);
}

// A device that never ends must be refused, not read until memory runs out.
TEST_F(FileHelpers, ReadWholeFileRefusesEndlessDevice) {
  EXPECT_EQ(readWholeFile("/dev/zero", 16), std::nullopt);
}

TEST_F(FileHelpers, ReadWholeFileReadsAcrossManyChunks) {
  std::string content(300 * 1024 + 7, '\0');
  for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 31 % 251);
  put("big", content);
  const auto read = readWholeFile(path("big"), content.size());
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(std::string(read->begin(), read->end()), content);
  EXPECT_EQ(readWholeFile(path("big"), content.size() - 1), std::nullopt);
}

TEST_F(FileHelpers, WriteFileAtomicallyCreatesAndReplaces) {
  ASSERT_TRUE(writeFileAtomically(path("a.bmp"), bytesOf("first")));
  EXPECT_EQ(contentOf("a.bmp"), "first");
  ASSERT_TRUE(writeFileAtomically(path("a.bmp"), bytesOf("second, longer")));
  EXPECT_EQ(contentOf("a.bmp"), "second, longer");
  ASSERT_TRUE(writeFileAtomically(path("a.bmp"), bytesOf("")));
  EXPECT_EQ(fileSize(path("a.bmp")), 0);
  // No temporary file stays behind.
  EXPECT_EQ(entries(), std::set<std::string>{"a.bmp"});
}

TEST_F(FileHelpers, KeepsPreviousFileWhenProducerFails) {
  put("keep.dat", "old content");
  const bool written = writeFileAtomically(path("keep.dat"), [](const ByteSink& sink) {
    EXPECT_TRUE(sink("new", 3));
    return false;
  });
  EXPECT_FALSE(written);
  EXPECT_EQ(contentOf("keep.dat"), "old content");
  EXPECT_EQ(entries(), std::set<std::string>{"keep.dat"});
}

TEST_F(FileHelpers, KeepsPreviousFileWhenProducerThrows) {
  put("keep.dat", "old content");
  EXPECT_THROW(writeFileAtomically(path("keep.dat"),
                                   [](const ByteSink& sink) -> bool {
                                     sink("new", 3);
                                     throw std::runtime_error("producer failed");
                                   }),
               std::runtime_error);
  EXPECT_EQ(contentOf("keep.dat"), "old content");
  EXPECT_EQ(entries(), std::set<std::string>{"keep.dat"});
}

TEST_F(FileHelpers, StreamingWriteJoinsAllPieces) {
  ASSERT_TRUE(writeFileAtomically(path("s.raw"), [](const ByteSink& sink) {
    return sink("ab", 2) && sink("", 0) && sink("cde", 3);
  }));
  EXPECT_EQ(contentOf("s.raw"), "abcde");
}

TEST_F(FileHelpers, WriteRefusesFolderTargetAndMissingFolder) {
  fs::create_directory(path("sub"));
  EXPECT_FALSE(writeFileAtomically(path("sub"), bytesOf("x")));
  EXPECT_TRUE(fs::is_directory(path("sub")));
  EXPECT_FALSE(writeFileAtomically(path("nowhere/a.bmp"), bytesOf("x")));
  EXPECT_FALSE(writeFileAtomically(path("sub/"), bytesOf("x")));
  EXPECT_EQ(entries(), std::set<std::string>{"sub"});
  EXPECT_TRUE(fs::is_empty(path("sub")));
}

TEST_F(FileHelpers, ReplacedFileKeepsItsPermissions) {
  put("private.dat", "old");
  ASSERT_EQ(::chmod(path("private.dat").c_str(), 0600), 0);
  ASSERT_TRUE(writeFileAtomically(path("private.dat"), bytesOf("new")));
  EXPECT_EQ(modeOf("private.dat"), 0600u);

  put("shared.dat", "old");
  ASSERT_EQ(::chmod(path("shared.dat").c_str(), 0754), 0);
  ASSERT_TRUE(writeFileAtomically(path("shared.dat"), bytesOf("new")));
  EXPECT_EQ(modeOf("shared.dat"), 0754u);
}

// With umask 027, a new file gets 0666 & ~027 = 0640.
TEST_F(FileHelpers, NewFileGetsModeFromUmask) {
  const mode_t previous = ::umask(027);
  const bool written = writeFileAtomically(path("new.dat"), bytesOf("x"));
  ::umask(previous);
  ASSERT_TRUE(written);
  EXPECT_EQ(modeOf("new.dat"), 0640u);
}

TEST_F(FileHelpers, CopyFileStreamsWholeContentAndOverwrites) {
  std::string content(200 * 1024 + 3, '\0');
  for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7 % 256);
  put("from.bin", content);
  put("to.bin", "previous");
  ASSERT_TRUE(copyFile(path("from.bin"), path("to.bin")));
  EXPECT_EQ(contentOf("to.bin"), content);
  EXPECT_EQ(contentOf("from.bin"), content);
  ASSERT_TRUE(copyFile(path("from.bin"), path("from.bin")));
  EXPECT_EQ(contentOf("from.bin"), content);
}

TEST_F(FileHelpers, CopyFromMissingFileLeavesTargetAlone) {
  put("to.bin", "previous");
  EXPECT_FALSE(copyFile(path("missing"), path("to.bin")));
  EXPECT_EQ(contentOf("to.bin"), "previous");
  EXPECT_FALSE(copyFile(folder_, path("to.bin")));
  EXPECT_EQ(entries(), std::set<std::string>{"to.bin"});
}

// 2021-03-04 05:06:07 local time reads back with the second rounded down to 6; 08 stays 8.
TEST_F(FileHelpers, LastWriteTimeIsLocalWithEvenSeconds) {
  put("t", "x");
  const auto setTime = [&](int second) {
    std::tm local{};
    local.tm_year = 2021 - 1900;
    local.tm_mon = 3 - 1;
    local.tm_mday = 4;
    local.tm_hour = 5;
    local.tm_min = 6;
    local.tm_sec = second;
    local.tm_isdst = -1;
    const timespec times[2] = {{std::mktime(&local), 0}, {std::mktime(&local), 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path("t").c_str(), times, 0), 0);
  };
  setTime(7);
  EXPECT_EQ(lastWriteTime(path("t")), (LocalDateTime{2021, 3, 4, 5, 6, 6}));
  setTime(8);
  EXPECT_EQ(lastWriteTime(path("t")), (LocalDateTime{2021, 3, 4, 5, 6, 8}));
}

TEST_F(FileHelpers, TemporaryNamesAreReservedAndDistinct) {
  std::set<std::string> names;
  for (int i = 0; i < 20; ++i) {
    const auto name = temporaryName(folder_, false, 0, false);
    ASSERT_TRUE(name.has_value());
    const std::string_view file = std::string_view(*name).substr(folder_.size() + 1);
    EXPECT_TRUE(file.starts_with("$V$")) << file;
    EXPECT_TRUE(file.ends_with(".tmp")) << file;
    EXPECT_GT(file.size(), 7u) << file;  // prefix, a unique part, ".tmp"
    EXPECT_EQ(fileSize(*name), 0);
    names.insert(*name);
  }
  EXPECT_EQ(names.size(), 20u);
}

TEST_F(FileHelpers, TemporaryNameUsesTildeAndKind) {
  const auto name = temporaryName(folder_, true, 'S', false);
  ASSERT_TRUE(name.has_value());
  EXPECT_TRUE(name->starts_with(folder_ + "/~VS")) << *name;
  EXPECT_TRUE(fileExists(*name));
  EXPECT_EQ(temporaryName(path("missing"), false, 'U', false), std::nullopt);
}

TEST_F(FileHelpers, TemporaryNameQuotesOnlyWhenAskedAndBlank) {
  const auto plain = temporaryName(folder_, false, 'U', true);
  ASSERT_TRUE(plain.has_value());
  EXPECT_NE(plain->front(), '"');

  fs::create_directory(path("with blank"));
  const auto quoted = temporaryName(path("with blank"), false, 'U', true);
  ASSERT_TRUE(quoted.has_value());
  EXPECT_TRUE(quoted->starts_with("\"" + path("with blank/$VU"))) << *quoted;
  EXPECT_TRUE(quoted->ends_with(".tmp\"")) << *quoted;
  EXPECT_TRUE(fileExists(quoted->substr(1, quoted->size() - 2)));

  const auto unquoted = temporaryName(path("with blank"), false, 'U', false);
  ASSERT_TRUE(unquoted.has_value());
  EXPECT_TRUE(unquoted->starts_with(path("with blank/$VU"))) << *unquoted;
}

TEST_F(FileHelpers, PrefixEnumerationAndDeletionTouchOnlyMatchingFiles) {
  put("$VUb.tmp", "");
  put("$VUa.tmp", "");
  put("$VEa.tmp", "");
  put("x$VU.tmp", "");
  fs::create_directory(path("$VUdir"));
  EXPECT_EQ(filesWithPrefix(folder_, "$VU"), (std::vector<std::string>{"$VUa.tmp", "$VUb.tmp"}));
  EXPECT_EQ(filesWithPrefix(folder_, "$V").size(), 3u);

  EXPECT_EQ(deleteFilesWithPrefix(folder_, "$VU"), 2);
  EXPECT_EQ(entries(), (std::set<std::string>{"$VEa.tmp", "x$VU.tmp", "$VUdir"}));
  EXPECT_EQ(deleteFilesWithPrefix(folder_, "$VU"), 0);
}

TEST_F(FileHelpers, TemporaryNameCarriesTheProcessId) {
  const auto name = temporaryName(folder_, false, 'U', false);
  ASSERT_TRUE(name.has_value());
  const std::string file = name->substr(folder_.size() + 1);
  const std::string expectedStart = "$VU" + std::to_string(::getpid()) + "-";
  EXPECT_TRUE(file.starts_with(expectedStart)) << file;
  EXPECT_GT(file.size(), expectedStart.size() + 4) << file;  // a unique part before ".tmp"
  EXPECT_EQ(temporaryNameOwner(file), static_cast<long>(::getpid()));
  const auto tilde = temporaryName(folder_, true, 'S', false);
  ASSERT_TRUE(tilde.has_value());
  EXPECT_EQ(temporaryNameOwner(tilde->substr(folder_.size() + 1)), static_cast<long>(::getpid()));
}

TEST_F(FileHelpers, OwnerIdIsReadOnlyFromWellFormedNames) {
  EXPECT_EQ(temporaryNameOwner("$VA123-X1.tmp"), 123);
  EXPECT_EQ(temporaryNameOwner("~VS45-ABC.tmp"), 45);
  EXPECT_EQ(temporaryNameOwner("$V1234-Q.tmp"), 234);  // the kind may be a digit
  EXPECT_EQ(temporaryNameOwner("$VA2147483647-Q.tmp"), 2147483647);
  // Names of the older form and damaged names carry no owner.
  EXPECT_EQ(temporaryNameOwner("$VAB12CD34.tmp"), std::nullopt);
  EXPECT_EQ(temporaryNameOwner("$VU12345678.tmp"), std::nullopt);
  EXPECT_EQ(temporaryNameOwner("$VA-12.tmp"), std::nullopt);
  EXPECT_EQ(temporaryNameOwner("$VA12a-X.tmp"), std::nullopt);
  EXPECT_EQ(temporaryNameOwner("$VA0-X.tmp"), std::nullopt);  // kill(0) would signal a group
  EXPECT_EQ(temporaryNameOwner("$VA2147483648-X.tmp"), std::nullopt);
  EXPECT_EQ(temporaryNameOwner("$VA99999999999-X.tmp"), std::nullopt);
  EXPECT_EQ(temporaryNameOwner("XVA12-X.tmp"), std::nullopt);
  EXPECT_EQ(temporaryNameOwner("$V"), std::nullopt);
}

// A process id that is certainly not alive: a child that has exited and been reaped.
pid_t deadProcessId() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  int status = 0;
  EXPECT_EQ(::waitpid(child, &status, 0), child);
  return child;
}

TEST_F(FileHelpers, StaleCleanupKeepsEveryLiveProcesssFiles) {
  const std::string self = std::to_string(::getpid());
  const std::string parent = std::to_string(::getppid());
  const std::string dead = std::to_string(deadProcessId());
  put("$VU" + self + "-A.tmp", "");
  put("$VE" + parent + "-B.tmp", "");
  put("$VA" + dead + "-C.tmp", "");
  put("$VUOLDNAME1.tmp", "");          // an older version's name: no owner
  put("~VS" + dead + "-D.tmp", "");    // state memory files are not temporary leftovers
  put("x$VA" + dead + "-E.tmp", "");
  EXPECT_EQ(deleteStaleTemporaryFiles(folder_), 2);
  EXPECT_EQ(entries(), (std::set<std::string>{"$VU" + self + "-A.tmp", "$VE" + parent + "-B.tmp",
                                              "~VS" + dead + "-D.tmp",
                                              "x$VA" + dead + "-E.tmp"}));
  EXPECT_EQ(deleteStaleTemporaryFiles(folder_), 0);
}

TEST_F(FileHelpers, StaleCleanupOfOneKind) {
  const std::string dead = std::to_string(deadProcessId());
  put("$VU" + dead + "-A.tmp", "");
  put("$VE" + dead + "-B.tmp", "");
  EXPECT_EQ(deleteStaleTemporaryFiles(folder_, 'U'), 1);
  EXPECT_EQ(entries(), (std::set<std::string>{"$VE" + dead + "-B.tmp"}));
}

// A save through a symbolic link replaces the link's target (beside it, so in its folder)
// and leaves the link a link; a link to a file not yet there creates that file.
TEST_F(FileHelpers, SaveThroughASymbolicLinkReplacesItsTarget) {
  fs::create_directory(path("sub"));
  put("sub/real.bmp", "old");
  fs::create_symlink("sub/real.bmp", path("link.bmp"));
  fs::create_symlink("link.bmp", path("chain.bmp"));
  fs::create_symlink("sub/new.bmp", path("dangling.bmp"));
  ASSERT_TRUE(writeFileAtomically(path("chain.bmp"), bytesOf("new")));
  EXPECT_TRUE(fs::is_symlink(path("link.bmp")));
  EXPECT_TRUE(fs::is_symlink(path("chain.bmp")));
  EXPECT_EQ(contentOf("sub/real.bmp"), "new");
  ASSERT_TRUE(writeFileAtomically(path("dangling.bmp"), bytesOf("made")));
  EXPECT_TRUE(fs::is_symlink(path("dangling.bmp")));
  EXPECT_EQ(contentOf("sub/new.bmp"), "made");
  fs::create_symlink("loop.bmp", path("loop.bmp"));
  EXPECT_FALSE(writeFileAtomically(path("loop.bmp"), bytesOf("x")));
  EXPECT_EQ(entries(),
            (std::set<std::string>{"sub", "link.bmp", "chain.bmp", "dangling.bmp", "loop.bmp"}));
  std::set<std::string> inSub;
  for (const auto& entry : fs::directory_iterator(path("sub"))) {
    inSub.insert(entry.path().filename().string());
  }
  EXPECT_EQ(inSub, (std::set<std::string>{"real.bmp", "new.bmp"}));
}

// A file without write permission is not replaced, whoever runs the program (root too); a
// writable one keeps its mode.
TEST_F(FileHelpers, RefusesToReplaceAReadOnlyFile) {
  put("source.bmp", "new");
  for (const mode_t mode : {0444, 0400, 0555}) {
    put("locked.bmp", "old");
    ASSERT_EQ(::chmod(path("locked.bmp").c_str(), mode), 0);
    EXPECT_FALSE(writeFileAtomically(path("locked.bmp"), bytesOf("new"))) << mode;
    EXPECT_FALSE(copyFile(path("source.bmp"), path("locked.bmp"))) << mode;
    EXPECT_EQ(contentOf("locked.bmp"), "old") << mode;
    EXPECT_EQ(modeOf("locked.bmp"), mode);
    EXPECT_EQ(entries(), (std::set<std::string>{"locked.bmp", "source.bmp"})) << mode;
    ASSERT_EQ(::chmod(path("locked.bmp").c_str(), 0600), 0);
    fs::remove(path("locked.bmp"));
  }
}

// The hidden file of a save carries the writer's id; what a killed save left is removed by the
// next save of the same file (only when its writer is gone) and by the start-up cleanup.
TEST_F(FileHelpers, ReplacementFilesOfKilledSavesAreRemoved) {
  const std::string self = std::to_string(::getpid());
  const std::string parent = std::to_string(::getppid());
  const std::string dead = std::to_string(deadProcessId());
  ASSERT_TRUE(writeFileAtomically(path("a.bmp"), [&](const ByteSink& sink) {
    std::set<std::string> hidden = entries();
    hidden.erase("a.bmp");
    EXPECT_EQ(hidden.size(), 1u);
    EXPECT_TRUE(!hidden.empty() && hidden.begin()->starts_with(".a.bmp." + self + "-"));
    return sink("x", 1);
  }));
  put(".a.bmp." + dead + "-ABCDEFGH", "left by a kill");
  put(".a.bmp." + parent + "-ABCDEFGH", "a save still running");
  put(".a.bmp.notanid-ABCDEFGH", "");
  put(".b.bmp." + dead + "-0123ABCD", "left by a kill");
  ASSERT_TRUE(writeFileAtomically(path("a.bmp"), bytesOf("y")));
  const std::set<std::string> kept{"a.bmp", ".a.bmp." + parent + "-ABCDEFGH",
                                   ".a.bmp.notanid-ABCDEFGH"};
  std::set<std::string> expected = kept;
  expected.insert(".b.bmp." + dead + "-0123ABCD");
  EXPECT_EQ(entries(), expected);
  EXPECT_EQ(deleteStaleTemporaryFiles(folder_), 1);
  EXPECT_EQ(entries(), kept);
}

TEST_F(FileHelpers, OwnCleanupDeletesOnlyThisProcesssFiles) {
  const std::string parent = std::to_string(::getppid());
  const auto mine = temporaryName(folder_, false, 'U', false);
  const auto mineToo = temporaryName(folder_, false, 'E', false);
  ASSERT_TRUE(mine && mineToo);
  put("$VU" + parent + "-B.tmp", "");
  put("$VUOLDNAME1.tmp", "");
  EXPECT_EQ(deleteOwnTemporaryFiles(folder_, 'E'), 1);
  EXPECT_TRUE(fileExists(*mine));
  EXPECT_EQ(deleteOwnTemporaryFiles(folder_), 1);
  EXPECT_EQ(entries(), (std::set<std::string>{"$VU" + parent + "-B.tmp", "$VUOLDNAME1.tmp"}));
}

TEST_F(FileHelpers, PrefixFunctionsOnMissingFolderDoNothing) {
  EXPECT_TRUE(filesWithPrefix(path("missing"), "$V").empty());
  EXPECT_EQ(deleteFilesWithPrefix(path("missing"), "$V"), 0);
}

}  // namespace
}  // namespace vemla
