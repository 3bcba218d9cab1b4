#pragma once
// Sequential byte input for the readers of outside files: a file on disk or a block of memory
// (the fuzzers and tests feed memory). Readers never seek; they take bytes in order.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

namespace vemla {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Reads up to `count` bytes; returns how many were read (fewer only at the end or on error).
  virtual std::size_t read(void* destination, std::size_t count) = 0;
  // Total size in bytes when known, else -1.
  virtual std::int64_t size() const = 0;
};

class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::size_t read(void* destination, std::size_t count) override;
  std::int64_t size() const override { return static_cast<std::int64_t>(bytes_.size()); }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

// A regular file opened read-only (never created); anything else (a FIFO, a device, a folder)
// stays unopened instead of blocking the reader or feeding it without end.
class FileSource final : public ByteSource {
 public:
  explicit FileSource(const std::string& path);
  ~FileSource() override;
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;
  bool isOpen() const { return file_ != nullptr; }
  std::size_t read(void* destination, std::size_t count) override;
  std::int64_t size() const override { return size_; }

 private:
  std::FILE* file_ = nullptr;
  std::int64_t size_ = -1;
};

}  // namespace vemla
