#include "gallery/archive.h"

#include <bzlib.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <limits>
#include <optional>

#include "picture/field_codec.h"
#include "picture/file_helpers.h"
#include "picture/little_endian.h"

namespace vemla {
namespace {

constexpr std::size_t kCountOffset = 4;
constexpr std::size_t kSizeTableOffset = 32;
constexpr std::size_t kTitleOffset = 16;
constexpr std::size_t kPaletteFlagOffset = 144;
constexpr std::size_t kCompressedFlagOffset = 146;
constexpr std::size_t kPaletteSizeOffset = 148;
constexpr std::size_t kStoredLengthOffset = 152;
constexpr std::int64_t kLargestEntry = std::numeric_limits<std::int32_t>::max();

bool validBytesPerPixel(int bytesPerPixel) {
  return bytesPerPixel == 1 || bytesPerPixel == 3 || bytesPerPixel == 4;
}

// A descriptor closed on every path.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  bool isOpen() const { return fd_ >= 0; }

 private:
  int fd_;
};

// Opens a regular file (never a FIFO or device, and never creating it); -1 otherwise.
int openRegular(const std::string& path, int flags, std::int64_t& size) {
  const int fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return -1;
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(fd);
    return -1;
  }
  size = static_cast<std::int64_t>(status.st_size);
  return fd;
}

