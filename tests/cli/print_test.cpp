// End-to-end printing: the demo base's lists through the two sample forms to PDF files with
// zorel-cli, read back with pdftotext: the page count and every record's name in list order.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <regex>

#include "data/data_module.h"
#include "data/file_util.h"
#include "data/list_file.h"
#include "data/text1251.h"
#include "dbwriter/db_writer.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace zorel {
namespace {

using test_support::TempDir;
using Args = std::vector<std::string>;

// Runs a program; its exit status and what it wrote on both streams.
std::pair<int, std::string> Execute(const std::string& program, const Args& args) {
  std::vector<std::string> words{program};
  words.insert(words.end(), args.begin(), args.end());
  const auto r = test_support::RunProgram(std::move(words));
  return {r.status, r.out + r.err};
}

std::string Spaced(const std::string& text) {
  return std::regex_replace(text, std::regex("\\s+"), " ");
}

class PrintToPdf : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    ASSERT_EQ(Execute(ZOREL_MKDB, {ZOREL_DEMO_SOURCES, *dir_ / "demo"}).first, 0);
    ASSERT_EQ(Execute(ZOREL_CLI, {"sample-forms", *dir_ / "rpt"}).first, 0);
  }
  static void TearDownTestSuite() { delete dir_; }
  void SetUp() override {
    if (Execute("/usr/bin/pdftotext", {"-v"}).first != 0)
      GTEST_SKIP() << "pdftotext (poppler-utils) missing";
  }

  static std::string Db() { return *dir_ / "demo/db"; }
  static std::string Form(const std::string& name) { return *dir_ / ("rpt/" + name + ".rpt"); }

  // Prints and checks: the page count, and the names of the records in order.
  static void ExpectPdf(const Args& options, const std::string& form, int pages,
                        const std::vector<std::int32_t>& records) {
    const std::string pdf = *dir_ / "out.pdf";
    std::filesystem::remove(pdf);
    Args args{"--db", Db(), "print", Form(form), "--pdf", pdf};
    args.insert(args.end(), options.begin(), options.end());
    const auto [status, output] = Execute(ZOREL_CLI, args);
    ASSERT_EQ(status, 0) << output;
    const std::string info = Execute("/usr/bin/pdfinfo", {pdf}).second;
    std::smatch count;
    ASSERT_TRUE(std::regex_search(info, count, std::regex("Pages:\\s+(\\d+)"))) << info;
    EXPECT_EQ(std::stoi(count[1]), pages);
    ASSERT_EQ(Execute("/usr/bin/pdftotext", {"-enc", "UTF-8", pdf, *dir_ / "out.txt"}).first, 0);
    const std::string text = Spaced(ReadWholeFile(*dir_ / "out.txt").value_or(""));
    Tdm dm(Db());
    std::size_t at = 0;
    for (const std::int32_t r : records) {
      const std::string name = Spaced(ToUtf8(dm.GetFirmName(r)));
      const std::size_t found = text.find(name, at);
      ASSERT_NE(found, std::string::npos) << "record " << r << " " << name;
      at = found + name.size();
    }
  }

  static TempDir* dir_;
};

TempDir* PrintToPdf::dir_ = nullptr;

TEST_F(PrintToPdf, ListsRangesAndSingleRecords) {
  const std::vector<std::int32_t> list = {7, 2, 41, 0, 19, 5, 3};
  const std::string lst = *dir_ / "some.lst";
  SaveListFile(lst, {}, list);

  const std::string card = "Карточка предприятия";  // three cards a page
  ExpectPdf({"--in", lst}, card, 3, list);
  ExpectPdf({"--in", lst, "--range", "3:5"}, card, 1, {41, 0, 19});
  ExpectPdf({"--in", lst, "--range", "6:99"}, card, 1, {5, 3});  // cut to the list
  ExpectPdf({"--in", lst, "--record", "4"}, card, 1, {0});
  ExpectPdf({"--in", lst}, "Адресные наклейки", 1, {7, 2, 41, 0, 19, 5, 3});

  const RecordList all = WholeBaseList(Tdm(Db()).RecordCount());
  ExpectPdf({}, card, static_cast<int>((all.size() + 2) / 3), all);
}

