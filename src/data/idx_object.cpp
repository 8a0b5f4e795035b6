#include "data/idx_object.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "data/bytes.h"
#include "data/errors.h"
#include "data/file_util.h"

namespace zorel {
namespace {

std::vector<std::int32_t> LoadIndexFile(const std::string& name) {
  std::vector<std::int32_t> offsets;
  auto bytes = ReadWholeFile(name);
  if (!bytes) return offsets;  // an index that cannot be opened gives no entries
  const std::size_t count = bytes->size() / 4;
  offsets.resize(count);
  const auto* p = AsBytes(bytes->data());
  for (std::size_t i = 0; i < count; ++i) offsets[i] = LoadI32(p + 4 * i);
  return offsets;
}

void WriteIndexFile(const std::string& name, const std::vector<std::int32_t>& offsets) {
  std::string image;
  image.reserve(offsets.size() * 4);
  for (auto off : offsets) PutU32(image, static_cast<std::uint32_t>(off));
  // A folder that cannot take the file leaves the object without entries, silently.
  WriteFileReplacing(name, image);
}

}  // namespace

std::string TIdxObject::IndexNameFor(const std::string& dataName) {
  return ChangeExtension(dataName, ".idx");
}

TIdxObject::TIdxObject(const std::string& dataName, std::int32_t extra, std::int32_t dataStart)
    : indexName_(IndexNameFor(dataName)) {
  auto src = ByteSource::MapFile(dataName);
  if (!src) throw DataError("Не могу открыть файл " + dataName);
  data_ = std::move(*src);
  // Only the file's own name decides: a folder called "items" must not change the geometry.
  const auto slash = indexName_.find_last_of('/');
  const std::string ownName =
      slash == std::string::npos ? indexName_ : indexName_.substr(slash + 1);
  const int skip = ownName.find("item") != std::string::npos ? 0 : 20;
  geometry_ = EntryGeometry{skip, extra};
  if (!FileExists(indexName_)) {
    WriteIndexFile(indexName_, ScanOffsets(data_.data(), data_.size(), dataStart, geometry_));
  }
  offsets_ = LoadIndexFile(indexName_);
}

TIdxObject::TIdxObject(ByteSource data, std::vector<std::int32_t> offsets, EntryGeometry geometry)
    : data_(std::move(data)), offsets_(std::move(offsets)), geometry_(geometry) {}

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
