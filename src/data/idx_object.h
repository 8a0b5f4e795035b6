// TIdxObject: numbered read-only access to the variable-length entries of factory.dat (the
// enterprise records) or item.dat (the item names), through a companion offset index
// (".idx": a headerless array of signed 32-bit little-endian offsets), built when missing.
//
// Get(position) gives a pointer to the entry's first byte, or null when the entry cannot be
// served whole: every byte of it (the length word and all it counts) lies inside the data
// file, and it is no longer than kMaxEntry. The pointer stays valid for the object's lifetime
// (the data file is mapped), which is more than callers may rely on: the contract is "until
// the next Get on the same object".
#pragma once

#include <bit>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "data/byte_source.h"
#include "data/bytes.h"

namespace zorel {

// Index files are read in place as arrays of the host's integers.
static_assert(std::endian::native == std::endian::little);

// Where an entry's 16-bit length word sits and what the word counts.
struct EntryGeometry {
  int skip;   // offset of the length word inside the entry
  int extra;  // bytes of the entry the length word counts besides the text after the word
  // Total bytes of an entry whose length word holds `word`.
  std::int64_t EntrySize(std::uint16_t word) const {
    return skip + 2 + static_cast<std::int64_t>(word) - skip - extra;
  }
};

inline constexpr EntryGeometry kFactoryGeometry{20, 2};
inline constexpr EntryGeometry kItemGeometry{0, 0};
// An entry must fit the read buffer of the format: longer ones are never served.
inline constexpr std::int64_t kMaxEntry = 32768;
// A factory record shorter than its length word's end makes an index scan stand still.
inline constexpr std::uint16_t kMinRecordLength = 22;

// Whether the offsets of an existing index file are known to belong to the data file as it stands.
using OffsetsCheck = std::function<bool(std::span<const std::int32_t>)>;

class TIdxObject {
 public:
  // Opens dataName and takes the offsets of its index file (dataName with extension ".idx") when
  // `current` vouches for them; otherwise (a missing, stale or foreign file) scans the data file,
  // and SaveIndex may save what the scan found. The geometry is chosen by the index name: "item" in
  // it selects item.dat's, anything else factory.dat's. Throws DataError "Не могу открыть файл " +
  // dataName, with the system's reason on a second line, when the data file cannot be opened.
  TIdxObject(const std::string& dataName, std::int32_t extra, std::int32_t dataStart,
             const OffsetsCheck& current);
  // Over bytes in memory with a given offset table (tests, fuzzing).
  TIdxObject(ByteSource data, std::vector<std::int32_t> offsets, EntryGeometry geometry);
  TIdxObject(const TIdxObject&) = delete;  // the offsets may point into the object itself
  TIdxObject& operator=(const TIdxObject&) = delete;

  std::int32_t Count() const { return static_cast<std::int32_t>(offsets_.size()); }
  // Inline: every scan calls it once per record.
  const std::uint8_t* Get(std::int32_t position) const {
    if (position < 0 || position >= Count()) return nullptr;
    const std::int64_t offset = offsets_[static_cast<std::size_t>(position)];
    const auto size = static_cast<std::int64_t>(data_.size());
    if (offset < 0 || offset + geometry_.skip + 2 > size) return nullptr;
    const std::uint8_t* entry = data_.data() + offset;
    const std::uint16_t word = LoadU16(entry + geometry_.skip);
    if (geometry_.skip > 0 && word < kMinRecordLength) return nullptr;
    const std::int64_t entrySize = geometry_.EntrySize(word);
    if (entrySize > kMaxEntry || offset + entrySize > size) return nullptr;
    return entry;
  }

  std::span<const std::int32_t> Offsets() const { return offsets_; }
  // Whether the offsets come from a scan rather than the index file.
  bool Rebuilt() const { return indexBytes_.data() == nullptr && !indexName_.empty(); }
  // Saves the offsets a scan found in place of whatever stands at the index file's name (a link
  // is replaced, never followed); a folder that cannot take it leaves them in memory (logged).
  void SaveIndex() const;
  const ByteSource& Data() const { return data_; }

  // The offsets an index scan of `data` finds, from dataStart on. The scan stops at an entry
  // whose length word is not wholly inside the data or (for factory.dat) below
  // kMinRecordLength; such an entry is not listed.
  static std::vector<std::int32_t> ScanOffsets(const std::uint8_t* data, std::size_t size,
                                               std::int64_t dataStart, EntryGeometry geometry);
  static std::string IndexNameFor(const std::string& dataName);

 private:
  ByteSource data_;
  // The offsets are read in place from the mapped index file when it is vouched for, else from
  // the ones a scan found.
  ByteSource indexBytes_;
  std::vector<std::int32_t> scanned_;
  std::span<const std::int32_t> offsets_;
  EntryGeometry geometry_;
  std::string indexName_;
};

}  // namespace zorel
