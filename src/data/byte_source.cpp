#include "data/byte_source.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "data/file_system.h"
#include "data/file_util.h"

#if defined(__SANITIZE_ADDRESS__)
#define ZOREL_HELD_FILE_BYTES 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZOREL_HELD_FILE_BYTES 1
#endif
#endif

namespace zorel {

ByteSource::ByteSource(ByteSource&& other) noexcept { *this = std::move(other); }

ByteSource& ByteSource::operator=(ByteSource&& other) noexcept {
  if (this != &other) {
    if (map_ != nullptr) munmap(map_, size_);
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    map_ = std::exchange(other.map_, nullptr);
    owned_ = std::move(other.owned_);
  }
  return *this;
}

ByteSource::~ByteSource() {
  if (map_ != nullptr) munmap(map_, size_);
}

void ByteSource::ReleaseResident() const {
  if (map_ != nullptr) madvise(map_, size_, MADV_DONTNEED);
}

std::optional<ByteSource> ByteSource::MapFile(const std::string& path, bool populate) {
#if defined(ZOREL_HELD_FILE_BYTES)
  (void)populate;
  auto bytes = ReadWholeFile(path);
  if (!bytes) return std::nullopt;
  return FromBytes(std::move(*bytes));
#else
  FileSystem& files = Files();
  const int fd = files.Open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  const bool stated = files.Stat(fd, &st) == 0;
  if (!stated || !S_ISREG(st.st_mode)) {
    const int error = !stated ? errno : S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    files.Close(fd);
    errno = error;
    return std::nullopt;
  }
  ByteSource src;
  if (st.st_size > 0) {
    const int flags = MAP_PRIVATE | (populate ? MAP_POPULATE : 0);
    void* map = mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ, flags, fd, 0);
    if (map == MAP_FAILED) {
      const int error = errno;
      files.Close(fd);
      errno = error;
      return std::nullopt;
    }
    // Scans walk the file front to back.
    madvise(map, static_cast<std::size_t>(st.st_size), MADV_SEQUENTIAL);
    src.map_ = map;
    src.data_ = static_cast<const std::uint8_t*>(map);
    src.size_ = static_cast<std::size_t>(st.st_size);
  }
  files.Close(fd);
  return src;
#endif
}

ByteSource ByteSource::FromBytes(std::string bytes) {
  ByteSource src;
  if (bytes.empty()) return src;
  src.owned_ = std::make_unique_for_overwrite<std::uint8_t[]>(bytes.size());
  std::memcpy(src.owned_.get(), bytes.data(), bytes.size());
  src.data_ = src.owned_.get();
  src.size_ = bytes.size();
  return src;
}

}  // namespace zorel
