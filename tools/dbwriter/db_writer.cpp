#include "dbwriter/db_writer.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <stdexcept>

#include "data/bytes.h"
#include "data/file_system.h"
#include "data/file_util.h"
#include "data/idx_object.h"
#include "data/record.h"
#include "data/replacement_file.h"

namespace zorel {
namespace {

std::string Fixed(const std::string& s, std::size_t width) {
  std::string out = s.substr(0, width);
  out.resize(width, ' ');
  return out;
}

}  // namespace

std::string EncodeRecord(const EnterpriseSource& e) {
  const std::string* fields[] = {&e.name,   &e.address, &e.head,  &e.fax,
                                 &e.phones, &e.advert,  &e.email, &e.url};
  std::string products;
  for (auto [kind, item] : e.products) {
    PutU8(products, kind);
    PutU32(products, item);
  }
  std::string rec(kRecordHeadSize, '\0');
  std::uint32_t pos = kRecordHeadSize;
  std::string body;
  std::uint16_t words[kVarFieldCount];
  for (int i = 0; i < kVarFieldCount - 1; ++i) {
    body += *fields[i];
    pos += static_cast<std::uint32_t>(fields[i]->size());
    words[i] = static_cast<std::uint16_t>(pos);
  }
  body += products;
  pos += static_cast<std::uint32_t>(products.size());
  words[kVarFieldCount - 1] = static_cast<std::uint16_t>(pos);
  if (pos > kMaxEntry) {
    throw std::runtime_error("record too long: " + std::to_string(pos) + " bytes");
  }
  auto* p = reinterpret_cast<std::uint8_t*>(rec.data());
  // The prefix's first word holds the record length too, as the reader's buffer expects.
  StoreU16(p, static_cast<std::uint16_t>(pos));
  StoreU16(p + kOffsetLength, static_cast<std::uint16_t>(pos));
  for (int i = 0; i < kVarFieldCount; ++i) StoreU16(p + kOffsetW22 + 2 * i, words[i]);
  p[kOffsetOrgForm] = static_cast<std::uint8_t>(e.orgForm);
  StoreU16(p + kOffsetYear, static_cast<std::uint16_t>(e.year));
  StoreU16(p + kOffsetRegion, static_cast<std::uint16_t>(e.region));
  StoreU32(p + kOffsetStaff, static_cast<std::uint32_t>(e.staff));
  rec.replace(kOffsetIndex, kIndexSize, Fixed(e.index, kIndexSize));
  rec.replace(kOffsetCityCode, kCityCodeSize, Fixed(e.cityCode, kCityCodeSize));
  rec.replace(kOffsetReserved, kReservedSize, std::string(kReservedSize, ' '));
  StoreU16(p + kOffsetCountry, static_cast<std::uint16_t>(e.country));
  return rec + body;
}

std::string EncodeFactoryHeader(const BaseSource& base) {
  std::string h = kFactoryMagic;
  PutU32(h, static_cast<std::uint32_t>(base.baseDay));
  PutU16(h, 0);
  h.push_back(base.kindSeparator);
  const std::string edition = base.edition.substr(0, 255);
  PutU8(h, static_cast<std::uint8_t>(edition.size()));
  h += edition;
  const std::size_t labels = std::min<std::size_t>(base.kindLabels.size(), 255);
  PutU8(h, static_cast<std::uint8_t>(labels));
  for (std::size_t i = 0; i < labels; ++i) h += Fixed(base.kindLabels[i], 5);
  return h;
}

std::string EncodeDictionary(const std::vector<std::string>& entries) {
  std::string out;
  for (const auto& e : entries) {
    const std::string text = e.substr(0, 32767);
    PutU16(out, static_cast<std::uint16_t>(text.size()));
    PutU16(out, 0);
    out += text;
  }
  return out;
}

std::string EncodeItems(const std::vector<std::string>& items) {
  std::string out;
  for (const auto& item : items) {
    const std::string text = item.substr(0, 32766);
    PutU16(out, static_cast<std::uint16_t>(text.size()));
    out += text;
  }
  return out;
}

std::string EncodeClasses(const std::vector<ClassSource>& classes) {
  std::string out;
  out.reserve(classes.size() * 31);
  for (const auto& c : classes) {
    PutU32(out, c.id);
    PutU32(out, c.item);
    for (auto code : c.codes) PutU32(out, code);
    PutU16(out, c.count);
    PutU8(out, c.kind);
  }
  return out;
}

std::string EncodeRemarks(const std::vector<std::pair<std::int32_t, std::string>>& remarks) {
  std::string out;
  PutU32(out, 32);
  out += "REMARK01";
  out += std::string(20, ' ');
  for (const auto& [record, text] : remarks) {
    PutU16(out, static_cast<std::uint16_t>(text.size() + 7));
    PutU32(out, static_cast<std::uint32_t>(record));
    PutU8(out, 0);
    out += text;
  }
  return out;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  if (!WriteFileReplacing(path, bytes)) {
    throw std::runtime_error("cannot write " + ReasonLine(path, errno));
  }
}

namespace {

std::string Slash(std::string dir) {
  if (dir.empty() || dir.back() != '/') dir.push_back('/');
  return dir;
}

}  // namespace

void PrepareDatabaseFolder(const std::string& dir) {
  std::filesystem::create_directories(dir);
  for (const char* stale : {"factory.idx", "item.idx"}) {
    std::filesystem::remove(Slash(dir) + stale);
  }
}

void WriteSideFiles(const std::string& dir, const BaseSource& base) {
  const std::string d = Slash(dir);
  WriteBytes(d + "item.dat", EncodeItems(base.items));
  WriteBytes(d + "class.dat", EncodeClasses(base.classes));
  WriteBytes(d + "reg.dat", EncodeDictionary(base.regions));
  WriteBytes(d + "orgform.dat", EncodeDictionary(base.orgForms));
  WriteBytes(d + "countries.dat", EncodeDictionary(base.countries));
  WriteBytes(d + "branch.dat", EncodeDictionary(base.branches));
  if (base.keepRemarkFile) return;
  std::filesystem::remove(d + "remark.dat");
  if (base.remarks) WriteBytes(d + "remark.dat", EncodeRemarks(*base.remarks));
}

void WriteDatabase(const std::string& dir, const BaseSource& base) {
  PrepareDatabaseFolder(dir);
  FactoryWriter factory(Slash(dir) + "factory.dat", base);
  for (const auto& e : base.enterprises) factory.Add(e);
  factory.Close();
  WriteSideFiles(dir, base);
}

FactoryWriter::FactoryWriter(const std::string& path, const BaseSource& headerFields)
    : file_(std::make_unique<ReplacementFile>(path)), path_(path) {
  if (!file_->Ok()) throw std::runtime_error("cannot create " + ReasonLine(path, file_->Error()));
  file_->Append(EncodeFactoryHeader(headerFields));
}

FactoryWriter::~FactoryWriter() = default;

void FactoryWriter::Add(const EnterpriseSource& e) {
  file_->Append(EncodeRecord(e));
  if (!file_->Ok()) throw std::runtime_error("cannot write " + ReasonLine(path_, file_->Error()));
}

void FactoryWriter::Close() {
  if (!file_) return;
  const bool ok = file_->Commit();
  const int error = file_->Error();
  file_.reset();
  if (!ok) throw std::runtime_error("cannot write " + ReasonLine(path_, error));
}

}  // namespace zorel