// Exactly `count` bytes at `offset`, or false.
bool readAt(int fd, std::int64_t offset, void* destination, std::size_t count) {
  auto* bytes = static_cast<std::uint8_t*>(destination);
  while (count > 0) {
    const ssize_t got = ::pread(fd, bytes, count, static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    bytes += got;
    offset += got;
    count -= static_cast<std::size_t>(got);
  }
  return true;
}

bool writeAt(int fd, std::int64_t offset, const void* source, std::size_t count) {
  const auto* bytes = static_cast<const std::uint8_t*>(source);
  while (count > 0) {
    const ssize_t written = ::pwrite(fd, bytes, count, static_cast<off_t>(offset));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes += written;
    offset += written;
    count -= static_cast<std::size_t>(written);
  }
  return true;
}

struct Header {
  std::array<std::uint8_t, kArchiveHeaderBytes> bytes{};
  int count = 0;

  std::int32_t entry(int index) const {
    return little_endian::getI32(bytes.data() + kSizeTableOffset +
                                 4 * static_cast<std::size_t>(index));
  }
  // Where item `number` (1-based) starts: after the header and every earlier item.
  std::int64_t itemStart(int number) const {
    std::int64_t position = static_cast<std::int64_t>(kArchiveHeaderBytes);
    for (int index = 0; index < number - 1; ++index) position += entry(index);
    return position;
  }
};

// Only the first two magic bytes are examined ("VL"; the version bytes are not). A count outside
// 0 .. 256, or a size entry up to the count that is neither 0 nor large enough for a record,
// cannot come from an archive either.
int parseHeader(Header& header) {
  if (header.bytes[0] != 'V' || header.bytes[1] != 'L') return kArchiveNotArchive;
  const std::int32_t count = little_endian::getI32(header.bytes.data() + kCountOffset);
  if (count < 0 || count > kArchiveMaxItems) return kArchiveNotArchive;
  for (int index = 0; index < count; ++index) {
    const std::int32_t entry = header.entry(index);
    if (entry != 0 && entry < static_cast<std::int32_t>(kArchiveRecordBytes)) {
      return kArchiveNotArchive;
    }
  }
  header.count = count;
  return 0;
}

// A file too short for a header is broken only when it begins like an archive; any other short
// file (a text file named *.vla, an empty file) is no archive at all.
int readHeader(int fd, Header& header) {
  if (!readAt(fd, 0, header.bytes.data(), header.bytes.size())) {
    std::array<std::uint8_t, 2> magic{};
    const bool archiveLike =
        readAt(fd, 0, magic.data(), magic.size()) && magic[0] == 'V' && magic[1] == 'L';
    return archiveLike ? kArchiveBroken : kArchiveNotArchive;
  }
  return parseHeader(header);
}

// What the record says about the stored part of the item.
struct StoredPart {
  bool hasPalette = false;
  bool compressed = false;
  std::int64_t length = 0;
};

// Decodes and checks a record against its size entry: kind 0 .. 2; flags 0 or 1; a palette
// size that matches its flag; a stored length that, with the record and palette, makes up the
// size entry exactly; positive picture sizes and a data size of at least 0; uncompressed data
// exactly as long as the content; and no empty stream for a content that is not empty.
int decodeRecord(const std::uint8_t* record, std::int32_t sizeEntry, ArchiveItemInfo& info,
                 StoredPart& stored) {
  const std::int32_t kind = little_endian::getI32(record);
  if (kind < kSlotEmpty || kind > kSlotData) return kArchiveBroken;
  info = ArchiveItemInfo{};
  if (kind == kSlotEmpty) return 0;

  const int paletteFlag = little_endian::getU16(record + kPaletteFlagOffset);
  const int compressedFlag = little_endian::getU16(record + kCompressedFlagOffset);
  const std::int64_t paletteSize = little_endian::getI32(record + kPaletteSizeOffset);
  const std::int64_t storedLength = little_endian::getI32(record + kStoredLengthOffset);
  if (paletteFlag > 1 || compressedFlag > 1) return kArchiveBroken;
  if (paletteSize != (paletteFlag == 1 ? static_cast<std::int64_t>(kArchivePaletteBytes) : 0)) {
    return kArchiveBroken;
  }
  if (storedLength < 0 ||
      static_cast<std::int64_t>(kArchiveRecordBytes) + paletteSize + storedLength != sizeEntry) {
    return kArchiveBroken;
  }

  ArchiveItemInfo read;
  read.kind = kind;
  read.width = little_endian::getI32(record + 4);
  read.height = little_endian::getI32(record + 8);
  read.bytesPerPixel = little_endian::getI32(record + 12);
  if (kind == kSlotData || !validBytesPerPixel(read.bytesPerPixel)) read.bytesPerPixel = 1;
  if (kind == kSlotData) read.height = 1;
  if (kind == kSlotPicture && (read.width < 1 || read.height < 1)) return kArchiveBroken;
  if (kind == kSlotData && read.width < 0) return kArchiveBroken;
  const std::int64_t content = read.contentBytes();
  if (compressedFlag == 0 && storedLength != content) return kArchiveBroken;
  if (compressedFlag == 1 && storedLength == 0 && content != 0) return kArchiveBroken;

  bool validTitle = true;
  FieldReader titleReader({record + kTitleOffset, kArchiveTitleBytes});
  read.title = titleReader.text(kArchiveTitleBytes, &validTitle);
  if (!validTitle) read.title.clear();
  read.hasPalette = paletteFlag == 1;

  info = std::move(read);
  stored = {paletteFlag == 1, compressedFlag == 1, storedLength};
  return 0;
}

// Content size and overhead of an item to append, or kArchiveBadArguments.
int checkItem(const ArchiveItemInfo& item, std::span<const std::uint8_t> content,
              std::int64_t& contentBytes, std::int64_t& overhead) {
  switch (item.kind) {
    case kSlotEmpty:
      contentBytes = 0;
      overhead = 0;
      return 0;
    case kSlotPicture:
      if (item.width < 1 || item.height < 1 || !validBytesPerPixel(item.bytesPerPixel)) {
        return kArchiveBadArguments;
      }
      contentBytes = item.contentBytes();
      overhead = static_cast<std::int64_t>(kArchiveRecordBytes + kArchivePaletteBytes);
      break;
    case kSlotData:
      if (item.width < 0) return kArchiveBadArguments;
      contentBytes = item.width;
      overhead = static_cast<std::int64_t>(kArchiveRecordBytes);
      break;
    default:
      return kArchiveBadArguments;
  }
  if (static_cast<std::uint64_t>(contentBytes) > content.size()) return kArchiveBadArguments;
  return 0;
}

// The compressed stream in `work`, or nullopt when it does not fit (or bzip2 fails otherwise).
std::optional<std::size_t> compress(std::span<const std::uint8_t> content,
                                    std::span<std::uint8_t> work) {
  if (work.empty()) return std::nullopt;
  auto capacity = static_cast<unsigned int>(std::min<std::size_t>(work.size(), UINT_MAX));
  // bzip2 does not write through the source pointer; its interface just lacks the const.
  const int result = BZ2_bzBuffToBuffCompress(
      reinterpret_cast<char*>(work.data()), &capacity,
      const_cast<char*>(reinterpret_cast<const char*>(content.data())),
      static_cast<unsigned int>(content.size()), kArchiveBlockSize, 0, kArchiveWorkFactor);
  if (result != BZ_OK) return std::nullopt;
  return capacity;
}

// The archive opened for appending: its header checked, the count below 256 and every claimed
// byte present.
class AppendTarget {
 public:
  int open(const std::string& path) {
    // A file without any write permission is not changed, even by a user the system would let.
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0 && (status.st_mode & 0222) == 0) {
      return kArchiveCannotOpen;
    }
    fd_ = openRegular(path, O_RDWR, oldSize_);
    if (fd_ < 0) return kArchiveCannotOpen;
    if (const int status = readHeader(fd_, header_); status != 0) return status;
    if (header_.count >= kArchiveMaxItems) return kArchiveFull;
    end_ = header_.itemStart(header_.count + 1);
    if (oldSize_ < end_) return kArchiveBroken;
    return 0;
  }

  int append(const PreparedArchiveItem& item) {
    // Bytes beyond the last item the header counts are the rest of an append that was cut off
    // before its header was written: they go, so the file ends where the new item ends.
    if (oldSize_ > end_) {
      if (::ftruncate(fd_, static_cast<off_t>(end_)) != 0) return kArchiveBroken;
      oldSize_ = end_;
    }
    Header updated = header_;
    little_endian::putI32(
        updated.bytes.data() + kSizeTableOffset + 4 * static_cast<std::size_t>(header_.count),
        item.empty ? 0 : item.sizeEntry);
    little_endian::putI32(updated.bytes.data() + kCountOffset, header_.count + 1);
    if (!writeItem(item) || !writeAt(fd_, 0, updated.bytes.data(), updated.bytes.size()) ||
        ::fsync(fd_) != 0) {
      undo();
      return kArchiveBroken;
    }
    return header_.count + 1;
  }

  ~AppendTarget() {
    if (fd_ >= 0) ::close(fd_);
  }

 private:
  // The item's bytes go in and reach the disk before the header names them.
  bool writeItem(const PreparedArchiveItem& item) {
    if (item.empty) return true;
    std::int64_t position = end_;
    if (!writeAt(fd_, position, item.record.data(), item.record.size())) return false;
    position += static_cast<std::int64_t>(item.record.size());
    if (item.hasPalette) {
      if (!writeAt(fd_, position, item.palette.data(), item.palette.size())) return false;
      position += static_cast<std::int64_t>(item.palette.size());
    }
    if (!writeAt(fd_, position, item.stored.data(), item.stored.size())) return false;
    return ::fdatasync(fd_) == 0;
  }

  void undo() {
    if (::ftruncate(fd_, static_cast<off_t>(oldSize_)) == 0) {
      writeAt(fd_, 0, header_.bytes.data(), header_.bytes.size());
    }
    ::fsync(fd_);
  }

  int fd_ = -1;
  Header header_;
  std::int64_t oldSize_ = 0;
  std::int64_t end_ = 0;
};

