#include "data/search_columns.h"

#include <cstring>

#include "data/bytes.h"

namespace zorel {
namespace {

// Header fields after the magic.
constexpr std::size_t kDataSizeAt = 8;
constexpr std::size_t kOffsetsHashAt = 16;
constexpr std::size_t kRecordsAt = 24;
constexpr std::size_t kItemsAt = 28;
constexpr std::size_t kUnservedAt = 32;
constexpr std::size_t kNameBytesAt = 36;
constexpr std::size_t kPostingsAt = 40;
constexpr std::size_t kOthersAt = 44;

// Every part starts on an 8-byte boundary.
std::size_t Part(std::size_t& at, std::size_t bytes) {
  const std::size_t start = at;
  at = (at + bytes + 7) & ~std::size_t{7};
  return start;
}

}  // namespace

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
  l.size = at;
  return l;
}

std::string SearchColumns::Header(const SearchStamp& stamp, std::int32_t unserved,
                                  std::uint32_t nameBytes, std::uint32_t postings,
                                  std::uint32_t others) {
  std::string header(kSearchHeaderSize, '\0');
  auto* p = reinterpret_cast<std::uint8_t*>(header.data());
  std::memcpy(p, kSearchMagic.data(), kSearchMagic.size());
  StoreU64(p + kDataSizeAt, stamp.dataSize);
  StoreU64(p + kOffsetsHashAt, stamp.offsetsHash);
  StoreU32(p + kRecordsAt, static_cast<std::uint32_t>(stamp.records));
  StoreU32(p + kItemsAt, static_cast<std::uint32_t>(stamp.items));
  StoreU32(p + kUnservedAt, static_cast<std::uint32_t>(unserved));
  StoreU32(p + kNameBytesAt, nameBytes);
  StoreU32(p + kPostingsAt, postings);
  StoreU32(p + kOthersAt, others);
  return header;
}

std::unique_ptr<SearchColumns> SearchColumns::Over(ByteSource bytes, const SearchStamp& stamp) {
  const std::uint8_t* p = bytes.data();
  if (bytes.size() < kSearchHeaderSize ||
      std::memcmp(p, kSearchMagic.data(), kSearchMagic.size()) != 0) {
    return nullptr;
  }
  const bool sameStamp = LoadU64(p + kDataSizeAt) == stamp.dataSize &&
                         LoadU64(p + kOffsetsHashAt) == stamp.offsetsHash &&
                         LoadI32(p + kRecordsAt) == stamp.records &&
                         LoadI32(p + kItemsAt) == stamp.items;
  if (!sameStamp || stamp.records < 0 || stamp.items < 0) return nullptr;
  const std::uint32_t nameBytes = LoadU32(p + kNameBytesAt);
  const std::uint32_t postings = LoadU32(p + kPostingsAt);
  const std::uint32_t others = LoadU32(p + kOthersAt);
  const Layout layout = LayoutFor(stamp.records, stamp.items, nameBytes, postings, others);
  if (layout.size != bytes.size()) return nullptr;
  const std::int32_t unserved = LoadI32(p + kUnservedAt);
  std::unique_ptr<SearchColumns> columns(new SearchColumns(std::move(bytes), stamp));
  columns->unserved_ = std::clamp(unserved, 0, stamp.records);
  columns->nameBytes_ = nameBytes;
  columns->postings_ = postings;
  columns->others_ = others;
  columns->at_ = layout;
  return columns;
}

}  // namespace zorel