TEST_F(PrintToPdf, RefusalsLeaveNoPdf) {
  const std::string pdf = *dir_ / "refused.pdf";
  const std::string bad = *dir_ / "bad.rpt";
  const std::string card = Form("Карточка предприятия");
  const std::string huge = "9223372036854775807";
  WriteBytes(bad, "RPF0 is not enough");
  struct Case {
    Args args;
    int status;
    std::string message;
  } cases[] = {
      {{"print", bad, "--pdf", pdf}, 1, "Invalid stream format"},
      {{"print", card, "--record", "3001", "--pdf", pdf}, 1, "3001"},
      {{"print", card, "--record", huge, "--pdf", pdf}, 1, "нет записи с номером " + huge},
      {{"print", card, "--range", "5:2", "--pdf", pdf}, 2, "--range"},
      {{"print", card}, 2, "--pdf"},
  };
  for (const Case& c : cases) {
    Args args{"--db", Db()};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const auto [status, output] = Execute(ZOREL_CLI, args);
    EXPECT_EQ(status, c.status) << output;
    EXPECT_NE(output.find(c.message), std::string::npos) << output;
    EXPECT_FALSE(std::filesystem::exists(pdf));
  }
}

// Whatever stands at the PDF's name: a link is replaced (never written through), anything but a
// regular file or a new name is refused, and so are the base's files, the form being printed and
// a read-only file, each with the reason; what was there stays as it was.
TEST_F(PrintToPdf, TargetsAreReplacedOnlyWhenTheyAreOurs) {
  namespace fs = std::filesystem;
  const fs::path dir = dir_->path() / "targets";
  fs::create_directories(dir);
  const std::string card = Form("Карточка предприятия");
  WriteBytes(dir / "outside.txt", "outside");
  WriteBytes(dir / "readonly.pdf", "old");
  fs::permissions(dir / "readonly.pdf", fs::perms::owner_read | fs::perms::group_read);
  fs::create_symlink(dir / "outside.txt", dir / "link.pdf");
  fs::create_symlink(Db() + "/factory.dat", dir / "into-base.pdf");
  fs::create_symlink(dir / "nowhere.pdf", dir / "dangling.pdf");
  ASSERT_EQ(mkfifo((dir / "fifo.pdf").c_str(), 0644), 0);
  fs::create_directories(dir / "folder.pdf");
  fs::create_directories(dir / "\xff\xfe");  // a name that is not UTF-8
  const std::string factory = Db() + "/factory.dat";
  const std::string factoryBytes = ReadWholeFile(factory).value_or("");
  const std::string cardBytes = ReadWholeFile(card).value_or("");
  struct Case {
    std::string target;
    int status;
    std::string reason;
    std::string kept, keptBytes;  // a file that must stay as it was
  } cases[] = {
      {dir / "link.pdf", 0, "", dir / "outside.txt", "outside"},
      {dir / "into-base.pdf", 0, "", factory, factoryBytes},
      {dir / "dangling.pdf", 0, "", "", ""},
      {dir / "\xff\xfe/out.pdf", 0, "", "", ""},
      {dir / "fifo.pdf", 1, "не обычный файл", "", ""},
      {"/dev/full", 1, "не обычный файл", "", ""},
      {dir / "folder.pdf", 1, "не обычный файл", "", ""},
      {factory, 1, "файл базы данных", factory, factoryBytes},
      {Db() + "/new.pdf", 1, "файл базы данных", "", ""},
      {card, 1, "печатаемая форма", card, cardBytes},
      {dir / "readonly.pdf", 1, "файл только для чтения", dir / "readonly.pdf", "old"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    const auto [status, output] =
        Execute(ZOREL_CLI, {"--db", Db(), "print", card, "--record", "1", "--pdf", c.target});
    EXPECT_EQ(status, c.status) << output;
    if (c.status == 0) {
      EXPECT_FALSE(fs::is_symlink(c.target));
      EXPECT_TRUE(ReadWholeFile(c.target).value_or("").starts_with("%PDF"));
    } else {
      EXPECT_NE(output.find(c.target + ": " + c.reason), std::string::npos) << output;
    }
    if (!c.kept.empty()) {
      EXPECT_EQ(ReadWholeFile(c.kept).value_or(""), c.keptBytes);
    }
  }
  EXPECT_TRUE(fs::is_fifo(dir / "fifo.pdf"));
  EXPECT_FALSE(fs::exists(dir / "nowhere.pdf"));
  EXPECT_FALSE(fs::exists(Db() + "/new.pdf"));
}

}  // namespace
}  // namespace zorel
