// Archives made to hurt: every one must be refused with its status, without a crash, without
// writing beyond the caller's buffers and without changing the file when appending.
#include <gtest/gtest.h>

#include <filesystem>

#include "gallery/archive.h"
#include "gallery/archive_bytes.h"
#include "gallery/file_size_limit.h"
#include "support/test_files.h"

namespace vemla {
namespace {

using testing::ArchiveBuilder;
using testing::Bytes;
using testing::FileSizeLimit;
using testing::RawRecord;
using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

constexpr std::size_t kCapacity = 4096;

struct Outcome {
  int item;        // readArchiveItem with buffers
  int directory;   // readArchiveDirectory
  int append;      // appendArchiveItem of a 1-byte data item
  bool unchanged;  // the file after the append attempt
};

Outcome tryEverything(const std::string& path, const Bytes& file, int number = 1) {
  writeBytes(path, file);
  Outcome outcome{};
  ArchiveItemRead out;
  Bytes content(kCapacity), work(kCapacity);
  outcome.item = readArchiveItem(path, number, out, content, work);
  std::vector<ArchiveItemInfo> items;
  outcome.directory = readArchiveDirectory(path, items);
  ArchiveItemInfo item;
  item.kind = kSlotData;
  item.width = 1;
  const Bytes one{42};
  Bytes appendWork(64);
  outcome.append = appendArchiveItem(path, item, one, appendWork);
  outcome.unchanged = readBytes(path) == file;
  return outcome;
}

class HostileArchive : public ::testing::Test {
 protected:
  TempDir dir;
  std::string path = dir.file("hostile.vla");
};

TEST_F(HostileArchive, RefusesATruncatedHeader) {
  Bytes file = ArchiveBuilder().bytes();
  file.resize(100);
  const Outcome outcome = tryEverything(path, file);
  EXPECT_EQ(outcome.item, kArchiveBroken);
  EXPECT_EQ(outcome.directory, kArchiveBroken);
  EXPECT_EQ(outcome.append, kArchiveBroken);
  EXPECT_TRUE(outcome.unchanged);
}

TEST_F(HostileArchive, RefusesArchiveWhoseCountExceeds256OrIsNegative) {
  for (const std::int32_t count : {257, -1, INT32_MIN}) {
    const Outcome outcome = tryEverything(path, ArchiveBuilder().count(count).bytes());
    EXPECT_EQ(outcome.item, kArchiveNotArchive) << count;
    EXPECT_EQ(outcome.directory, kArchiveNotArchive) << count;
    EXPECT_EQ(outcome.append, kArchiveNotArchive) << count;
    EXPECT_TRUE(outcome.unchanged) << count;
  }
}

TEST_F(HostileArchive, RefusesSizeEntriesTooSmallForARecordOrNegative) {
  for (const std::int32_t entry : {1, 179, -180, INT32_MIN}) {
    const Bytes file =
        ArchiveBuilder().plain(RawRecord{2, 3, 1, 1}, {1, 2, 3}).entry(0, entry).bytes();
    const Outcome outcome = tryEverything(path, file);
    EXPECT_EQ(outcome.item, kArchiveNotArchive) << entry;
    EXPECT_EQ(outcome.directory, kArchiveNotArchive) << entry;
    EXPECT_TRUE(outcome.unchanged) << entry;
  }
}

TEST_F(HostileArchive, RefusesSizeEntriesPastTheEndOfTheFile) {
  // The second item claims 10000 bytes that the file does not hold.
  const Bytes file = ArchiveBuilder()
                         .plain(RawRecord{2, 3, 1, 1}, {1, 2, 3})
                         .plain(RawRecord{2, 4, 1, 1}, {4, 5, 6, 7})
                         .entry(1, 10000)
                         .bytes();
  const Outcome outcome = tryEverything(path, file, 2);
  EXPECT_EQ(outcome.item, kArchiveBroken);
  EXPECT_EQ(outcome.directory, kArchiveBroken);
  // Appending after bytes that are not there would leave a hole in the middle of the file.
  EXPECT_EQ(outcome.append, kArchiveBroken);
  EXPECT_TRUE(outcome.unchanged);
  // The first item is whole and still readable on its own.
  ArchiveItemRead out;
  Bytes content(16), work(16);
  EXPECT_EQ(readArchiveItem(path, 1, out, content, work), 0);
  EXPECT_EQ(content[2], 3);
}

TEST_F(HostileArchive, RefusesRecordsThatContradictThemselves) {
  const Bytes three{1, 2, 3};
  struct Case {
    const char* what;
    RawRecord record;
    Bytes stored;
    std::int64_t entry;
  };
  auto record = [](std::int32_t kind, std::int32_t width, std::int32_t height) {
    RawRecord r{kind, width, height, 1};
    r.storedLength = 3;
    return r;
  };
  std::vector<Case> cases;
  cases.push_back({"kind 7", record(7, 3, 1), three, 183});
  cases.push_back({"kind -1", record(-1, 3, 1), three, 183});
  cases.push_back({"negative data size", record(2, -3, 1), three, 183});
  cases.push_back({"negative width", record(1, -1, -3), three, 183});
  cases.push_back({"zero height", record(1, 3, 0), three, 183});
  cases.push_back({"entry beyond the record", record(2, 3, 1), three, 184});
  cases.push_back({"stored length not the content", record(2, 4, 1), three, 183});
  RawRecord flags = record(2, 3, 1);
  flags.compressedFlag = 2;
  cases.push_back({"compressed flag 2", flags, three, 183});
  RawRecord palette = record(2, 3, 1);
  palette.paletteFlag = 1;
  palette.paletteSize = 3;
  cases.push_back({"palette size not 1024", palette, three, 183});
  RawRecord negative = record(2, 3, 1);
  negative.storedLength = -3;
  cases.push_back({"negative stored length", negative, three, 183});
  // A compressed picture with no stream would hand back whatever the buffer held.
  RawRecord emptyStream{1, 8, 8, 1};
  emptyStream.compressedFlag = 1;
  cases.push_back({"empty stream for 64 pixels", emptyStream, {}, 180});
  for (const Case& c : cases) {
    Bytes item = c.record.bytes();
    item.insert(item.end(), c.stored.begin(), c.stored.end());
    const Outcome outcome = tryEverything(path, ArchiveBuilder().item(item, c.entry).bytes());
    EXPECT_EQ(outcome.item, kArchiveBroken) << c.what;
    EXPECT_EQ(outcome.directory, kArchiveBroken) << c.what;
  }
}

TEST_F(HostileArchive, OverflowingPictureSizesAreRefusedBeforeAnyBufferIsUsed) {
  // 2^31 - 1 squared times 4: computed in 32 bits this would wrap to a small number.
  RawRecord huge{1, INT32_MAX, INT32_MAX, 4};
  huge.paletteFlag = 1;
  huge.paletteSize = 1024;
  huge.compressedFlag = 1;
  huge.storedLength = 16;
  Bytes item = huge.bytes();
  item.resize(180 + 1024 + 16, 0);
  const Bytes file = ArchiveBuilder().item(item).bytes();
  const Outcome outcome = tryEverything(path, file);
  EXPECT_EQ(outcome.item, kArchiveTooLarge);
  // The description alone is readable (and lists as Over in the windows).
  EXPECT_EQ(outcome.directory, 1);
  // Uncompressed, the stored length can never equal such a content size.
  huge.compressedFlag = 0;
  Bytes plain = huge.bytes();
  plain.resize(180 + 1024 + 16, 0);
  EXPECT_EQ(tryEverything(path, ArchiveBuilder().item(plain).bytes()).item, kArchiveBroken);
}

TEST_F(HostileArchive, RefusesTruncatedAndCorruptStreams) {
  const Bytes content(1000, 'a');
  const Bytes stream = testing::bzip2(content);
  auto archiveWith = [](const Bytes& stored, int width) {
    RawRecord record{2, width, 1, 1};
    record.compressedFlag = 1;
    record.storedLength = static_cast<std::int32_t>(stored.size());
    Bytes item = record.bytes();
    item.insert(item.end(), stored.begin(), stored.end());
    return ArchiveBuilder().item(item).bytes();
  };
  // Sanity: the untouched stream reads back.
  EXPECT_EQ(tryEverything(path, archiveWith(stream, 1000)).item, 0);
  const Bytes truncated(stream.begin(), stream.begin() + static_cast<long>(stream.size() / 2));
  EXPECT_EQ(tryEverything(path, archiveWith(truncated, 1000)).item, kArchiveDecompressFailed);
  Bytes corrupt = stream;
  for (std::size_t i = 10; i < corrupt.size(); i += 3) corrupt[i] ^= 0x5A;
  EXPECT_EQ(tryEverything(path, archiveWith(corrupt, 1000)).item, kArchiveDecompressFailed);
  // The stream yields 1000 bytes where 999 are announced, or fewer than announced.
  EXPECT_EQ(tryEverything(path, archiveWith(stream, 999)).item, kArchiveDecompressFailed);
  EXPECT_EQ(tryEverything(path, archiveWith(stream, 1001)).item, kArchiveDecompressFailed);
}

TEST_F(HostileArchive, ABzip2BombIsCutOffAtTheAnnouncedSize) {
  // 4 MiB of zeros compress to a few hundred bytes; the record announces 100.
  const Bytes zeros(4 << 20, 0);
  const Bytes stream = testing::bzip2(zeros);
  RawRecord record{2, 100, 1, 1};
  record.compressedFlag = 1;
  record.storedLength = static_cast<std::int32_t>(stream.size());
  Bytes item = record.bytes();
  item.insert(item.end(), stream.begin(), stream.end());
  writeBytes(path, ArchiveBuilder().item(item).bytes());
  ArchiveItemRead out;
  Bytes content(100), work(stream.size());
  // AddressSanitizer would report a write beyond the 100-byte buffer.
  EXPECT_EQ(readArchiveItem(path, 1, out, content, work), kArchiveDecompressFailed);
}

TEST_F(HostileArchive, AStreamLongerThanTheWorkBufferIsRefused) {
  Bytes content(3000);
  for (std::size_t i = 0; i < content.size(); ++i)
    content[i] = static_cast<std::uint8_t>(i * 2654435761u >> 13);
  const Bytes stream = testing::bzip2(content);
  RawRecord record{2, 3000, 1, 1};
  record.compressedFlag = 1;
  record.storedLength = static_cast<std::int32_t>(stream.size());
  Bytes item = record.bytes();
  item.insert(item.end(), stream.begin(), stream.end());
  writeBytes(path, ArchiveBuilder().item(item).bytes());
  ArchiveItemRead out;
  Bytes buffer(3000), small(stream.size() - 1), enough(stream.size());
  EXPECT_EQ(readArchiveItem(path, 1, out, buffer, small), kArchiveBroken);
  EXPECT_EQ(readArchiveItem(path, 1, out, buffer, enough), 0);
  EXPECT_EQ(buffer, content);
}

TEST_F(HostileArchive, ADirectoryEntryIsNotAFile) {
  std::filesystem::create_directory(path);
  ArchiveItemRead out;
  EXPECT_EQ(readArchiveItem(path, 0, out), kArchiveCannotOpen);
  std::vector<ArchiveItemInfo> items;
  EXPECT_EQ(readArchiveDirectory(path, items), kArchiveCannotOpen);
}

TEST_F(HostileArchive, AFailedAppendLeavesTheFileAsItWas) {
  ASSERT_EQ(createArchive(path), 0);
  ArchiveItemInfo item;
  item.kind = kSlotData;
  item.width = 10;
  const Bytes ten(10, 7);
  Bytes work(4);  // no stream fits: the 10 bytes are stored as they are
  ASSERT_EQ(appendArchiveItem(path, item, ten, work), 1);
  const Bytes before = readBytes(path);
  item.width = 5000;
  const Bytes big(5000, 9);
  {
    // Room for the record and part of the data only.
    const FileSizeLimit limit(before.size() + 1000);
    EXPECT_EQ(appendArchiveItem(path, item, big, work), kArchiveBroken);
  }
  EXPECT_EQ(readBytes(path), before);
  ArchiveItemRead out;
  EXPECT_EQ(readArchiveItem(path, 0, out), 0);
  EXPECT_EQ(out.count, 1);
}

}  // namespace
}  // namespace vemla
