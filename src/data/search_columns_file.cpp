// Building the search file: one pass over the records collects the columns, the upper-cased
// names and how many entries name each item; a second places every entry in its item's posting
// list, so each list comes out in record order.
#include "data/search_columns_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <span>
#include <vector>

#include "data/file_system.h"
#include "data/file_util.h"
#include "data/logger.h"
#include "data/record.h"
#include "data/replacement_file.h"
#include "data/text1251.h"
#include "data/text_tests.h"

namespace zorel {
namespace {

// Four interleaved multiply-xor lanes over the offsets: quick enough to run at every opening.
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

SearchStamp StampOf(const struct stat& data, const TIdxObject& factory, std::int32_t items) {
  return SearchStamp{static_cast<std::uint64_t>(data.st_size), HashOffsets(factory.Offsets()),
                     factory.Count(), items};
}

template <class Values>
void Append(ReplacementFile& file, const Values& values) {
  file.Append(values.data(), values.size() * sizeof(values[0]));
}

// Zero bytes up to the next part of the layout.
void PadTo(ReplacementFile& file, std::size_t& written, std::size_t at) {
  file.Append(std::string(at - written, '\0'));
  written = at;
}

class Builder {
 public:
  Builder(const TIdxObject& factory, std::int32_t items)
      : factory_(factory), items_(static_cast<std::size_t>(items)) {}

  // Writes the whole image; the file's Ok() tells whether it all went. False, with nothing
  // written, when the base is too large for the file's 32-bit counts.
  bool Write(ReplacementFile& file, const SearchStamp& stamp) {
    CollectRecords();
    if (postings_ > UINT32_MAX || names_.size() > UINT32_MAX) return false;
    std::vector<std::int32_t> postRecords(static_cast<std::size_t>(postings_));
    std::vector<std::uint8_t> postKinds(static_cast<std::size_t>(postings_));
    PlaceEntries(postRecords, postKinds);
    const auto layout = SearchColumns::LayoutFor(
        stamp.records, stamp.items, static_cast<std::uint32_t>(names_.size()),
        static_cast<std::uint32_t>(postings_), static_cast<std::uint32_t>(otherItems_.size()));
    file.Append(SearchColumns::Header(stamp, unserved_, static_cast<std::uint32_t>(names_.size()),
                                      static_cast<std::uint32_t>(postings_),
                                      static_cast<std::uint32_t>(otherItems_.size())));
    std::size_t written = kSearchHeaderSize;
    const auto part = [&](std::size_t at, const auto& values) {
      PadTo(file, written, at);
      Append(file, values);
      written += values.size() * sizeof(values[0]);
    };
    for (int field = 0; field < kFieldCount; ++field) {
      if (HasColumn(field)) part(layout.column[field], columns_[field]);
    }
    part(layout.nameStarts, nameStarts_);
    part(layout.names, names_);
    part(layout.itemStarts, itemStarts_);
    part(layout.postRecords, postRecords);
    part(layout.postKinds, postKinds);
    part(layout.otherItems, otherItems_);
    part(layout.otherRecords, otherRecords_);
    part(layout.otherKinds, otherKinds_);
    PadTo(file, written, layout.size);
    return true;
  }

 private:
  RecordView View(std::int32_t record) const { return RecordView::FromEntry(factory_.Get(record)); }

