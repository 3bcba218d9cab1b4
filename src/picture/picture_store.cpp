#include "picture/picture_store.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <limits>

#include "text/format.h"
#include "text/translate.h"

namespace vemla {

std::uint8_t* PictureStore::defaultAllocate(std::size_t bytes) {
  if (bytes == 0 || bytes > std::numeric_limits<std::size_t>::max() - kBlockAlignment) {
    return nullptr;
  }
  // Reserved with room to spare, then trimmed to `bytes` from the first 2 MiB boundary. The
  // pages are not touched here: they arrive zero-filled on first use.
  void* reserved = ::mmap(nullptr, bytes + kBlockAlignment, PROT_READ | PROT_WRITE,
                          MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (reserved == MAP_FAILED) return nullptr;
  auto* start = static_cast<std::uint8_t*>(reserved);
  const std::size_t head =
      (kBlockAlignment - reinterpret_cast<std::uintptr_t>(start) % kBlockAlignment) %
      kBlockAlignment;
  if (head > 0) ::munmap(start, head);
  std::uint8_t* block = start + head;
  const std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  const std::size_t kept = (bytes + page - 1) / page * page;
  if (kBlockAlignment - head > kept - bytes) {
    ::munmap(block + kept, kBlockAlignment - head - (kept - bytes));
  }
  // A hint: where transparent huge pages are given only on request, this is the request.
  ::madvise(block, bytes, MADV_HUGEPAGE);
  return block;
}

void PictureStore::Free::operator()(std::uint8_t* p) const {
  ::munmap(p, bytes);
}

void PictureStore::clear(int first, int count) {
  std::uint8_t* begin = plane(first);
  const std::size_t bytes = static_cast<std::size_t>(count) * planeBytes_;
  const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
  const std::uintptr_t from = (reinterpret_cast<std::uintptr_t>(begin) + page - 1) / page * page;
  const std::uintptr_t to = (reinterpret_cast<std::uintptr_t>(begin) + bytes) / page * page;
  // Private anonymous pages dropped with MADV_DONTNEED read as zero when next touched.
  if (to > from && ::madvise(reinterpret_cast<void*>(from), to - from, MADV_DONTNEED) == 0) {
    std::memset(begin, 0, from - reinterpret_cast<std::uintptr_t>(begin));
    std::memset(reinterpret_cast<std::uint8_t*>(to), 0,
                reinterpret_cast<std::uintptr_t>(begin) + bytes - to);
    return;
  }
  std::memset(begin, 0, bytes);
}

bool PictureStore::allocate(int maxWidth, int maxHeight, const Allocator& allocator) {
  if (maxWidth <= 0 || maxHeight <= 0) return false;
  const std::size_t planeBytes =
      static_cast<std::size_t>(maxWidth) * static_cast<std::size_t>(maxHeight);
  const std::size_t blockBytes = planeBytes * kPlaneCount + kCacheLine - 1;
  std::uint8_t* block = allocator(blockBytes);
  if (block == nullptr) return false;
  block_ = std::unique_ptr<std::uint8_t, Free>(block, Free{blockBytes});
  base_ = onCacheLine(block);
  maxWidth_ = maxWidth;
  maxHeight_ = maxHeight;
  planeBytes_ = planeBytes;
  for (int index = 0; index < kPlaneCount; ++index) home_[at(index)] = shown_[at(index)] = index;
  return true;
}

bool allocatePictureStore(PictureStore& store, int maxWidth, int maxHeight, UserPort& user,
                          const PictureStore::Allocator& allocator) {
  constexpr int kFallback = 1024;
  if (store.allocate(maxWidth, maxHeight, allocator)) return true;
  if ((maxWidth > kFallback || maxHeight > kFallback) &&
      store.allocate(kFallback, kFallback, allocator)) {
    user.tell(
        Icon::Warning,
        text::format(text::tr("資源(ﾒﾓﾘ)が不足しているため最大画像\nｻｲｽﾞを %d x %d へ変更しました"),
                     kFallback, kFallback));
    return true;
  }
  user.tell(Icon::Warning, text::tr("資源(ﾒﾓﾘ)が不足しています"));
  return false;
}

}  // namespace vemla
