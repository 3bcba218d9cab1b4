#include "gallery/archive.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include "gallery/archive_bytes.h"
#include "support/test_files.h"

namespace vemla {
namespace {

using testing::ArchiveBuilder;
using testing::Bytes;
using ::testing::ElementsAre;
using testing::getLe;
using testing::RawRecord;
using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

// A picture whose bytes repeat a short pattern, so bzip2 shrinks it a lot.
Bytes patterned(std::size_t size) {
  Bytes out(size);
  for (std::size_t i = 0; i < size; ++i) out[i] = static_cast<std::uint8_t>((i * 7) % 13);
  return out;
}

ArchiveItemInfo picture(int width, int height, int bytesPerPixel, const std::string& title = "") {
  ArchiveItemInfo item;
  item.kind = kSlotPicture;
  item.width = width;
  item.height = height;
  item.bytesPerPixel = bytesPerPixel;
  item.title = title;
  return item;
}

ArchiveItemInfo data(int bytes, const std::string& title = "") {
  ArchiveItemInfo item;
  item.kind = kSlotData;
  item.width = bytes;
  item.height = 1;
  item.title = title;
  return item;
}

class Archive : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(createArchive(path), 0); }
  int append(const ArchiveItemInfo& item, const Bytes& content, std::size_t workBytes = 1 << 20) {
    Bytes work(workBytes);
    return appendArchiveItem(path, item, content, work);
  }
  int read(int number, ArchiveItemRead& out, Bytes& content, std::size_t capacity = 1 << 20) {
    content.assign(capacity, 0xEE);
    Bytes work(1 << 20);
    return readArchiveItem(path, number, out, content, work);
  }
  TempDir dir;
  std::string path = dir.file("a.vla");
};

