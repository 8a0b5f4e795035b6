// SearchColumns: what the searches read in place of the records, derived from factory.dat and
// kept beside it as "factory.search" (layout in docs/formats.md): the head's numbers and
// dictionary codes one column per field, the names upper-cased in one block, and for every
// item the records that list it. A scan over a column touches a few megabytes where the
// records are hundreds. Every value is what a RecordView of the record reads, an unreadable
// record's included, so an answer from the columns is the answer from the rows.
//
// The bytes come from a mapped file, which another program may have written: it is taken only
// when its checksum fits its bytes and its starts rise within their blocks, so every read through
// the accessors stays inside them (a record number may still lie outside the base, or a posting
// list out of order in a forged file; users check the one and stay bounded by the other).
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "data/byte_source.h"
#include "data/field_table.h"
#include "data/source_stamp.h"

namespace zorel {

// The columns are read in place as arrays of the host's integers.
static_assert(std::endian::native == std::endian::little);

// What the file was derived from: the data files as they stood, the offsets of both index files
// as they were then (the search file vouches for them) and the counts.
struct SearchStamp {
  SourceStamp sources;
  std::uint64_t factoryOffsets = 0;  // HashOffsets of factory.idx
  std::uint64_t itemOffsets = 0;     // HashOffsets of item.idx
  std::int32_t records = 0;
  std::int32_t items = 0;  // item.dat entries: items below this have posting lists
};

inline constexpr std::string_view kSearchMagic = "ZRSRCH02";
inline constexpr std::size_t kSearchHeaderSize = 128;
inline constexpr std::size_t kSearchTrailerSize = 8;  // the checksum of all bytes before it

// A 64-bit hash of an index file's offsets (docs/formats.md), quick enough for every opening.
std::uint64_t HashOffsets(std::span<const std::int32_t> offsets);

// True for the fields kept as a column: the head's numbers and dictionary codes.
constexpr bool HasColumn(int field) {
  return FieldOf(field).storage == FieldStorage::Number ||
         FieldOf(field).storage == FieldStorage::Dictionary;
}

class SearchColumns {
 public:
  // Null when the bytes are no search file, one made from other data files, or one that is
  // damaged: a size that does not fit its counts, a checksum that does not fit its bytes, name or
  // item starts that do not rise within their blocks.
  static std::unique_ptr<SearchColumns> Over(ByteSource bytes, const SourceStamp& sources);

  const SearchStamp& Stamp() const { return stamp_; }
  std::int32_t Records() const { return stamp_.records; }
  std::int32_t Items() const { return stamp_.items; }
  std::int32_t Unserved() const { return unserved_; }

  // The column of a field with HasColumn: Records() values of FieldOf(field).size bytes each.
  const std::uint8_t* Column(int field) const { return bytes_.data() + at_.column[field]; }

  // The name as the case-insensitive contains-test sees it: at most kContainsWindow bytes, cut
  // at the first zero byte, upper-cased. Names lie in record order, each followed by a zero.
  std::string_view Names(std::int32_t from, std::int32_t to) const {
    const std::uint32_t b = NameStart(to);
    const std::uint32_t a = std::min(NameStart(from), b);
    return {reinterpret_cast<const char*>(bytes_.data() + at_.names + a), b - a};
  }
  // Where the record's name starts in the block (record 0 .. Records()).
  std::uint32_t NameStart(std::int32_t record) const {
    return LoadStart(at_.nameStarts, static_cast<std::size_t>(record));
  }

  // Posting lists of items 0 .. Items() - 1: the records, ascending, and the kind of each
  // entry (a record listing an item twice appears twice). Gives the positions of the item's
  // entries in PostingRecords() and PostingKinds().
  std::pair<std::uint32_t, std::uint32_t> PostingsOf(std::int32_t item) const {
    const auto i = static_cast<std::size_t>(item);
    return {LoadStart(at_.itemStarts, i), LoadStart(at_.itemStarts, i + 1)};
  }
  const std::int32_t* PostingRecords() const { return Int32At(at_.postRecords); }
  const std::uint8_t* PostingKinds() const { return bytes_.data() + at_.postKinds; }
  // The entries naming no item of item.dat, as stored: 1-based item, record, kind.
  std::uint32_t OtherCount() const { return others_; }
  const std::uint32_t* OtherItems() const {
    return reinterpret_cast<const std::uint32_t*>(bytes_.data() + at_.otherItems);
  }
  const std::int32_t* OtherRecords() const { return Int32At(at_.otherRecords); }
  const std::uint8_t* OtherKinds() const { return bytes_.data() + at_.otherKinds; }

  // The image of the header, for the builder.
  static std::string Header(const SearchStamp& stamp, std::int32_t unserved,
                            std::uint32_t nameBytes, std::uint32_t postings, std::uint32_t others);
  // Where each part starts and how long the whole is, for those counts.
  struct Layout {
    std::size_t column[kFieldCount] = {};
    std::size_t nameStarts = 0, names = 0, itemStarts = 0, postRecords = 0, postKinds = 0,
                otherItems = 0, otherRecords = 0, otherKinds = 0, trailer = 0, size = 0;
  };
  static Layout LayoutFor(std::int32_t records, std::int32_t items, std::uint32_t nameBytes,
                          std::uint32_t postings, std::uint32_t others);

 private:
  SearchColumns(ByteSource bytes, const SearchStamp& stamp)
      : bytes_(std::move(bytes)), stamp_(stamp) {}
  bool SoundStructure() const;
  std::uint32_t LoadStart(std::size_t at, std::size_t i) const {
    return reinterpret_cast<const std::uint32_t*>(bytes_.data() + at)[i];
  }
  const std::int32_t* Int32At(std::size_t at) const {
    return reinterpret_cast<const std::int32_t*>(bytes_.data() + at);
  }

  ByteSource bytes_;
  SearchStamp stamp_;
  std::int32_t unserved_ = 0;
  std::uint32_t others_ = 0;
  Layout at_;
};

}  // namespace zorel
