// zorel-mkdb run as a program: the demo sources build a base that the data module opens,
// synthetic bases are deterministic and agree with their emitted sources, small sources decode
// field by field, and faulty sources or arguments are refused with the place of the fault.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "data/class_object.h"
#include "data/classification.h"
#include "data/data_module.h"
#include "data/file_util.h"
#include "data/item_scan.h"
#include "data/list_file.h"
#include "data/record_details.h"
#include "data/remark.h"
#include "data/text1251.h"
#include "support/run_program.h"
#include "support/sample_base.h"
#include "support/temp_dir.h"

namespace zorel {
namespace {

namespace fs = std::filesystem;
using test_support::DetailsText;
using test_support::FolderBytes;
using test_support::TempDir;
using test_support::W;

struct RunResult {
  int code;
  std::string output;  // stdout and stderr together
};

RunResult Mkdb(const std::vector<std::string>& args) {
  std::vector<std::string> words{ZOREL_MKDB};
  words.insert(words.end(), args.begin(), args.end());
  const test_support::RunResult r = test_support::RunProgram(std::move(words));
  return {r.status, r.out + r.err};
}

void Write(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  WriteBytes(path.string(), text);
}

// A small, fully known set of sources (UTF-8).
void WriteSmallSources(const fs::path& dir) {
  Write(dir / "base.csv", "key,value\nedition,Демо\ndate,2003-05-15\nseparator,-\n");
  Write(dir / "kinds.csv", "label\nпр-во\n\"опт  \"\n");
  Write(dir / "forms.csv", "name\nОАО\nООО\n");
  Write(dir / "countries.csv", "name\nБеларусь\nРоссия\n");
  Write(dir / "regions.csv", "name\nМинская обл.\nг. Минск\n");
  Write(dir / "branches.csv", "name\nМашиностроение\n");
  Write(dir / "items.csv",
        "id,name\n10,Станки\n20,станки токарные\n30,болт м12\n40,токарные станки\n");
  Write(dir / "classes.csv",
        "code,item,kind,hidden\n1,10,пр-во,\n1.1,20,пр-во,\n1.1.1,30,опт,\n"
        "1.1,40,,1\n");
  Write(dir / "enterprises.csv",
        "name,form,year,staff,postcode,country,region,phone_code,address,head,phones,fax,email,"
        "url,advert,products,remark\n"
        "\"Завод \"\"Прогресс\"\"\",ОАО,1995,1200,220000,Беларусь,г. Минск,017,"
        "\"г. Минск, ул. Ленина, 1\",Иванов И.И.,222-33-44,222-33-45,info@progress.by,"
        "www.progress.by,\"Станки.\nДоставка.\",пр-во:20; опт :30,Надежный партнер\r\n"
        "Фирма,,,,,,,,,,,,,,,,\n");
  Write(dir / "lists/Выборка.txt",
        "# two records\npanels: requisites advert\nlower-height: 120\nwindow: 640 400\n"
        "records:\n1 0  # both\n");
}

std::vector<ClassEntry> ClassEntries(Tdm& dm) {
  std::vector<ClassEntry> entries;
  for (std::int32_t i = 0; const std::uint8_t* p = dm.GetClassEntry(i); ++i) {
    entries.push_back(ClassEntry::Decode(p));
  }
  return entries;
}

// An entry's id, item, count, kind and codes, for one comparison.
std::string Describe(const ClassEntry& e) {
  std::string s = std::to_string(e.id) + " " + std::to_string(e.item) + " " +
                  std::to_string(e.count) + " " + std::to_string(e.kind) + " ";
  for (const std::uint32_t c : e.codes) s += std::to_string(c) + ".";
  return s;
}

int Depth(const ClassEntry& e) {
  int d = 0;
  while (d < 5 && e.codes[static_cast<std::size_t>(d)] != 0) ++d;
  return d;
}

// The small sources in dir/src, built into dir/out.
class MkdbSources : public ::testing::Test {
 protected:
  void SetUp() override { WriteSmallSources(dir.path() / "src"); }
  void Source(const std::string& file, const std::string& text) {
    Write(dir.path() / "src" / file, text);
  }
  RunResult Build() { return Mkdb({dir / "src", dir / "out"}); }
  // Expects the build refused with these messages and nothing written.
  void ExpectRefused(const std::vector<std::string>& messages) {
    const RunResult r = Build();
    EXPECT_EQ(r.code, 2);
    for (const auto& m : messages)
      EXPECT_NE(r.output.find(m), std::string::npos) << m << "\n" << r.output;
    EXPECT_FALSE(fs::exists(dir.path() / "out"));
  }

