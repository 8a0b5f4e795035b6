#include "data/data_module.h"

#include <cerrno>
#include <cstdio>
#include <optional>
#include <span>
#include <utility>

#include "data/bytes.h"
#include "data/conditions.h"
#include "data/errors.h"
#include "data/file_system.h"
#include "data/file_util.h"
#include "data/logger.h"
#include "data/search_columns_file.h"
#include "data/source_stamp.h"
#include "data/text1251.h"

namespace zorel {
namespace {

// Dictionary entries: i16 length, u16 reserved, text. A file that cannot be read leaves the
// list empty; a fragment that cannot hold its entry ends the load.
std::vector<std::string> LoadDictionary(const std::string& path) {
  std::vector<std::string> list;
  const auto bytes = ReadWholeFile(path);
  if (!bytes) return list;
  const auto* p = AsBytes(bytes->data());
  const std::size_t size = bytes->size();
  std::size_t pos = 0;
  while (pos + 2 <= size) {
    const std::int16_t n = LoadI16(p + pos);
    if (pos + 4 > size || n < 0 || pos + 4 + static_cast<std::size_t>(n) > size) break;
    list.emplace_back(bytes->data() + pos + 4, static_cast<std::size_t>(n));
    pos += 4 + static_cast<std::size_t>(n);
  }
  return list;
}

std::string ParentFolderOf(const std::string& dir) {
  std::string d = dir;
  while (d.size() > 1 && d.back() == '/') d.pop_back();
  const auto slash = d.find_last_of('/');
  if (slash == std::string::npos) return "";
  return d.substr(0, slash + 1);
}

std::string FromUtf8OrSame(std::string_view utf8) {
  auto s = FromUtf8(utf8);
  return s ? *s : std::string(utf8);
}

}  // namespace

Tdm::Tdm(const std::string& dbDir) : dbDir_(WithTrailingSlash(dbDir)) {
  factoryName_ = dbDir_ + "factory.dat";
  itemName_ = dbDir_ + "item.dat";
  classFileName_ = dbDir_ + "class.dat";
  remarkName_ = dbDir_ + "remark.dat";
  listsDir_ = ParentFolderOf(dbDir_) + "lists/";
  formsDir_ = ParentFolderOf(dbDir_) + "rpt/";

  regions_ = LoadDictionary(dbDir_ + "reg.dat");
  orgForms_ = LoadDictionary(dbDir_ + "orgform.dat");
  countries_ = LoadDictionary(dbDir_ + "countries.dat");
  OpenRecords();
  classes_ = std::make_unique<TClassObject>(classFileName_);
  operators_.assign(kOperatorWords.begin(), kOperatorWords.end());
  remarks_ = std::make_unique<TRemark>(remarkName_, RecordCount());
  CountUnservedRecords();
}

void Tdm::OpenRecords() {
  // A rebuild of the base in place may run while we open it: each attempt takes the data files
  // as they stand at one moment, and one that saw them change is tried again.
  constexpr int kAttempts = 3;
  for (int attempt = 1;; ++attempt) {
    const std::optional<SourceStamp> before = SourceStamp::Take(factoryName_, itemName_);
    ReadHeader();
    const std::string searchName = SearchFileNameFor(factoryName_);
    std::unique_ptr<SearchColumns> found =
        before ? FindSearchColumns(searchName, *before) : nullptr;
    // The search file vouches for the index files it was built with.
    const auto vouched = [&](std::uint64_t SearchStamp::*hash, std::size_t count) {
      return [&found, hash, count](std::span<const std::int32_t> offsets) {
        return found != nullptr && offsets.size() == count &&
               HashOffsets(offsets) == found->Stamp().*hash;
      };
    };
    const std::size_t records = found ? static_cast<std::size_t>(found->Records()) : 0;
    const std::size_t items = found ? static_cast<std::size_t>(found->Items()) : 0;
    const OffsetsCheck factoryFits = vouched(&SearchStamp::factoryOffsets, records);
    const OffsetsCheck itemFits = vouched(&SearchStamp::itemOffsets, items);
    factory_ = std::make_unique<TIdxObject>(factoryName_, 2, header_.dataStart, factoryFits);
    items_ = std::make_unique<TIdxObject>(itemName_, 0, 0, itemFits);
    // A scan that finds the offsets the search file names (index files deleted) keeps it.
    const bool current = found && (!factory_->Rebuilt() || factoryFits(factory_->Offsets())) &&
                         (!items_->Rebuilt() || itemFits(items_->Offsets()));
    std::optional<SearchFileBuild> build;
    if (before && !current) build.emplace(searchName, *factory_, *items_, *before);
    const bool steady = before && SourceStamp::Take(factoryName_, itemName_) == before;
    if (!steady && attempt < kAttempts) continue;
    if (!steady) {
      // What was built is used from memory, the searches read the records: nothing is saved.
      Logger().Log("EE: " + factoryName_ + " changed while it was opened; derived files not saved");
      columns_.reset();
      return;
    }
    if (factory_->Rebuilt()) factory_->SaveIndex();
    if (items_->Rebuilt()) items_->SaveIndex();
    columns_ = current ? std::move(found) : build->Save();
    return;
  }
}

void Tdm::CountUnservedRecords() {
  // The search file counted them when it was built; without it every record is looked at.
  std::int32_t unserved = 0;
  if (columns_) {
    unserved = columns_->Unserved();
  } else {
    for (std::int32_t r = 0; r < RecordCount(); ++r)
      unserved += factory_->Get(r) == nullptr ? 1 : 0;
  }
  if (unserved == 0) return;
  notices_.push_back("Не читаются записи файла " + factoryName_ + ": " + std::to_string(unserved) +
                     " из " + std::to_string(RecordCount()));
  Logger().Log("EE: " + notices_.back());
}

std::vector<std::string> Tdm::TakeNotices() {
  std::vector<std::string> notices = std::exchange(notices_, {});
  for (std::string& notice : remarks_->TakeNotices()) notices.push_back(std::move(notice));
  return notices;
}

Tdm::~Tdm() = default;

void Tdm::ReadHeader() {
  header_ = FactoryHeader{};
  auto src = ByteSource::MapFile(factoryName_);
  if (!src) throw DataError("Не могу открыть файл данных !!!\n" + ReasonLine(factoryName_, errno));
  const auto* p = src->data();
  const std::size_t size = src->size();
  if (size < 5 || std::string_view(reinterpret_cast<const char*>(p), 5) != kFactoryMagic) {
    throw DataError("Неверная версия файла данных !!!\n" + factoryName_ + ": нет метки " +
                    kFactoryMagic + " в начале файла");
  }
  // The fields after the magic are read as far as the file goes; missing bytes read as 0.
  auto byteAt = [&](std::size_t off) -> std::uint8_t { return off < size ? p[off] : 0; };
  std::uint8_t day[4] = {byteAt(5), byteAt(6), byteAt(7), byteAt(8)};
  header_.baseDay = LoadI32(day);
  header_.kindSeparator = std::string(1, static_cast<char>(byteAt(11)));
  const std::size_t editionLength = byteAt(12);
  std::size_t pos = 13;
  for (std::size_t i = 0; i < editionLength; ++i)
    header_.edition.push_back(static_cast<char>(byteAt(pos + i)));
  pos += editionLength;
  const std::size_t labels = byteAt(pos);
  ++pos;
  for (std::size_t i = 0; i < labels; ++i, pos += 5) {
    std::string label;
    for (std::size_t k = 0; k < 5; ++k) label.push_back(static_cast<char>(byteAt(pos + k)));
    header_.kindLabels.push_back(std::move(label));
  }
  header_.dataStart = static_cast<std::int32_t>(pos);
}

std::string Tdm::GetFirmName(std::int32_t record) const {
  const RecordView r = GetRecordView(record);
  if (!r.valid()) {
    static const std::string problem = FromUtf8OrSame("Проблемы на записи (");
    return problem + std::to_string(record) + ")";
  }
  return std::string(CutAtZero(r.Field(VarField::Name)));
}

std::string Tdm::GetEMail(std::int32_t record) const {
  return std::string(CutAtZero(GetRecordView(record).Field(VarField::EMail)));
}

bool Tdm::HasAdvert(std::int32_t record) const {
  return !GetRecordView(record).Field(VarField::Advert).empty();
}

std::string_view Tdm::ItemName(std::int64_t item) const {
  if (item < 0 || item >= items_->Count()) return {};
  const std::uint8_t* e = items_->Get(static_cast<std::int32_t>(item));
  if (e == nullptr) return {};
  return CutAtZero(std::string_view(reinterpret_cast<const char*>(e + 2), LoadU16(e)));
}

std::string Tdm::GetRemark(std::int32_t record) const {
  try {
    return remarks_->Get(record);
  } catch (const std::exception& e) {
    Logger().Log(std::string("EE: ") + e.what());
    return {};
  }
}

void Tdm::SetRemark(std::int32_t record, const std::string& text) { remarks_->Set(record, text); }

std::string Tdm::Lookup(const std::vector<std::string>& list, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= list.size()) return {};
  return list[static_cast<std::size_t>(index)];
}

const std::vector<std::string>& Tdm::Dictionary(FieldDictionary dictionary) const {
  static const std::vector<std::string> kNone;
  switch (dictionary) {
    case FieldDictionary::OrgForms:
      return orgForms_;
    case FieldDictionary::Countries:
      return countries_;
    case FieldDictionary::Regions:
      return regions_;
    case FieldDictionary::None:
      break;
  }
  return kNone;
}

void Tdm::FillAllRecords(RecordList& list) const {
  // Filled in place: a second copy would double the peak memory of a million-record list.
  const std::int32_t count = RecordCount();
  list.reserve(list.size() + static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i < count; ++i) list.push_back(i);
}

std::string Tdm::TitleWithEdition(std::string_view title) const {
  return std::string(Strip(title)) + " " + ToUtf8(header_.edition);
}

}  // namespace zorel
