#include "data/search_columns.h"

#include <cstring>

#include "data/bytes.h"
#include "data/checksum.h"

namespace zorel {
namespace {

// Header fields after the magic.
constexpr std::size_t kFactoryStampAt = 8;
constexpr std::size_t kItemStampAt = 48;
constexpr std::size_t kFactoryOffsetsAt = 88;
constexpr std::size_t kItemOffsetsAt = 96;
constexpr std::size_t kRecordsAt = 104;
constexpr std::size_t kItemsAt = 108;
constexpr std::size_t kUnservedAt = 112;
constexpr std::size_t kNameBytesAt = 116;
constexpr std::size_t kPostingsAt = 120;
constexpr std::size_t kOthersAt = 124;

// Every part starts on an 8-byte boundary.
std::size_t Part(std::size_t& at, std::size_t bytes) {
  const std::size_t start = at;
  at = (at + bytes + 7) & ~std::size_t{7};
  return start;
}

void StoreStamp(std::uint8_t* p, const FileStamp& s) {
  StoreU64(p, s.device);
  StoreU64(p + 8, s.inode);
  StoreU64(p + 16, s.size);
  StoreU64(p + 24, static_cast<std::uint64_t>(s.modified));
  StoreU64(p + 32, static_cast<std::uint64_t>(s.changed));
}

FileStamp LoadStamp(const std::uint8_t* p) {
  return FileStamp{LoadU64(p), LoadU64(p + 8), LoadU64(p + 16),
                   static_cast<std::int64_t>(LoadU64(p + 24)),
                   static_cast<std::int64_t>(LoadU64(p + 32))};
}

// Whether count + 1 starts from `at` begin at 0, never fall and end at `last`. Looked at in
// blocks without a branch inside, so the loop runs as vector code.
bool StartsRise(const std::uint8_t* at, std::size_t count, std::uint32_t last) {
  const auto* starts = reinterpret_cast<const std::uint32_t*>(at);
  if (starts[0] != 0 || starts[count] != last) return false;
  constexpr std::size_t kBlock = 4096;
  for (std::size_t from = 1; from <= count; from += kBlock) {
    bool falls = false;
    for (std::size_t i = from; i < std::min(count + 1, from + kBlock); ++i) {
      falls |= starts[i] < starts[i - 1];
    }
    if (falls) return false;
  }
  return true;
}

}  // namespace

std::uint64_t HashOffsets(std::span<const std::int32_t> offsets) {
  std::uint64_t lanes[4] = {1, 2, 3, 4};
  const std::size_t n = offsets.size();
  std::size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    for (std::size_t k = 0; k < 4; ++k) {
      lanes[k] = (lanes[k] ^ static_cast<std::uint32_t>(offsets[i + k])) * 0x9E3779B97F4A7C15ull;
    }
  }
  for (; i < n; ++i)
    lanes[0] = (lanes[0] ^ static_cast<std::uint32_t>(offsets[i])) * 0x9E3779B97F4A7C15ull;
  std::uint64_t h = n;
  for (const std::uint64_t lane : lanes) h = (h ^ lane ^ (lane >> 29)) * 0xBF58476D1CE4E5B9ull;
  return h;
}

SearchColumns::Layout SearchColumns::LayoutFor(std::int32_t records, std::int32_t items,
                                               std::uint32_t nameBytes, std::uint32_t postings,
                                               std::uint32_t others) {
  const auto n = static_cast<std::size_t>(records);
  const auto m = static_cast<std::size_t>(items);
  Layout l;
  std::size_t at = kSearchHeaderSize;
  for (int field = 0; field < kFieldCount; ++field) {
    if (HasColumn(field))
      l.column[field] = Part(at, n * static_cast<std::size_t>(FieldOf(field).size));
  }
  l.nameStarts = Part(at, (n + 1) * 4);
  l.names = Part(at, nameBytes);
  l.itemStarts = Part(at, (m + 1) * 4);
  l.postRecords = Part(at, std::size_t{postings} * 4);
  l.postKinds = Part(at, postings);
  l.otherItems = Part(at, std::size_t{others} * 4);
  l.otherRecords = Part(at, std::size_t{others} * 4);
  l.otherKinds = Part(at, others);
  l.trailer = Part(at, kSearchTrailerSize);
  l.size = at;
  return l;
}

std::string SearchColumns::Header(const SearchStamp& stamp, std::int32_t unserved,
                                  std::uint32_t nameBytes, std::uint32_t postings,
                                  std::uint32_t others) {
  std::string header(kSearchHeaderSize, '\0');
  auto* p = reinterpret_cast<std::uint8_t*>(header.data());
  std::memcpy(p, kSearchMagic.data(), kSearchMagic.size());
  StoreStamp(p + kFactoryStampAt, stamp.sources.factory);
  StoreStamp(p + kItemStampAt, stamp.sources.items);
  StoreU64(p + kFactoryOffsetsAt, stamp.factoryOffsets);
  StoreU64(p + kItemOffsetsAt, stamp.itemOffsets);
  StoreU32(p + kRecordsAt, static_cast<std::uint32_t>(stamp.records));
  StoreU32(p + kItemsAt, static_cast<std::uint32_t>(stamp.items));
  StoreU32(p + kUnservedAt, static_cast<std::uint32_t>(unserved));
  StoreU32(p + kNameBytesAt, nameBytes);
  StoreU32(p + kPostingsAt, postings);
  StoreU32(p + kOthersAt, others);
  return header;
}

std::unique_ptr<SearchColumns> SearchColumns::Over(ByteSource bytes, const SourceStamp& sources) {
  const std::uint8_t* p = bytes.data();
  if (bytes.size() < kSearchHeaderSize + kSearchTrailerSize ||
      std::memcmp(p, kSearchMagic.data(), kSearchMagic.size()) != 0) {
    return nullptr;
  }
  SearchStamp stamp;
  stamp.sources = {LoadStamp(p + kFactoryStampAt), LoadStamp(p + kItemStampAt)};
  stamp.factoryOffsets = LoadU64(p + kFactoryOffsetsAt);
  stamp.itemOffsets = LoadU64(p + kItemOffsetsAt);
  stamp.records = LoadI32(p + kRecordsAt);
  stamp.items = LoadI32(p + kItemsAt);
  if (stamp.sources != sources || stamp.records < 0 || stamp.items < 0) return nullptr;
  const std::int32_t unserved = LoadI32(p + kUnservedAt);
  const std::uint32_t nameBytes = LoadU32(p + kNameBytesAt);
  const std::uint32_t postings = LoadU32(p + kPostingsAt);
  const std::uint32_t others = LoadU32(p + kOthersAt);
  const Layout layout = LayoutFor(stamp.records, stamp.items, nameBytes, postings, others);
  if (layout.size != bytes.size() || unserved < 0 || unserved > stamp.records ||
      LoadU64(p + layout.trailer) != Checksum::Of(p, layout.trailer)) {
    return nullptr;
  }
  std::unique_ptr<SearchColumns> columns(new SearchColumns(std::move(bytes), stamp));
  columns->unserved_ = unserved;
  columns->others_ = others;
  columns->at_ = layout;
  const std::uint8_t* q = columns->bytes_.data();
  if (!StartsRise(q + layout.nameStarts, static_cast<std::size_t>(stamp.records), nameBytes) ||
      !StartsRise(q + layout.itemStarts, static_cast<std::size_t>(stamp.items), postings)) {
    return nullptr;
  }
  return columns;
}

}  // namespace zorel