// The work behind both forms of readArchiveItem; `buffer` is null when no content is wanted.
int readItem(const std::string& path, int number, ArchiveItemRead& out,
             std::span<std::uint8_t>* buffer, std::span<std::uint8_t> work) {
  if (number < 0 || number > kArchiveMaxItems) return kArchiveBadArguments;
  std::int64_t fileSize = 0;
  const Descriptor fd(openRegular(path, O_RDONLY, fileSize));
  if (!fd.isOpen()) return kArchiveCannotOpen;
  Header header;
  if (const int status = readHeader(fd.get(), header); status != 0) return status;
  out.count = header.count;
  out.info = ArchiveItemInfo{};
  if (number == 0) return 0;
  if (number > header.count) return kArchiveNoSuchItem;
  const std::int32_t entry = header.entry(number - 1);
  if (entry == 0) return 0;

  std::int64_t position = header.itemStart(number);
  std::array<std::uint8_t, kArchiveRecordBytes> record{};
  if (!readAt(fd.get(), position, record.data(), record.size())) return kArchiveBroken;
  position += static_cast<std::int64_t>(record.size());
  StoredPart stored;
  if (const int status = decodeRecord(record.data(), entry, out.info, stored); status != 0) {
    return status;
  }
  if (out.info.kind == kSlotEmpty) return 0;
  const std::int64_t content = out.info.contentBytes();
  if (buffer != nullptr && static_cast<std::uint64_t>(content) > buffer->size()) {
    return kArchiveTooLarge;
  }
  if (stored.hasPalette) {
    if (!readAt(fd.get(), position, out.info.palette.data(), out.info.palette.size())) {
      return kArchiveBroken;
    }
    position += static_cast<std::int64_t>(kArchivePaletteBytes);
  }
  if (buffer == nullptr || stored.length == 0) return 0;

  const auto length = static_cast<std::size_t>(stored.length);
  if (!stored.compressed)
    return readAt(fd.get(), position, buffer->data(), length) ? 0 : kArchiveBroken;
  if (length > work.size()) return kArchiveBroken;
  if (!readAt(fd.get(), position, work.data(), length)) return kArchiveBroken;
  if (static_cast<std::uint64_t>(content) > UINT_MAX) return kArchiveDecompressFailed;
  // The output is limited to the content size, so a stream that would yield more (a "bomb")
  // fails without more memory than the caller's buffer.
  auto produced = static_cast<unsigned int>(content);
  char none = 0;
  char* destination = content > 0 ? reinterpret_cast<char*>(buffer->data()) : &none;
  const int result =
      BZ2_bzBuffToBuffDecompress(destination, &produced, reinterpret_cast<char*>(work.data()),
                                 static_cast<unsigned int>(length), 0, 0);
  if (result != BZ_OK || produced != content) return kArchiveDecompressFailed;
  return 0;
}

}  // namespace

