#include "data/byte_source.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

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

std::optional<ByteSource> ByteSource::MapFile(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return std::nullopt;
  }
  ByteSource src;
  if (st.st_size > 0) {
    void* map = mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    if (map == MAP_FAILED) {
      close(fd);
      return std::nullopt;
    }
    // Scans walk the file front to back.
    madvise(map, static_cast<std::size_t>(st.st_size), MADV_SEQUENTIAL);
    src.map_ = map;
    src.data_ = static_cast<const std::uint8_t*>(map);
    src.size_ = static_cast<std::size_t>(st.st_size);
  }
  close(fd);
  return src;
}

ByteSource ByteSource::FromBytes(std::string bytes) {
  ByteSource src;
  src.owned_ = std::make_unique<std::string>(std::move(bytes));
  src.data_ = reinterpret_cast<const std::uint8_t*>(src.owned_->data());
  src.size_ = src.owned_->size();
  return src;
}

}  // namespace zorel
