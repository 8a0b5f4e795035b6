// Writes a database folder from values held in memory: factory.dat with its header, item.dat,
// class.dat, the four dictionaries and, when asked, remark.dat. Index files are left to the
// reader, which builds them when missing. All texts are Windows-1251.
//
// Used by the database generator, the tests, the benchmarks and the fuzzers' seed corpora.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zorel {

class ReplacementFile;

struct EnterpriseSource {
  std::string name, address, head, fax, phones, advert, email, url;
  std::int8_t orgForm = 0;  // 1-based, 0 none
  std::int16_t year = 0;
  std::int16_t region = 0;  // 1-based, 0 none
  std::int32_t staff = 0;
  std::string index;         // up to 6 bytes, padded with blanks
  std::string cityCode;      // up to 7 bytes, padded with blanks
  std::int16_t country = 0;  // 1-based, 0 none
  std::vector<std::pair<std::uint8_t, std::uint32_t>> products;  // kind, 1-based item
};

struct ClassSource {
  std::uint32_t id = 0;
  std::uint32_t item = 0;  // 1-based, 0 none
  std::array<std::uint32_t, 5> codes{};
  std::uint16_t count = 0;
  std::uint8_t kind = 0;
};

struct BaseSource {
  std::int32_t baseDay = 0;
  char kindSeparator = '-';
  std::string edition;
  std::vector<std::string> kindLabels;  // padded or cut to 5 bytes
  std::vector<std::string> regions, orgForms, countries, branches;
  std::vector<std::string> items;
  std::vector<ClassSource> classes;
  std::vector<EnterpriseSource> enterprises;
  // Written as remark.dat (current layout) when set.
  std::optional<std::vector<std::pair<std::int32_t, std::string>>> remarks;
  // Leaves the folder's remark.dat as it is (the users' remarks in a base being rebuilt);
  // otherwise an old one is replaced by remarks, or removed when there are none.
  bool keepRemarkFile = false;
};

// The bytes of one record of factory.dat.
std::string EncodeRecord(const EnterpriseSource& e);
std::string EncodeFactoryHeader(const BaseSource& base);
std::string EncodeDictionary(const std::vector<std::string>& entries);
std::string EncodeItems(const std::vector<std::string>& items);
std::string EncodeClasses(const std::vector<ClassSource>& classes);
std::string EncodeRemarks(const std::vector<std::pair<std::int32_t, std::string>>& remarks);

// Creates dir when needed and writes every file; removes stale .idx files. Throws
// std::runtime_error when a file cannot be written.
void WriteDatabase(const std::string& dir, const BaseSource& base);
// The two halves of WriteDatabase, for writers that stream factory.dat themselves: create the
// folder and drop stale index files; write everything but factory.dat.
void PrepareDatabaseFolder(const std::string& dir);
void WriteSideFiles(const std::string& dir, const BaseSource& base);
// Writes bytes to a file through a new temporary beside it, throwing std::runtime_error on
// failure.
void WriteBytes(const std::string& path, const std::string& bytes);

// Streams factory.dat record by record, for bases too large to hold as sources, into a new
// temporary file that Close renames over the target.
class FactoryWriter {
 public:
  FactoryWriter(const std::string& path, const BaseSource& headerFields);
  ~FactoryWriter();
  void Add(const EnterpriseSource& e);
  void Close();

 private:
  std::unique_ptr<ReplacementFile> file_;
  std::string path_;
};

}  // namespace zorel
