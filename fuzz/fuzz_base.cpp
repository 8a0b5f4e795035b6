#include "fuzz_base.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "data/bytes.h"
#include "data/data_module.h"
#include "data/errors.h"
#include "data/idx_object.h"

namespace zorel::fuzz {
namespace {

std::string IndexImage(const std::string& data, std::int64_t dataStart, EntryGeometry geometry) {
  std::string image;
  for (const std::int32_t offset :
       TIdxObject::ScanOffsets(AsBytes(data.data()), data.size(), dataStart, geometry)) {
    PutU32(image, static_cast<std::uint32_t>(offset));
  }
  return image;
}

std::string scratch;

void RemoveScratch() {
  std::error_code ec;
  std::filesystem::remove_all(scratch, ec);
}

}  // namespace

DatabaseFiles DatabaseFiles::Read(InputReader& in) {
  DatabaseFiles f;
  f.flags = in.Byte();
  for (std::string* piece :
       {&f.factoryHeader, &f.factoryRecords, &f.items, &f.classes, &f.regions, &f.orgForms,
        &f.countries, &f.remarks, &f.remarkTemp, &f.factoryIdx, &f.itemIdx}) {
    *piece = in.Piece();
  }
  return f;
}

void DatabaseFiles::Write(InputWriter& out) const {
  out.Byte(flags);
  for (const std::string* piece :
       {&factoryHeader, &factoryRecords, &items, &classes, &regions, &orgForms, &countries,
        &remarks, &remarkTemp, &factoryIdx, &itemIdx}) {
    out.Piece(*piece);
  }
}

DatabaseFiles DatabaseFiles::FromBase(const BaseSource& base, std::uint8_t flags) {
  DatabaseFiles f;
  f.flags = flags;
  f.factoryHeader = EncodeFactoryHeader(base);
  for (const EnterpriseSource& e : base.enterprises) f.factoryRecords += EncodeRecord(e);
  f.items = EncodeItems(base.items);
  f.classes = EncodeClasses(base.classes);
  f.regions = EncodeDictionary(base.regions);
  f.orgForms = EncodeDictionary(base.orgForms);
  f.countries = EncodeDictionary(base.countries);
  if (base.remarks) {
    f.remarks = EncodeRemarks(*base.remarks);
    f.flags |= kSupplyRemarks;
  }
  if (flags & kSupplyFactoryIdx) {
    f.factoryIdx = IndexImage(f.factoryHeader + f.factoryRecords,
                              static_cast<std::int64_t>(f.factoryHeader.size()), kFactoryGeometry);
  }
  if (flags & kSupplyItemIdx) f.itemIdx = IndexImage(f.items, 0, kItemGeometry);
  return f;
}

void DatabaseFiles::Place(const std::string& dir) const {
  EmptyFolder(dir);
  const std::string d = dir + "/";
  WriteBytes(d + "factory.dat", factoryHeader + factoryRecords);
  WriteBytes(d + "item.dat", items);
  WriteBytes(d + "class.dat", classes);
  WriteBytes(d + "reg.dat", regions);
  WriteBytes(d + "orgform.dat", orgForms);
  WriteBytes(d + "countries.dat", countries);
  if (flags & kSupplyRemarks) WriteBytes(d + "remark.dat", remarks);
  if (flags & kSupplyRemarkTemp) WriteBytes(d + "remark.tmp", remarkTemp);
  if (flags & kSupplyFactoryIdx) WriteBytes(d + "factory.idx", factoryIdx);
  if (flags & kSupplyItemIdx) WriteBytes(d + "item.idx", itemIdx);
}

const std::string& ScratchFolder() {
  if (scratch.empty()) {
    const std::string parent = access("/dev/shm", W_OK) == 0
                                   ? std::string("/dev/shm")
                                   : std::filesystem::temp_directory_path().string();
    std::string pattern = parent + "/zorel-fuzz-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    scratch = pattern;
    std::atexit(RemoveScratch);
  }
  return scratch;
}

void EmptyFolder(const std::string& dir) {
  std::filesystem::create_directories(dir);
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (!entry.is_directory()) std::filesystem::remove(entry.path());
  }
}

const std::string& DatabaseFolder() {
  static const std::string dir = ScratchFolder() + "/db";
  return dir;
}

std::unique_ptr<Tdm> PlaceAndOpen(const DatabaseFiles& files) {
  files.Place(DatabaseFolder());
  try {
    return std::make_unique<Tdm>(DatabaseFolder());
  } catch (const DataError&) {
    return nullptr;
  }
}

}  // namespace zorel::fuzz
