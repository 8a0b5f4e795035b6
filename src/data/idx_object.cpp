#include "data/idx_object.h"

#include <algorithm>
#include <cerrno>

#include "data/bytes.h"
#include "data/errors.h"
#include "data/file_system.h"
#include "data/file_util.h"
#include "data/logger.h"
#include "data/replacement_file.h"

namespace zorel {
namespace {

std::span<const std::int32_t> OffsetsIn(const ByteSource& bytes) {
  return {reinterpret_cast<const std::int32_t*>(bytes.data()), bytes.size() / 4};
}

}  // namespace

std::string TIdxObject::IndexNameFor(const std::string& dataName) {
  return ChangeExtension(dataName, ".idx");
}

TIdxObject::TIdxObject(const std::string& dataName, std::int32_t extra, std::int32_t dataStart,
                       const OffsetsCheck& current)
    : indexName_(IndexNameFor(dataName)) {
  auto src = ByteSource::MapFile(dataName);
  if (!src) {
    throw DataError("Не могу открыть файл " + dataName + "\n" + ReasonLine(dataName, errno));
  }
  data_ = std::move(*src);
  // Only the file's own name decides: a folder called "items" must not change the geometry.
  const auto slash = indexName_.find_last_of('/');
  const std::string ownName =
      slash == std::string::npos ? indexName_ : indexName_.substr(slash + 1);
  const int skip = ownName.find("item") != std::string::npos ? 0 : 20;
  geometry_ = EntryGeometry{skip, extra};
  // Mapped as it stands (populated, since a check reads it whole), so opening copies nothing.
  if (auto index = ByteSource::MapFile(indexName_, true)) {
    if (current(OffsetsIn(*index))) {
      indexBytes_ = std::move(*index);
      offsets_ = OffsetsIn(indexBytes_);
      return;
    }
    Logger().Log("EE: index " + indexName_ + " does not belong to " + dataName + ", rebuilt");
  }
  scanned_ = ScanOffsets(data_.data(), data_.size(), dataStart, geometry_);
  offsets_ = scanned_;
}

void TIdxObject::SaveIndex() const {
  ReplacementFile file(indexName_, {}, AtLink::Replace);
  for (const std::int32_t offset : scanned_) {
    std::uint8_t word[4];
    StoreU32(word, static_cast<std::uint32_t>(offset));
    file.Append(word, sizeof word);
  }
  if (!file.Commit()) LogIgnoredError("cannot save index", indexName_, file.Error());
}

TIdxObject::TIdxObject(ByteSource data, std::vector<std::int32_t> offsets, EntryGeometry geometry)
    : data_(std::move(data)),
      scanned_(std::move(offsets)),
      offsets_(scanned_),
      geometry_(geometry) {}

std::vector<std::int32_t> TIdxObject::ScanOffsets(const std::uint8_t* data, std::size_t size,
                                                  std::int64_t dataStart, EntryGeometry geometry) {
  std::vector<std::int32_t> offsets;
  const auto total = static_cast<std::int64_t>(size);
  // Offsets are 32-bit in the index format; entries past that cannot be addressed.
  const std::int64_t limit = std::min<std::int64_t>(total, INT32_MAX);
  std::int64_t pos = dataStart;
  while (pos >= 0 && pos < limit) {
    const std::int64_t wordAt = pos + geometry.skip;
    if (wordAt + 2 > total) break;
    const std::uint16_t word = LoadU16(data + wordAt);
    if (geometry.skip > 0 && word < kMinRecordLength) break;
    offsets.push_back(static_cast<std::int32_t>(pos));
    pos = pos + geometry.EntrySize(word);
  }
  return offsets;
}

}  // namespace zorel
