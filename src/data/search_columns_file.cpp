// Building the search file: one pass over the records collects the columns, the upper-cased
// names and how many entries name each item; a second places every entry in its item's posting
// list, so each list comes out in record order.
#include "data/search_columns_file.h"

#include <algorithm>
#include <cerrno>
#include <span>
#include <vector>

#include "data/bytes.h"
#include "data/checksum.h"
#include "data/file_system.h"
#include "data/file_util.h"
#include "data/logger.h"
#include "data/record.h"
#include "data/replacement_file.h"
#include "data/text1251.h"
#include "data/text_ops.h"

namespace zorel {
namespace {

// Appends to the file and sums what it appends, for the trailer.
class SummedOut {
 public:
  explicit SummedOut(ReplacementFile& file) : file_(file) {}
  void Append(const void* p, std::size_t n) {
    sum_.Update(p, n);
    file_.Append(p, n);
  }
  void Append(std::string_view bytes) { Append(bytes.data(), bytes.size()); }
  std::uint64_t Sum() const { return sum_.Value(); }

 private:
  ReplacementFile& file_;
  Checksum sum_;
};

template <class Values>
void Append(SummedOut& file, const Values& values) {
  file.Append(values.data(), values.size() * sizeof(values[0]));
}

// Zero bytes up to the next part of the layout.
void PadTo(SummedOut& file, std::size_t& written, std::size_t at) {
  file.Append(std::string(at - written, '\0'));
  written = at;
}

class Builder {
 public:
  Builder(const TIdxObject& factory, std::int32_t items)
      : factory_(factory), items_(static_cast<std::size_t>(items)) {}

  // Writes the whole image; the file's Ok() tells whether it all went. False, with nothing
  // written, when the base is too large for the file's 32-bit counts.
  bool Write(ReplacementFile& target, const SearchStamp& stamp) {
    CollectRecords();
    if (postings_ > UINT32_MAX || names_.size() > UINT32_MAX) return false;
    std::vector<std::int32_t> postRecords(static_cast<std::size_t>(postings_));
    std::vector<std::uint8_t> postKinds(static_cast<std::size_t>(postings_));
    PlaceEntries(postRecords, postKinds);
    const auto layout = SearchColumns::LayoutFor(
        stamp.records, stamp.items, static_cast<std::uint32_t>(names_.size()),
        static_cast<std::uint32_t>(postings_), static_cast<std::uint32_t>(otherItems_.size()));
    SummedOut file(target);
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
    PadTo(file, written, layout.trailer);
    std::uint8_t sum[kSearchTrailerSize];
    StoreU64(sum, file.Sum());
    target.Append(sum, sizeof sum);
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

}  // namespace

std::string SearchFileNameFor(const std::string& dataName) {
  return ChangeExtension(dataName, ".search");
}

std::unique_ptr<SearchColumns> FindSearchColumns(const std::string& path,
                                                 const SourceStamp& sources) {
  auto bytes = ByteSource::MapFile(path);
  return bytes ? SearchColumns::Over(std::move(*bytes), sources) : nullptr;
}

SearchFileBuild::SearchFileBuild(const std::string& path, const TIdxObject& factory,
                                 const TIdxObject& items, const SourceStamp& sources)
    : file_(path, {}, AtLink::Replace), sources_(sources) {
  if (!file_.Ok()) return;
  const SearchStamp stamp{sources, HashOffsets(factory.Offsets()), HashOffsets(items.Offsets()),
                          factory.Count(), items.Count()};
  written_ = Builder(factory, items.Count()).Write(file_, stamp);
  if (!written_) Logger().Log("EE: base too large for a search file, searches read the records");
}

std::unique_ptr<SearchColumns> SearchFileBuild::Save() {
  if (!written_) return nullptr;
  if (!file_.Commit()) {
    LogIgnoredError("cannot save search file, searches read the records", file_.Target(),
                    file_.Error());
    return nullptr;
  }
  return FindSearchColumns(file_.Target(), sources_);
}

}  // namespace zorel
