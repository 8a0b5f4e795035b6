#include "fuzz_base.h"

#include <stdexcept>

#include "data/bytes.h"
#include "data/data_module.h"
#include "data/errors.h"
#include "data/file_system.h"
#include "data/file_util.h"
#include "data/idx_object.h"
#include "memory_files.h"
#include "support/sample_base.h"
#include "support/vouch.h"

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

constexpr char kMemoryRoot[] = "/zorel-fuzz-memory";

MemoryFiles& Memory() {
  static MemoryFiles files;
  return files;
}

// The memory files installed now: the process's own, or the private ones of SoundSearchFile.
MemoryFiles& Installed() {
  auto* memory = dynamic_cast<MemoryFiles*>(&Files());
  if (memory == nullptr) throw std::logic_error("fuzz folders live in memory files");
  return *memory;
}

}  // namespace

std::vector<std::int32_t> OffsetsOf(const std::string& index) {
  std::vector<std::int32_t> offsets(index.size() / 4);
  for (std::size_t i = 0; i < offsets.size(); ++i)
    offsets[i] = LoadI32(AsBytes(index.data() + 4 * i));
  return offsets;
}

std::int32_t FactoryHeaderSize(const std::string& factory) {
  auto byteAt = [&](std::size_t i) -> std::size_t {
    return i < factory.size() ? static_cast<std::uint8_t>(factory[i]) : 0;
  };
  const std::size_t edition = byteAt(12);
  return static_cast<std::int32_t>(14 + edition + 5 * byteAt(13 + edition));
}

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
  PutFile(d + "factory.dat", factoryHeader + factoryRecords);
  PutFile(d + "item.dat", items);
  PutFile(d + "class.dat", classes);
  PutFile(d + "reg.dat", regions);
  PutFile(d + "orgform.dat", orgForms);
  PutFile(d + "countries.dat", countries);
  if (flags & kSupplyRemarks) PutFile(d + "remark.dat", remarks);
  if (flags & kSupplyRemarkTemp) PutFile(d + "remark.tmp", remarkTemp);
  if (flags & kSupplyFactoryIdx) PutFile(d + "factory.idx", factoryIdx);
  if (flags & kSupplyItemIdx) PutFile(d + "item.idx", itemIdx);
  // Supplied indexes stand as a base copied with its derived files, or forged ones, would.
  if (flags & (kSupplyFactoryIdx | kSupplyItemIdx)) test_support::VouchForIndexes(dir);
}

const std::string& MemoryFolder() {
  static const std::string dir = [] {
    static ScopedFileSystem installed(Memory());
    return std::string(kMemoryRoot);
  }();
  return dir;
}

void EmptyFolder(const std::string& dir) {
  Installed().RemoveUnder(dir + "/");
  Installed().MakeFolder(dir);
}

void PutFile(const std::string& path, std::string_view bytes) {
  if (!Installed().Put(path, bytes)) throw std::logic_error("no memory folder for " + path);
}

const std::string& DatabaseFolder() {
  static const std::string dir = MemoryFolder() + "/db";
  return dir;
}

BaseSource SearchFileBase() {
  BaseSource base = test_support::SampleBase();
  for (int i = 0; i < 40; ++i) {
    EnterpriseSource e = base.enterprises[static_cast<std::size_t>(i % 3)];
    e.name += " " + std::to_string(i);
    e.staff = i * 37;
    e.products.push_back({static_cast<std::uint8_t>(i % 3), static_cast<std::uint32_t>(i % 9)});
    base.enterprises.push_back(e);
  }
  return base;
}

std::string SoundSearchFile() {
  MemoryFiles memory;
  ScopedFileSystem installed(memory);
  const std::string dir = std::string(kMemoryRoot) + "/seed";
  DatabaseFiles::FromBase(SearchFileBase(), 0).Place(dir);
  { const Tdm dm(dir); }
  return ReadWholeFile(dir + "/factory.search").value_or("");
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