TEST_F(Archive, CreateWritesTheMagicAndAnEmptyHeader) {
  const Bytes bytes = readBytes(path);
  ASSERT_EQ(bytes.size(), 1056u);
  EXPECT_THAT(Bytes(bytes.begin(), bytes.begin() + 4), ElementsAre('V', 'L', '0', '0'));
  EXPECT_TRUE(std::all_of(bytes.begin() + 4, bytes.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST_F(Archive, StoresAnItemThatDoesNotCompressIntoTheWorkBufferAsItIs) {
  // 2 x 2 pixels of 3 bytes with no palette given: a 4-byte work buffer cannot take a stream.
  const Bytes content{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  ASSERT_EQ(append(picture(2, 2, 3, "tc"), content, 4), 1);
  const Bytes bytes = readBytes(path);
  ASSERT_EQ(bytes.size(), 1056u + 180 + 1024 + 12);
  EXPECT_EQ(getLe(bytes, 4, 4), 1);
  EXPECT_EQ(getLe(bytes, 32, 4), 180 + 1024 + 12);
  EXPECT_EQ(getLe(bytes, 36, 4), 0);
  const std::size_t record = 1056;
  EXPECT_EQ(getLe(bytes, record + 0, 4), 1);
  EXPECT_EQ(getLe(bytes, record + 4, 4), 2);
  EXPECT_EQ(getLe(bytes, record + 8, 4), 2);
  EXPECT_EQ(getLe(bytes, record + 12, 4), 3);
  EXPECT_EQ(bytes[record + 16], 't');
  EXPECT_EQ(bytes[record + 17], 'c');
  EXPECT_EQ(bytes[record + 18], 0);
  EXPECT_EQ(getLe(bytes, record + 144, 2), 1);  // palette follows
  EXPECT_EQ(getLe(bytes, record + 146, 2), 0);  // not compressed
  EXPECT_EQ(getLe(bytes, record + 148, 4), 1024);
  EXPECT_EQ(getLe(bytes, record + 152, 4), 12);
  // Without a palette the grey ramp is stored: entry 200 is (200, 200, 200, 0).
  EXPECT_THAT(Bytes(bytes.begin() + 1236 + 800, bytes.begin() + 1236 + 804),
              ElementsAre(200, 200, 200, 0));
  EXPECT_EQ(Bytes(bytes.end() - 12, bytes.end()), content);
}

TEST_F(Archive, CompressesWithTheLibraryAtBlockSizeFourAndReadsBackEveryKind) {
  const Bytes grey = patterned(64 * 48);
  const Bytes rgb = patterned(20 * 10 * 3);
  const Bytes rgba = patterned(9 * 8 * 4);
  const Bytes bytes = patterned(5000);
  ArchiveItemInfo greyItem = picture(64, 48, 1, "grey");
  greyItem.hasPalette = true;
  for (int i = 0; i < 1024; ++i) greyItem.palette[i] = static_cast<std::uint8_t>(255 - i % 256);
  ASSERT_EQ(append(greyItem, grey), 1);
  ASSERT_EQ(append(picture(20, 10, 3, "rgb"), rgb), 2);
  ASSERT_EQ(append(picture(9, 8, 4, "rgba"), rgba), 3);
  ASSERT_EQ(append(data(5000, "notes.txt"), bytes), 4);

  // The first item's stored data is exactly the library's stream at the archive's settings.
  const Bytes file = readBytes(path);
  const Bytes stream = testing::bzip2(grey);
  EXPECT_EQ(getLe(file, 1056 + 146, 2), 1);
  EXPECT_EQ(getLe(file, 1056 + 152, 4), static_cast<std::int64_t>(stream.size()));
  EXPECT_EQ(getLe(file, 32, 4), static_cast<std::int64_t>(180 + 1024 + stream.size()));
  EXPECT_EQ(
      Bytes(file.begin() + 1056 + 180 + 1024, file.begin() + 1056 + 180 + 1024 + stream.size()),
      stream);

  const std::vector<std::pair<ArchiveItemInfo, Bytes>> expected{{greyItem, grey},
                                                                {picture(20, 10, 3, "rgb"), rgb},
                                                                {picture(9, 8, 4, "rgba"), rgba},
                                                                {data(5000, "notes.txt"), bytes}};
  for (int number = 1; number <= 4; ++number) {
    ArchiveItemRead out;
    Bytes content;
    ASSERT_EQ(read(number, out, content), 0) << number;
    const auto& [item, pixels] = expected[number - 1];
    EXPECT_EQ(out.count, 4);
    EXPECT_EQ(out.info.kind, item.kind);
    EXPECT_EQ(out.info.width, item.width);
    EXPECT_EQ(out.info.height, item.height);
    EXPECT_EQ(out.info.bytesPerPixel, item.bytesPerPixel);
    EXPECT_EQ(out.info.title, item.title);
    EXPECT_EQ(Bytes(content.begin(), content.begin() + pixels.size()), pixels) << number;
    EXPECT_EQ(content[pixels.size()], 0xEE) << "nothing written beyond the content";
  }
  ArchiveItemRead first;
  Bytes content;
  ASSERT_EQ(read(1, first, content), 0);
  EXPECT_EQ(first.info.palette, greyItem.palette);
}

TEST_F(Archive, EmptyItemsAndEmptyDataTakeNoBytesBeyondTheirEntries) {
  ASSERT_EQ(append(ArchiveItemInfo{}, {}), 1);
  EXPECT_EQ(readBytes(path).size(), 1056u);  // an empty item: entry 0 and nothing else
  ASSERT_EQ(append(data(0, "nothing"), {}), 2);
  const Bytes file = readBytes(path);
  ASSERT_EQ(file.size(), 1056u + 180);
  EXPECT_EQ(getLe(file, 32, 4), 0);
  EXPECT_EQ(getLe(file, 36, 4), 180);
  EXPECT_EQ(getLe(file, 1056 + 146, 2), 1);  // compressed flag 1 with no stream
  EXPECT_EQ(getLe(file, 1056 + 152, 4), 0);

  ArchiveItemRead out;
  Bytes content;
  ASSERT_EQ(read(1, out, content), 0);
  EXPECT_EQ(out.info.kind, kSlotEmpty);
  ASSERT_EQ(read(2, out, content), 0);
  EXPECT_EQ(out.info.kind, kSlotData);
  EXPECT_EQ(out.info.width, 0);
  EXPECT_EQ(out.info.title, "nothing");
}

TEST_F(Archive, NumberZeroReportsTheCountAndOtherNumbersAreChecked) {
  ASSERT_EQ(append(data(3), {1, 2, 3}), 1);
  ArchiveItemRead out;
  EXPECT_EQ(readArchiveItem(path, 0, out), 0);
  EXPECT_EQ(out.count, 1);
  EXPECT_EQ(out.info.kind, kSlotEmpty);
  EXPECT_EQ(readArchiveItem(path, 2, out), kArchiveNoSuchItem);
  EXPECT_EQ(readArchiveItem(path, 257, out), kArchiveBadArguments);
  EXPECT_EQ(readArchiveItem(path, -1, out), kArchiveBadArguments);
  EXPECT_EQ(readArchiveItem(dir.file("missing.vla"), 1, out), kArchiveCannotOpen);
}

TEST_F(Archive, RefusesABufferSmallerThanTheContent) {
  ASSERT_EQ(append(picture(10, 10, 1), patterned(100)), 1);
  ArchiveItemRead out;
  Bytes content;
  EXPECT_EQ(read(1, out, content, 99), kArchiveTooLarge);
  EXPECT_EQ(read(1, out, content, 100), 0);
}

TEST_F(Archive, AppendChecksItsArgumentsAndNeverCreatesTheFile) {
  const Bytes content(64, 1);
  ArchiveItemInfo over = picture(8, 8, 1);
  over.kind = kSlotOver;
  EXPECT_EQ(append(over, content), kArchiveBadArguments);
  EXPECT_EQ(append(picture(8, 8, 2), content), kArchiveBadArguments);
  EXPECT_EQ(append(picture(0, 8, 1), content), kArchiveBadArguments);
  EXPECT_EQ(append(picture(-8, -8, 1), content), kArchiveBadArguments);
  EXPECT_EQ(append(picture(8, 9, 1), content), kArchiveBadArguments);  // 72 bytes wanted
  EXPECT_EQ(append(data(-1), content), kArchiveBadArguments);
  Bytes work(256);
  EXPECT_EQ(appendArchiveItem(dir.file("new.vla"), data(4), content, work), kArchiveCannotOpen);
  EXPECT_FALSE(std::filesystem::exists(dir.file("new.vla")));
  EXPECT_EQ(readBytes(path).size(), 1056u);
}

// An add killed after its item but before its header leaves bytes the header does not count;
// the next add cuts them off, so the file ends with the last counted item.
TEST_F(Archive, AnAddDropsWhatAKilledAddLeftBeyondTheHeadersEnd) {
  ASSERT_EQ(append(data(3), {1, 2, 3}), 1);
  const std::size_t counted = readBytes(path).size();
  Bytes leftover = readBytes(path);
  leftover.resize(counted + 10000, 0x5A);
  writeBytes(path, leftover);
  ASSERT_EQ(append(data(2), {4, 5}), 2);
  const Bytes after = readBytes(path);
  EXPECT_EQ(after.size(), counted + static_cast<std::size_t>(getLe(after, 32 + 4, 4)));
  ArchiveItemRead second;
  Bytes content;
  ASSERT_EQ(read(2, second, content), 0);
  EXPECT_EQ(second.info.width, 2);
  EXPECT_THAT(std::span(content).first(2), ElementsAre(4, 5));
}

// A file without write permission is not appended to, whoever runs the program.
TEST_F(Archive, AReadOnlyArchiveIsNotAppendedTo) {
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  EXPECT_EQ(append(data(2), {1, 2}), kArchiveCannotOpen);
  EXPECT_EQ(readBytes(path).size(), 1056u);
}

TEST_F(Archive, RefusesAnItemWhoseSizeDoesNotFitThirtyTwoBits) {
  // 32768 x 16384 x 4 bytes is 2^31, more than a signed size entry holds. The content is never
  // read when the size is refused, so a span that only claims the length stands in for it.
  static std::uint8_t placeholder;
  const std::span<const std::uint8_t> claimed(&placeholder, std::size_t{1} << 31);
  Bytes work(16);
  EXPECT_EQ(appendArchiveItem(path, picture(32768, 16384, 4), claimed, work), kArchiveTooLarge);
  EXPECT_EQ(readBytes(path).size(), 1056u);
}

TEST_F(Archive, The257thItemIsRefused) {
  for (int i = 1; i <= 256; ++i) ASSERT_EQ(append(ArchiveItemInfo{}, {}), i);
  EXPECT_EQ(append(data(2), {1, 2}), kArchiveFull);
  EXPECT_EQ(readBytes(path).size(), 1056u);
  std::vector<ArchiveItemInfo> items;
  EXPECT_EQ(readArchiveDirectory(path, items), 256);
  EXPECT_EQ(items.size(), 256u);
}

TEST_F(Archive, OnlyTheFirstTwoMagicBytesAreExamined) {
  Bytes file = ArchiveBuilder().plain(RawRecord{2, 3, 1, 1}, {7, 8, 9}).bytes();
  file[2] = 'x';
  file[3] = '9';
  writeBytes(path, file);
  ArchiveItemRead out;
  Bytes content;
  ASSERT_EQ(read(1, out, content), 0);
  EXPECT_THAT(Bytes(content.begin(), content.begin() + 3), ElementsAre(7, 8, 9));
  EXPECT_EQ(append(data(1), {5}), 2);
  file[1] = 'X';
  writeBytes(path, file);
  EXPECT_EQ(read(1, out, content), kArchiveNotArchive);
  std::vector<ArchiveItemInfo> items;
  EXPECT_EQ(readArchiveDirectory(path, items), kArchiveNotArchive);
  EXPECT_EQ(append(data(1), {5}), kArchiveNotArchive);

  // Shorter than a header: no archive unless it begins with the magic.
  std::vector<ArchiveItemInfo> none;
  for (const auto& [bytes, expected] : {std::pair{Bytes{}, kArchiveNotArchive},
                                        std::pair{Bytes{'a', 'b', '\n'}, kArchiveNotArchive},
                                        std::pair{Bytes{'V', 'L', '1', '0'}, kArchiveBroken}}) {
    writeBytes(path, bytes);
    EXPECT_EQ(readArchiveDirectory(path, none), expected);
    EXPECT_EQ(append(data(1), {5}), expected);
  }
}

TEST_F(Archive, DirectoryListsKindsSizesAndTitles) {
  ASSERT_EQ(append(picture(12, 10, 4, "colour"), patterned(480)), 1);
  ASSERT_EQ(append(ArchiveItemInfo{}, {}), 2);
  ASSERT_EQ(append(data(7, "seven.bin"), patterned(7)), 3);
  std::vector<ArchiveItemInfo> items;
  ASSERT_EQ(readArchiveDirectory(path, items), 3);
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].kind, kSlotPicture);
  EXPECT_EQ(items[0].width, 12);
  EXPECT_EQ(items[0].height, 10);
  EXPECT_EQ(items[0].bytesPerPixel, 4);
  EXPECT_EQ(items[0].title, "colour");
  EXPECT_EQ(items[1], ArchiveItemInfo{});
  EXPECT_EQ(items[2].kind, kSlotData);
  EXPECT_EQ(items[2].width, 7);
  EXPECT_EQ(items[2].height, 1);
  EXPECT_EQ(items[2].bytesPerPixel, 1);
  // A maximum below the count lists fewer items but still reports the count.
  EXPECT_EQ(readArchiveDirectory(path, items, 1), 3);
  EXPECT_EQ(items.size(), 1u);
}

TEST_F(Archive, TitlesAreCutTo127BytesAtACharacterBoundary) {
  // 70 x "あ" is 140 bytes of CP932; 63 whole characters (126 bytes) fit in 127.
  std::string title;
  for (int i = 0; i < 70; ++i) title += "あ";
  ASSERT_EQ(append(data(1, title), {1}), 1);
  ArchiveItemRead out;
  ASSERT_EQ(readArchiveItem(path, 1, out), 0);
  std::string expected;
  for (int i = 0; i < 63; ++i) expected += "あ";
  EXPECT_EQ(out.info.title, expected);
  const Bytes file = readBytes(path);
  EXPECT_EQ(file[1056 + 16 + 126], 0);
}

TEST_F(Archive, ABytesPerPixelFieldOutsideOneThreeFourReadsAsOne) {
  RawRecord record{1, 4, 2, 2};
  writeBytes(path, ArchiveBuilder().plain(record, patterned(8)).bytes());
  ArchiveItemRead out;
  Bytes content;
  ASSERT_EQ(read(1, out, content), 0);
  EXPECT_EQ(out.info.bytesPerPixel, 1);
  EXPECT_EQ(Bytes(content.begin(), content.begin() + 8), patterned(8));
}

}  // namespace
}  // namespace vemla
