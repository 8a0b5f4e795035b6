// Read-only bytes of one data file: the file mapped into memory, or bytes held by the object
// (for tests and fuzzing). The bytes stay valid and unchanged for the object's lifetime.
// Held bytes sit in a block of exactly their size, and builds with AddressSanitizer read files
// into such a block instead of mapping them, so that any read past a file's last byte is
// reported rather than served from the rest of a mapped page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace zorel {

class ByteSource {
 public:
  ByteSource() = default;
  ByteSource(ByteSource&&) noexcept;
  ByteSource& operator=(ByteSource&&) noexcept;
  ByteSource(const ByteSource&) = delete;
  ByteSource& operator=(const ByteSource&) = delete;
  ~ByteSource();

  // Empty optional when the file cannot be opened for reading. `populate` maps every page at
  // once, for a file that is read whole straight away (one call instead of a fault per page).
  static std::optional<ByteSource> MapFile(const std::string& path, bool populate = false);
  static ByteSource FromBytes(std::string bytes);

  const std::uint8_t* data() const { return data_; }
  // Gives the pages of a mapped file read so far back to the system; the bytes stay the same
  // and are read in again when next used. A pass over a whole large file calls it now and then
  // so that the process does not grow by the file's size. Held bytes stay as they are.
  void ReleaseResident() const;
  std::size_t size() const { return size_; }

 private:
  const std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
  void* map_ = nullptr;  // non-null when data_ is a mapping to release
  std::unique_ptr<std::uint8_t[]> owned_;
};

}  // namespace zorel
