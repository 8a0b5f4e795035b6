#include "support/vouch.h"

#include <stdexcept>
#include <vector>

#include "data/bytes.h"
#include "data/file_util.h"
#include "data/idx_object.h"
#include "data/search_columns_file.h"
#include "data/source_stamp.h"

namespace zorel::test_support {
namespace {

// Where the first record starts, by factory.dat's header.
std::int64_t DataStart(const std::string& factory) {
  auto byteAt = [&](std::size_t i) -> std::int64_t {
    return i < factory.size() ? static_cast<std::uint8_t>(factory[i]) : 0;
  };
  const std::int64_t edition = byteAt(12);
  return 14 + edition + 5 * byteAt(13 + static_cast<std::size_t>(edition));
}

TIdxObject IndexAsItStands(const std::string& data, const std::string& indexName,
                           std::int64_t dataStart, EntryGeometry geometry) {
  std::vector<std::int32_t> offsets;
  if (const auto index = ReadWholeFile(indexName)) {
    for (std::size_t at = 0; at + 4 <= index->size(); at += 4)
      offsets.push_back(LoadI32(AsBytes(index->data() + at)));
  } else {
    offsets = TIdxObject::ScanOffsets(AsBytes(data.data()), data.size(), dataStart, geometry);
  }
  return TIdxObject(ByteSource::FromBytes(data), std::move(offsets), geometry);
}

}  // namespace

void VouchForIndexes(const std::string& db) {
  const std::string factoryName = db + "/factory.dat";
  const std::string itemName = db + "/item.dat";
  const auto stamp = SourceStamp::Take(factoryName, itemName);
  const auto factory = ReadWholeFile(factoryName);
  const auto items = ReadWholeFile(itemName);
  if (!stamp || !factory || !items) throw std::runtime_error("no base to vouch for in " + db);
  const TIdxObject factoryIndex = IndexAsItStands(*factory, TIdxObject::IndexNameFor(factoryName),
                                                  DataStart(*factory), kFactoryGeometry);
  const TIdxObject itemIndex =
      IndexAsItStands(*items, TIdxObject::IndexNameFor(itemName), 0, kItemGeometry);
  SearchFileBuild(SearchFileNameFor(factoryName), factoryIndex, itemIndex, *stamp).Save();
}

}  // namespace zorel::test_support
