// Print forms and PDFs go through the store's one replacement path, as list files do (whose
// tests are the store's): a file the user may not write is refused with the reason, and whatever
// step of a write fails (a full disk among them), the old file stays whole and nothing is left
// behind.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>

#include "data/file_util.h"
#include "dbwriter/db_writer.h"
#include "report/form_file.h"
#include "report/page_generator.h"
#include "report/printer_output.h"
#include "report/sample_forms.h"
#include "support/every_failing_step.h"
#include "support/temp_dir.h"

namespace zorel {
namespace {

using test_support::FaultyFiles;
using test_support::ForEveryFailingStep;
using test_support::Strays;
using test_support::TempDir;

void WriteOnePagePdf(const std::string& path) {
  const auto form = EnterpriseCardForm();
  PageGenerator pages(*form);
  pages.RunToEnd();
  WritePdf(path, UserFileRules{.atLink = AtLink::Replace, .keptOut = {}}, *form, pages);
}

struct Writer {
  const char* kind;
  std::function<void(const std::string& path)> write;  // throws when refused or failed
  std::function<bool(const std::string& bytes)> isNew;
};

const Writer kWriters[] = {
    {"form", [](const std::string& path) { SaveFormFile(path, *AddressLabelsForm()); },
     [](const std::string& bytes) { return bytes == WriteFormBytes(*AddressLabelsForm()); }},
    {"PDF", WriteOnePagePdf,
     [](const std::string& bytes) {
       return bytes.starts_with("%PDF") && bytes.find("%%EOF") != std::string::npos;
     }},
};

mode_t ModeOf(const std::string& path) {
  struct stat st {};
  stat(path.c_str(), &st);
  return st.st_mode & 07777;
}

TEST(OutputFiles, AFileTheUserMayNotWriteIsRefused) {
  for (const Writer& w : kWriters) {
    for (const mode_t mode : {0444, 0544}) {
      SCOPED_TRACE(std::string(w.kind) + " " + std::to_string(mode));
      TempDir dir;
      const std::string path = dir / "protected";
      WriteBytes(path, "old");
      chmod(path.c_str(), mode);
      try {
        w.write(path);
        ADD_FAILURE() << "replaced";
      } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(path + ": файл только для чтения"), std::string::npos)
            << e.what();
      }
      EXPECT_EQ(ReadWholeFile(path).value_or(""), "old");
      EXPECT_EQ(ModeOf(path), mode);
      EXPECT_EQ(Strays(dir.path(), {"protected"}), std::set<std::string>{});
    }
  }
}

TEST(OutputFiles, AFailedStepLeavesTheOldFileWhole) {
  for (const Writer& w : kWriters) {
    SCOPED_TRACE(w.kind);
    ForEveryFailingStep([&w](FaultyFiles& faulty) {
      TempDir dir;
      const std::string path = dir / "out";
      WriteBytes(path, "old");
      bool refused = false;
      {
        ScopedFileSystem use(faulty);
        try {
          w.write(path);
        } catch (const std::runtime_error&) {
          refused = true;
        }
      }
      const std::string bytes = ReadWholeFile(path).value_or("");
      EXPECT_TRUE(refused ? bytes == "old" : w.isNew(bytes)) << refused;
      EXPECT_EQ(Strays(dir.path(), {"out"}), std::set<std::string>{});
    });
  }
}

}  // namespace
}  // namespace zorel