  TempDir dir;
};

TEST_F(MkdbSources, SmallSourcesDecodeFieldByField) {
  const RunResult r = Build();
  ASSERT_EQ(r.code, 0) << r.output;
  EXPECT_FALSE(FileExists(dir / "out/db/factory.idx"));

  Tdm dm(dir / "out/db");
  ASSERT_EQ(dm.RecordCount(), 2);
  EXPECT_EQ(dm.ItemCount(), 4);
  EXPECT_EQ(dm.Header().edition, W("Демо"));
  EXPECT_EQ(dm.Header().baseDay, 37756);  // 15 May 2003
  EXPECT_EQ(dm.Header().kindSeparator, "-");
  EXPECT_EQ(dm.Header().kindLabels, (std::vector<std::string>{W("пр-во"), W("опт  ")}));

  // A line break in a source is CR LF.
  EXPECT_EQ(DetailsText(dm, 0),
            "Завод \"Прогресс\"|ОАО|1995|1200|220000|Беларусь, г. Минск|г. Минск, ул. Ленина, 1|"
            "Иванов И.И.|017    |222-33-45|222-33-44|info@progress.by|www.progress.by|"
            "Станки.\r\nДоставка.|1. пр-во - станки токарные\r\n2. опт - болт м12\r\n|"
            "Надежный партнер");
  EXPECT_EQ(DetailsText(dm, 1), "Фирма|||0|      ||||       |||||||");

  // Ids are row numbers, items positions in items.csv, counts follow from the visible tree.
  std::vector<std::string> classes;
  for (const ClassEntry& e : ClassEntries(dm)) classes.push_back(Describe(e));
  EXPECT_EQ(classes, (std::vector<std::string>{"1 1 2 1 1.0.0.0.0.", "2 2 2 1 1.1.0.0.0.",
                                               "3 3 1 2 1.1.1.0.0.", "4 4 0 0 1.1.0.0.0."}));

  const LoadedList list = LoadListFile(dir / "out/lists/Выборка.lst", dm.RecordCount());
  ASSERT_EQ(list.status, ListFileStatus::Ok);
  const ListFileHeader& h = list.header;
  EXPECT_EQ(std::tuple(h.requisitesShown, h.lowerShown, h.advertShown, h.lowerHeight, h.windowWidth,
                       h.windowHeight),
            std::tuple(true, false, true, 120, 640, 400));
  EXPECT_EQ(list.records, (RecordList{1, 0}));
}

TEST_F(MkdbSources, FaultsAreReportedWithTheirPlaceAndNothingIsWritten) {
  std::string forms = "name\n";
  for (int i = 1; i <= 128; ++i) forms += "Форма " + std::to_string(i) + "\n";
  const char* const kFirms = "enterprises.csv";
  const struct {
    const char* file;   // inside the sources folder; written over the small sources' file
    std::string text;   // empty: the file is removed
    const char* place;  // the message after the file's name and ":"
  } cases[] = {
      {kFirms, "name,form\n\"Завод,ОАО\n", "2:1: the quoted field is not closed"},
      {kFirms, "name\n\"Завод\"x\n", "2:8: text after the closing quote of a field"},
      {kFirms, "name,year\nЗавод\n", "2:1: the row has 1 fields, the header names 2 columns"},
      {kFirms, "name,year\nЗавод,19x5\n",
       "2:7: year: \"19x5\" is not a whole number from -32768 to 32767"},
      {kFirms, "name,form\nЗавод,АОА\n", "2:7: form: no entry \"АОА\" in forms.csv"},
      {kFirms, "name,products\nЗавод,пр-во:20; опт:99\n",
       "2:21: products: no item with id \"99\" in items.csv"},
      {kFirms, "name\nЗавод 中\n", "2:7: name: the character \"中\" has no Windows-1251 form"},
      {kFirms, "name,postcode\nЗавод,2200001\n",
       "2:7: postcode: the text takes 7 characters, at most 6 fit"},
      // 70 + 5 + 2 x 20000 bytes: each field fits, the record does not.
      {kFirms,
       "name,address,advert\nЗавод," + std::string(20000, 'a') + "," + std::string(20000, 'b'),
       "2:1: the record takes 40075 bytes, at most 32768 fit"},
      {kFirms, "", " the file is missing"},
      {"forms.csv", forms, "129:1: name: more than 127 entries cannot be numbered"},
      {"classes.csv", "code,item\n1,10\n7.1,20\n", "3:1: code: no entry has the parent code 7"},
      {"classes.csv", "code\n1..2\n", "2:3: code: the code must be one to five"},
      {"items.csv", "id,name,colour\n", "1:9: unknown column \"colour\""},
      {"items.csv", "id,name\n5,а\n5,б\n", "3:1: id: item 5 is already defined"},
      {"base.csv", "key,value\ndate,15.05.2003\n",
       "2:6: value: the date must be written YYYY-MM-DD"},
      {"lists/bad.txt", "panels: requisites\nrecords:\n0 5\n",
       "3:3: \"5\" is not a whole number from 0 to 1"},
      {"lists/bad.txt", "0 1\n", "1:1: a line \"key: value\" or \"records:\""},
      {"lists/bad.txt", "panels: lower\n", "2:1: the line \"records:\" is missing"},
      {"items.csv", "id,name\n1,\xff\n", "2:3: name: byte 0xFF is not UTF-8"},
      {"kinds.csv", "label\na;b\n", "2:2: label: \";\" is not allowed here"},
      {"classes.csv", "code,hidden\n1,yes\n", "2:3: hidden: write 1 for a hidden"},
      {"base.csv", "key,value\nseparator,--\n",
       "2:11: value: the kind separator must be exactly one character"},
  };
  for (const auto& c : cases) {
    const std::string expected = fs::path(c.file).filename().string() + ":" + c.place;
    SCOPED_TRACE(expected);
    fs::remove_all(dir.path() / "src");
    WriteSmallSources(dir.path() / "src");
    if (c.text.empty()) {
      fs::remove(dir.path() / "src" / c.file);
    } else {
      Source(c.file, c.text);
    }
    ExpectRefused({expected, "nothing was written"});
  }
}

TEST_F(MkdbSources, SpreadsheetStyleFilesAreRead) {
  // Byte order mark, CR LF, quoted headers in another order, blank lines, blanks around
  // names and numbers, optional columns and files left out.
  Source("enterprises.csv",
         "\xEF\xBB\xBF\"products\",\"name\",\"year\",\"form\",\"country\"\r\n\r\n"
         "\" пр-во : 20 \",\"Завод, \"\"Искра\"\"\", 1990 , ОАО ,Россия\r\n\r\n");
  fs::remove(dir.path() / "src/regions.csv");
  Source("lists/Выборка.txt", "records:\n0\n");
  const RunResult r = Build();
  ASSERT_EQ(r.code, 0) << r.output;
  EXPECT_FALSE(FileExists(dir / "out/db/remark.dat"));  // no remark column
  EXPECT_EQ(ReadWholeFile(dir / "out/db/reg.dat"), "");

  Tdm dm(dir / "out/db");
  ASSERT_EQ(dm.RecordCount(), 1);
  EXPECT_EQ(
      DetailsText(dm, 0),
      "Завод, \"Искра\"|ОАО|1990|0|      |Россия, |||       ||||||1. пр-во - станки токарные\r\n|");
  const LoadedList list = LoadListFile(dir / "out/lists/Выборка.lst", dm.RecordCount());
  EXPECT_EQ(list.records, (RecordList{0}));
  EXPECT_TRUE(list.header.requisitesShown && list.header.lowerShown && list.header.advertShown);
}

TEST_F(MkdbSources, ReportsManyFaultsInOneRun) {
  Source("enterprises.csv", "name,year,form\nА,x,\nБ,1990,ЗАО\nВ,y,\n");
  ExpectRefused({"enterprises.csv:2:3: year", "enterprises.csv:3:8: form",
                 "enterprises.csv:4:3: year", "3 error(s)"});
}

TEST(MkdbArguments, WrongArgumentsAndUnwritableOutputsAreRefused) {
  TempDir dir;
  WriteBytes(dir / "file", "not a folder");
  const std::string usage = "usage:";
  const struct {
    std::vector<std::string> args;
    int code;
    std::string message;
  } cases[] = {
      {{}, 2, usage},
      {{dir / "only-one"}, 2, usage},
      {{"--synthetic", "many", dir / "out"}, 2, usage},
      {{"--synthetic", "-1", dir / "out"}, 2, usage},
      {{"--synthetic", "4000001", dir / "out"}, 2, usage},
      {{"--synthetic", "10", "--seed"}, 2, usage},
      {{"--synthetic", "10", "--seed", "x", dir / "out"}, 2, usage},
      {{"--synthetic", "10"}, 2, usage},
      {{"--emit-sources", "10", dir / "a", dir / "b"}, 2, usage},
      {{"--synthetic", "10", dir / "file/out"}, 1, "the output is incomplete"},
  };
  for (const auto& c : cases) {
    const RunResult r = Mkdb(c.args);
    EXPECT_EQ(r.code, c.code) << r.output;
    EXPECT_NE(r.output.find(c.message), std::string::npos) << r.output;
  }
  EXPECT_FALSE(fs::exists(dir.path() / "out"));
}

TEST_F(MkdbSources, ABaseIsRebuiltOnlyWhenAskedAndKeepsItsRemarksAndLists) {
  ASSERT_EQ(Build().code, 0);
  TRemark(dir / "out/db/remark.dat", 2).Set(1, W("записал пользователь"));
  WriteBytes(dir / "out/lists/Выборка.lst", "a list the user changed");
  const auto before = FolderBytes(dir / "out");

  const RunResult refused = Build();
  EXPECT_EQ(refused.code, 2);
  EXPECT_NE(refused.output.find("--replace"), std::string::npos) << refused.output;
  EXPECT_EQ(FolderBytes(dir / "out"), before);

  Source("base.csv", "key,value\nedition,Новая\ndate,2003-05-15\nseparator,-\n");
  const RunResult replaced = Mkdb({"--replace", dir / "src", dir / "out"});
  ASSERT_EQ(replaced.code, 0) << replaced.output;
  EXPECT_NE(replaced.output.find("remark.dat"), std::string::npos) << replaced.output;
  const auto after = FolderBytes(dir / "out");
  EXPECT_EQ(after.at("db/remark.dat"), before.at("db/remark.dat"));
  EXPECT_EQ(after.at("lists/Выборка.lst"), before.at("lists/Выборка.lst"));
  EXPECT_EQ(Tdm(dir / "out/db").Header().edition, W("Новая"));
}

TEST(MkdbSynthetic, TheSameSeedGivesTheSameBytesAndSourcesThatBuildThem) {
  TempDir dir;
  ASSERT_EQ(Mkdb({"--synthetic", "300", "--seed", "9", dir / "a"}).code, 0);
  ASSERT_EQ(Mkdb({"--synthetic", "300", "--seed", "9", dir / "b"}).code, 0);
  ASSERT_EQ(Mkdb({"--synthetic", "300", "--seed", "8", dir / "c"}).code, 0);
  ASSERT_EQ(Mkdb({"--emit-sources", "300", "--seed", "9", dir / "src"}).code, 0);
  const RunResult built = Mkdb({dir / "src", dir / "built"});
  ASSERT_EQ(built.code, 0) << built.output;
  const auto a = FolderBytes(dir / "a");
  EXPECT_EQ(a.size(), 9u);  // seven data files, two lists
  EXPECT_EQ(a, FolderBytes(dir / "b"));
  EXPECT_EQ(a, FolderBytes(dir / "built"));
  EXPECT_NE(a.at("db/factory.dat"), FolderBytes(dir / "c").at("db/factory.dat"));
}

TEST(MkdbDemo, TheDemoBaseOpensWithBelievableContent) {
  TempDir dir;
  const RunResult r = Mkdb({ZOREL_DEMO_SOURCES, dir / "out"});
  ASSERT_EQ(r.code, 0) << r.output;
  Tdm dm(dir / "out/db");

  EXPECT_GE(dm.RecordCount(), 3000);

  for (std::int32_t i = 0; i < dm.RecordCount(); ++i) {
    const RecordView rec = dm.GetRecordView(i);
    ASSERT_TRUE(rec.valid()) << i;
    EXPECT_FALSE(dm.GetFirmName(i).empty()) << i;
    EXPECT_FALSE(dm.GetEntry(FieldDictionary::Countries, rec.Country() - 1).empty()) << i;
    EXPECT_LE(rec.OrgForm(), static_cast<int>(dm.OrgForms().size()));
    ASSERT_GT(rec.ProductCount(), 0u) << i;
    for (std::size_t k = 0; k < rec.ProductCount(); ++k) {
      const ProductEntry p = rec.Product(k);
      EXPECT_TRUE(p.kind >= 1 && p.kind <= 3) << i;
      ASSERT_TRUE(p.item >= 1 && p.item <= static_cast<std::uint32_t>(dm.ItemCount())) << i;
      // Products are lower-case names, which the product scan finds.
      EXPECT_FALSE(IsScanCapital(static_cast<std::uint8_t>(dm.GetItemName(p.item - 1)[0])));
    }
  }

  // A classification of at least 500 entries over five levels; headings (levels 1 and 2) are
  // capitalised, products (levels 3 to 5) lower-case.
  const auto classes = ClassEntries(dm);
  EXPECT_GE(classes.size(), 500u);
  std::set<int> levels;
  for (const auto& e : classes) {
    const int depth = Depth(e);
    levels.insert(depth);
    ASSERT_TRUE(e.item >= 1 && e.item <= static_cast<std::uint32_t>(dm.ItemCount()));
    const auto first = static_cast<std::uint8_t>(dm.GetItemName(e.item - 1)[0]);
    EXPECT_EQ(IsScanCapital(first), depth <= 2) << dm.GetItemName(e.item - 1);
  }
  EXPECT_EQ(levels, (std::set<int>{1, 2, 3, 4, 5}));
  const auto roots = ExpandNode(dm, TClassInfo::Root());
  EXPECT_GE(roots.size(), 5u);
  for (const auto& root : roots) EXPECT_GE(ExpandNode(dm, root.info).size(), 1u);

  EXPECT_FALSE(ScanItemNames(dm, {W("маш")}).items.empty());

  int lists = 0;
  for (const auto& e : fs::directory_iterator(dir.path() / "out/lists")) {
    const LoadedList list = LoadListFile(e.path().string(), dm.RecordCount());
    ASSERT_EQ(list.status, ListFileStatus::Ok) << e.path();
    EXPECT_FALSE(list.records.empty()) << e.path();
    ++lists;
  }
  EXPECT_GE(lists, 2);
}

}  // namespace
}  // namespace zorel