std::int64_t ArchiveItemInfo::contentBytes() const {
  switch (kind) {
    case kSlotPicture: {
      if (width < 0 || height < 0 || bytesPerPixel < 0) return -1;
      // Two 31-bit sizes fit 62 bits; a third factor could overflow, so the result saturates.
      const std::int64_t pixels = static_cast<std::int64_t>(width) * height;
      if (bytesPerPixel > 0 && pixels > std::numeric_limits<std::int64_t>::max() / bytesPerPixel) {
        return std::numeric_limits<std::int64_t>::max();
      }
      return pixels * bytesPerPixel;
    }
    case kSlotData:
      return width < 0 ? -1 : width;
    default:
      return 0;
  }
}

std::array<std::uint8_t, kArchiveHeaderBytes> emptyArchiveHeader() {
  std::array<std::uint8_t, kArchiveHeaderBytes> header{};
  header[0] = 'V';
  header[1] = 'L';
  header[2] = '0';
  header[3] = '0';
  return header;
}

int createArchive(const std::string& path) {
  return writeFileAtomically(path, emptyArchiveHeader()) ? 0 : kArchiveCannotOpen;
}

int prepareArchiveItem(const ArchiveItemInfo& item, std::span<const std::uint8_t> content,
                       std::span<std::uint8_t> work, PreparedArchiveItem& prepared) {
  std::int64_t contentBytes = 0, overhead = 0;
  if (const int status = checkItem(item, content, contentBytes, overhead); status != 0) {
    return status;
  }
  prepared = PreparedArchiveItem{};
  if (item.kind == kSlotEmpty) return 0;
  if (contentBytes + overhead > kLargestEntry) return kArchiveTooLarge;

  const std::span<const std::uint8_t> source =
      content.first(static_cast<std::size_t>(contentBytes));
  if (contentBytes == 0) {
    prepared.compressed = true;  // a data item of 0 bytes: no stream, flagged compressed
  } else if (const auto length = compress(source, work)) {
    prepared.stored = std::span<const std::uint8_t>(work.data(), *length);
    prepared.compressed = true;
  } else {
    prepared.stored = source;
  }
  prepared.empty = false;
  prepared.hasPalette = item.kind == kSlotPicture;
  prepared.palette = item.hasPalette ? item.palette : greyRamp();

  std::uint8_t* record = prepared.record.data();
  little_endian::putI32(record, item.kind);
  little_endian::putI32(record + 4, item.width);
  little_endian::putI32(record + 8, item.kind == kSlotPicture ? item.height : 1);
  little_endian::putI32(record + 12, item.kind == kSlotPicture ? item.bytesPerPixel : 1);
  FieldWriter titleWriter({record + kTitleOffset, kArchiveTitleBytes});
  titleWriter.text(item.title, kArchiveTitleBytes);
  little_endian::putU16(record + kPaletteFlagOffset, prepared.hasPalette ? 1u : 0u);
  little_endian::putU16(record + kCompressedFlagOffset, prepared.compressed ? 1u : 0u);
  const std::int32_t paletteSize =
      prepared.hasPalette ? static_cast<std::int32_t>(kArchivePaletteBytes) : 0;
  little_endian::putI32(record + kPaletteSizeOffset, paletteSize);
  little_endian::putI32(record + kStoredLengthOffset,
                        static_cast<std::int32_t>(prepared.stored.size()));
  prepared.sizeEntry = static_cast<std::int32_t>(kArchiveRecordBytes) + paletteSize +
                       static_cast<std::int32_t>(prepared.stored.size());
  return 0;
}

