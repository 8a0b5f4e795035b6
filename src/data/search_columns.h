// SearchColumns: what the searches read in place of the records, derived from factory.dat and
// kept beside it as "factory.search" (layout in docs/formats.md): the head's numbers and
// dictionary codes one column per field, the names upper-cased in one block, and for every
// item the records that list it. A scan over a column touches a few megabytes where the
// records are hundreds. Every value is what a RecordView of the record reads, an unreadable
// record's included, so an answer from the columns is the answer from the rows.
//
// The bytes come from a mapped file, which another program may have written: every read through
// the accessors stays inside them whatever the starts and record numbers in them say (a record
// number may still lie outside the base; users check it).
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "data/byte_source.h"
#include "data/field_table.h"

namespace zorel {

// The columns are read in place as arrays of the host's integers.
static_assert(std::endian::native == std::endian::little);

// What the file was derived from; a file stamped otherwise is stale, and so is one older than
// factory.dat (the index files' rule, which survives copies that keep the files' times).
struct SearchStamp {
  std::uint64_t dataSize = 0;     // factory.dat's size
  std::uint64_t offsetsHash = 0;  // a hash of the factory index's offsets
  std::int32_t records = 0;
  std::int32_t items = 0;  // item.dat entries: items below this have posting lists
};

inline constexpr std::string_view kSearchMagic = "ZRSRCH01";
inline constexpr std::size_t kSearchHeaderSize = 64;

// True for the fields kept as a column: the head's numbers and dictionary codes.
constexpr bool HasColumn(int field) {
  return FieldOf(field).storage == FieldStorage::Number ||
         FieldOf(field).storage == FieldStorage::Dictionary;
}

class SearchColumns {
 public:
  // Null when the bytes are no search file, one made for another stamp or one whose size does
  // not fit its counts. Reads the header only.
  static std::unique_ptr<SearchColumns> Over(ByteSource bytes, const SearchStamp& stamp);

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
  // Where the record's name starts in the block, never past its end.
  std::uint32_t NameStart(std::int32_t record) const {
    return std::min(LoadStart(at_.nameStarts, static_cast<std::size_t>(record)), nameBytes_);
  }

  // Posting lists of items 0 .. Items() - 1: the records, ascending, and the kind of each
  // entry (a record listing an item twice appears twice). Gives the positions of the item's
  // entries in PostingRecords() and PostingKinds().
  std::pair<std::uint32_t, std::uint32_t> PostingsOf(std::int32_t item) const {
    const std::uint32_t end =
        std::min(LoadStart(at_.itemStarts, static_cast<std::size_t>(item) + 1), postings_);
    return {std::min(LoadStart(at_.itemStarts, static_cast<std::size_t>(item)), end), end};
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
                otherItems = 0, otherRecords = 0, otherKinds = 0, size = 0;
  };
  static Layout LayoutFor(std::int32_t records, std::int32_t items, std::uint32_t nameBytes,
                          std::uint32_t postings, std::uint32_t others);

 private:
  SearchColumns(ByteSource bytes, const SearchStamp& stamp)
      : bytes_(std::move(bytes)), stamp_(stamp) {}
  std::uint32_t LoadStart(std::size_t at, std::size_t i) const {
    return reinterpret_cast<const std::uint32_t*>(bytes_.data() + at)[i];
  }
  const std::int32_t* Int32At(std::size_t at) const {
    return reinterpret_cast<const std::int32_t*>(bytes_.data() + at);
  }

  ByteSource bytes_;
  SearchStamp stamp_;
  std::int32_t unserved_ = 0;
  std::uint32_t nameBytes_ = 0, postings_ = 0, others_ = 0;
  Layout at_;
};

}  // namespace zorel