  void CollectRecords() {
    const std::int32_t n = factory_.Count();
    const std::uint8_t* upper = UpperTable();
    itemStarts_.assign(items_ + 1, 0);
    nameStarts_.reserve(static_cast<std::size_t>(n) + 1);
    for (std::int32_t r = 0; r < n; ++r) {
      const RecordView view = View(r);
      unserved_ += view.valid() ? 0 : 1;
      for (int field = 0; field < kFieldCount; ++field) {
        if (!HasColumn(field)) continue;
        const FieldInfo& f = FieldOf(field);
        const auto value = static_cast<std::uint32_t>(view.HeadNumber(f.offset, f.size));
        for (int b = 0; b < f.size; ++b)
          columns_[field].push_back(static_cast<std::uint8_t>(value >> (8 * b)));
      }
      nameStarts_.push_back(static_cast<std::uint32_t>(names_.size()));
      const std::string_view name = view.Field(VarField::Name);
      for (const char c : CutAtZero(name.substr(0, kContainsWindow))) {
        names_.push_back(static_cast<char>(upper[static_cast<std::uint8_t>(c)]));
      }
      names_.push_back('\0');
      ForEachEntry(view, [&](std::uint32_t stored, std::uint8_t kind) {
        const std::int64_t item = static_cast<std::int64_t>(stored) - 1;
        if (item >= 0 && static_cast<std::size_t>(item) < items_) {
          ++itemStarts_[static_cast<std::size_t>(item) + 1];  // 32-bit: checked by the total
          ++postings_;
        } else {
          otherItems_.push_back(stored);
          otherRecords_.push_back(r);
          otherKinds_.push_back(kind);
        }
      });
    }
    nameStarts_.push_back(static_cast<std::uint32_t>(names_.size()));
    for (std::size_t i = 0; i < items_; ++i) itemStarts_[i + 1] += itemStarts_[i];
  }

  void PlaceEntries(std::vector<std::int32_t>& records, std::vector<std::uint8_t>& kinds) const {
    std::vector<std::uint32_t> next(itemStarts_.begin(), itemStarts_.end() - 1);
    for (std::int32_t r = 0; r < factory_.Count(); ++r) {
      ForEachEntry(View(r), [&](std::uint32_t stored, std::uint8_t kind) {
        const std::int64_t item = static_cast<std::int64_t>(stored) - 1;
        if (item < 0 || static_cast<std::size_t>(item) >= items_) return;
        const std::uint32_t at = next[static_cast<std::size_t>(item)]++;
        records[at] = r;
        kinds[at] = kind;
      });
    }
  }

  template <class Visit>
  static void ForEachEntry(const RecordView& view, Visit visit) {
    for (std::size_t i = 0; i < view.ProductCount(); ++i) {
      const ProductEntry e = view.Product(i);
      visit(e.item, e.kind);
    }
  }

  const TIdxObject& factory_;
  std::size_t items_;
  std::int32_t unserved_ = 0;
  std::vector<std::uint8_t> columns_[kFieldCount];
  std::vector<std::uint32_t> nameStarts_;
  std::string names_;
  std::vector<std::uint32_t> itemStarts_;
  std::uint64_t postings_ = 0;
  std::vector<std::uint32_t> otherItems_;
  std::vector<std::int32_t> otherRecords_;
  std::vector<std::uint8_t> otherKinds_;
};

std::unique_ptr<SearchColumns> Map(const std::string& path, const SearchStamp& stamp) {
  auto bytes = ByteSource::MapFile(path);
  return bytes ? SearchColumns::Over(std::move(*bytes), stamp) : nullptr;
}

// The file mapped when it is at least as new as the data file and stamped for it.
std::unique_ptr<SearchColumns> MapIfCurrent(const std::string& path, const struct stat& data,
                                            const SearchStamp& stamp) {
  struct stat st {};
  if (Files().StatPath(path, &st) != 0 || ModifiedBefore(st, data)) return nullptr;
  return Map(path, stamp);
}

}  // namespace

std::string SearchFileNameFor(const std::string& dataName) {
  return ChangeExtension(dataName, ".search");
}

std::unique_ptr<SearchColumns> OpenSearchColumns(const std::string& dataName,
                                                 const TIdxObject& factory, std::int32_t items) {
  struct stat data {};
  if (Files().StatPath(dataName, &data) != 0) return nullptr;
  const SearchStamp stamp = StampOf(data, factory, items);
  const std::string path = SearchFileNameFor(dataName);
  if (auto columns = MapIfCurrent(path, data, stamp)) return columns;

  ReplacementFile file(path);
  if (!file.Ok()) {
    LogIgnoredError("cannot save search file, searches read the records", path, file.Error());
    return nullptr;
  }
  if (!Builder(factory, items).Write(file, stamp)) {
    Logger().Log("EE: base too large for a search file, searches read the records: " + path);
    return nullptr;
  }
  if (!file.Commit()) {
    LogIgnoredError("cannot save search file, searches read the records", path, file.Error());
    return nullptr;
  }
  // Just built from the data as it stands, whatever the clock says of the two files.
  return Map(file.Target(), stamp);
}

}  // namespace zorel