int appendPreparedArchiveItem(const std::string& path, const PreparedArchiveItem& prepared) {
  AppendTarget target;
  if (const int status = target.open(path); status != 0) return status;
  return target.append(prepared);
}

int appendArchiveItem(const std::string& path, const ArchiveItemInfo& item,
                      std::span<const std::uint8_t> content, std::span<std::uint8_t> work) {
  std::int64_t contentBytes = 0, overhead = 0;
  if (const int status = checkItem(item, content, contentBytes, overhead); status != 0) {
    return status;
  }
  AppendTarget target;
  if (const int status = target.open(path); status != 0) return status;
  PreparedArchiveItem prepared;
  if (const int status = prepareArchiveItem(item, content, work, prepared); status != 0) {
    return status;
  }
  return target.append(prepared);
}

int readArchiveItem(const std::string& path, int number, ArchiveItemRead& out) {
  return readItem(path, number, out, nullptr, {});
}

int readArchiveItem(const std::string& path, int number, ArchiveItemRead& out,
                    std::span<std::uint8_t> buffer, std::span<std::uint8_t> work) {
  return readItem(path, number, out, &buffer, work);
}

int readArchiveDirectory(const std::string& path, std::vector<ArchiveItemInfo>& items,
                         int maxItems) {
  items.clear();
  std::int64_t fileSize = 0;
  const Descriptor fd(openRegular(path, O_RDONLY, fileSize));
  if (!fd.isOpen()) return kArchiveCannotOpen;
  Header header;
  if (const int status = readHeader(fd.get(), header); status != 0) return status;
  const int listed = std::clamp(maxItems, 0, header.count);
  std::vector<ArchiveItemInfo> read(static_cast<std::size_t>(listed));
  std::int64_t position = static_cast<std::int64_t>(kArchiveHeaderBytes);
  for (int index = 0; index < listed; ++index) {
    const std::int32_t entry = header.entry(index);
    if (entry == 0) continue;
    if (position + entry > fileSize) return kArchiveBroken;
    std::array<std::uint8_t, kArchiveRecordBytes> record{};
    if (!readAt(fd.get(), position, record.data(), record.size())) return kArchiveBroken;
    StoredPart stored;
    if (const int status = decodeRecord(record.data(), entry, read[index], stored); status != 0) {
      return status;
    }
    if (read[index].kind != kSlotEmpty && stored.hasPalette &&
        !readAt(fd.get(), position + static_cast<std::int64_t>(kArchiveRecordBytes),
                read[index].palette.data(), read[index].palette.size())) {
      return kArchiveBroken;
    }
    position += entry;
  }
  items = std::move(read);
  return header.count;
}

}  // namespace vemla
