#include "duckdb_export.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "data/data_module.h"
#include "data/record.h"
#include "data/text1251.h"
#include "hex.h"
#include "peer_load.h"

namespace zorel::bench {
namespace {

// Raise when the files' layout changes, so old exports are written anew.
constexpr int kExportVersion = 1;

// Collects a file's text and writes it through a new temporary renamed over the target.
class NewFile {
 public:
  NewFile(std::string path, std::string text) : path_(std::move(path)), text_(std::move(text)) {}
  std::string& text() { return text_; }
  void Commit() const {
    const std::string temp = path_ + ".tmp";
    std::filesystem::remove(temp);
    std::FILE* f = std::fopen(temp.c_str(), "wbx");  // x: never through an existing name
    if (f == nullptr) throw std::runtime_error("cannot create " + temp);
    const bool written = std::fwrite(text_.data(), 1, text_.size(), f) == text_.size();
    if (std::fclose(f) != 0 || !written) throw std::runtime_error("cannot write " + temp);
    std::filesystem::rename(temp, path_);
  }

 private:
  std::string path_;
  std::string text_;
};

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace

std::string HexUtf8(std::string_view cp1251) { return Hex(ToUtf8(cp1251)); }

void ExportForDuckDb(const Tdm& dm, const std::string& dir, std::ostream& progress) {
  const std::string stamp = "export v" + std::to_string(kExportVersion) + " " + BaseStamp(dm);
  const std::string stampPath = dir + "/stamp";
  if (ReadAll(stampPath) == stamp) return;
  progress << "Exporting the enterprises for DuckDB (" << dir << ") ..." << std::flush;
  const auto start = std::chrono::steady_clock::now();
  std::filesystem::create_directories(dir);
  std::filesystem::remove(stampPath);

  NewFile firms(dir + "/firm.csv", "rec,staff,lname\n");
  NewFile products(dir + "/product.csv", "rec,kind,item\n");
  for (std::int32_t rec = 0; rec < dm.RecordCount(); ++rec) {
    const RecordView r = dm.GetRecordView(rec);
    if (!r.valid()) continue;  // the core skips it as well: no row, no match
    std::string& f = firms.text();
    f += std::to_string(rec) + ',' + std::to_string(r.Staff()) + ',';
    f += HexUtf8(Lower1251(CutAtZero(r.Field(VarField::Name))));
    f += '\n';
    for (std::size_t i = 0; i < r.ProductCount(); ++i) {
      const ProductEntry e = r.Product(i);
      // Items count from 0, as in product keys.
      products.text() += std::to_string(rec) + ',' + std::to_string(e.kind) + ',' +
                         std::to_string(static_cast<std::int64_t>(e.item) - 1) + '\n';
    }
  }
  NewFile items(dir + "/item.csv", "id,lname\n");
  for (std::int32_t i = 0; i < dm.ItemCount(); ++i) {
    items.text() += std::to_string(i) + ',';
    items.text() += HexUtf8(Lower1251(dm.ItemName(i)));
    items.text() += '\n';
  }
  firms.Commit();
  products.Commit();
  items.Commit();
  NewFile(stampPath, stamp).Commit();
  progress << ' ' << std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count()
           << " s" << std::endl;
}

}  // namespace zorel::bench
