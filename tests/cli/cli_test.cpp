// End-to-end tests of zorel-cli: each test writes a base into a temporary folder, runs the
// built executable on it and compares what it prints, its exit status and the files it
// leaves behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "data/file_util.h"
#include "data/list_file.h"
#include "dbwriter/db_writer.h"
#include "support/run_program.h"
#include "support/sample_base.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"

namespace zorel {
namespace {

using test_support::FileBytes;
using test_support::Lines;
using test_support::RunResult;
using test_support::SampleBase;
using test_support::TempDir;
using test_support::W;
using Args = std::vector<std::string>;

// Runs zorel-cli with the arguments in the folder cwd, stdin empty, both streams captured.
RunResult RunCli(const Args& args, const std::string& cwd) {
  std::vector<std::string> words{ZOREL_CLI};
  words.insert(words.end(), args.begin(), args.end());
  return test_support::RunProgram(std::move(words), cwd);
}

// The sample base, with a remark on record 1, in root/db; list files beside it, named by the
// records they hold, and some that are not list files.
class Cli : public ::testing::Test {
 protected:
  void SetUp() override {
    Write(Base());
    const std::pair<const char*, RecordList> lists[] = {
        {"201", {2, 0, 1}}, {"210", {2, 1, 0}},     {"2", {2}}, {"02", {0, 2}}, {"empty", {}},
        {"b", {1, 2, 7}},   {"a", {2, 9, 0, -1, 2}}};
    for (const auto& [name, records] : lists) SaveListFile(list(name), {}, records);
    WriteBytes(list("tail"), FileBytes(list("2")) + "\x02\x00\x00");
    WriteBytes(list("short"), "ISL");
    WriteBytes(list("magic"), "ISLB" + std::string(9, '\0'));
  }

  static BaseSource Base() {
    BaseSource b = SampleBase();
    b.remarks = std::vector<std::pair<std::int32_t, std::string>>{{1, W("  важный клиент ")}};
    return b;
  }
  void Write(const BaseSource& base) { WriteDatabase(db(), base); }
  std::string db() const { return root_ / "db"; }
  std::string list(const std::string& name) const { return root_ / ("" + name + ".lst"); }
  RunResult Run(const Args& args) {
    Args all{"--db", db()};
    all.insert(all.end(), args.begin(), args.end());
    return RunCli(all, root_.path().string());
  }
  // Expects success with exactly that output and nothing on stderr.
  void ExpectOut(const Args& args, const std::string& out) {
    SCOPED_TRACE(::testing::PrintToString(args));
    const RunResult r = Run(args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, out);
    EXPECT_EQ(r.err, "");
  }
  // Expects the status, a message on stderr (exactly `err` when given) and no output.
  void ExpectFailure(const Args& args, int status, const std::string& err = "") {
    SCOPED_TRACE(::testing::PrintToString(args));
    const RunResult r = Run(args);
    EXPECT_EQ(r.status, status);
    EXPECT_EQ(r.out, "");
    if (err.empty()) {
      EXPECT_FALSE(r.err.empty());
    } else {
      EXPECT_EQ(r.err, err);
    }
  }

  TempDir root_;
};

// One run of the tool in the fixture's folder: its exit status, and its exact output on success
// or its message on failure ("" for any message). Only a remark change may alter a file; the
// derived index files may be built.
struct CliCase {
  const char* name;
  Args args;
  int status;
  std::string out{}, err{};
};
void PrintTo(const CliCase& c, std::ostream* os) { *os << c.name; }

const std::string kCsvHeader =
    "record,name,orgform,year,staff,index,location,address,head,code,fax,phones,email,url,"
    "advert,products,remark,has_advert\r\n";
const std::string kCsvRow2 = "2,Станкостроитель,,,15,      ,,,,       ,,,,,,,,false\r\n";
const std::string kNoList = "Не могу найти файл со списком none.lst\n";
const std::string kBadList = "Файл списка неверного формата\n";

const CliCase kCases[] = {
    {"Info",
     {"info"},
     0,
     Lines({"records: 3", "items: 8", "classes: 8", "edition: 2003", "base-date: 2023-03-15",
            "kind-separator: -", "kind-label: пр-во", "kind-label: опт  ", "kind-label: торг "})},
    {"NoCommand", {}, 2},
    {"UnknownCommand", {"frobnicate"}, 2},
    {"ExtraArgument", {"info", "extra"}, 2},
    {"UnknownOption", {"info", "--verbose"}, 2},
    {"ShowWithoutRecord", {"show"}, 2},
    {"ShowTwoRecords", {"show", "1", "2"}, 2},
    {"ShowRecord0",
     {"show", "0"},
     0,
     R"({"record":0,"name":"Минский ЗАВОД","orgform":"оао","year":"1995","staff":"1200",)"
     R"("index":"220000","location":"Беларусь, Минская обл.","address":"ул. Ленина, 1",)"
     R"("head":"Иванов И.И.","code":"017    ","fax":"222-33-44","phones":"222-33-45",)"
     R"("email":"info@zavod.by","url":"www.zavod.by","advert":"Лучшие станки",)"
     R"("products":"1. пр-во - станок токарный\r\n2. опт - болт м12\r\n","remark":"",)"
     R"("has_advert":true})"
     "\n"},
    {"ShowRecord1",
     {"show", "1"},
     0,
     R"({"record":1,"name":"Брестский комбинат","orgform":"ОАО Плюс","year":"1990",)"
     R"("staff":"0","index":"      ","location":"Украина, ","address":"","head":"",)"
     R"("code":"       ","fax":"","phones":"","email":"","url":"","advert":"",)"
     R"("products":"1. торг - гайка\r\n","remark":"важный клиент","has_advert":false})"
     "\n"},
    {"ShowPastTheEnd", {"show", "3"}, 1, "", "Проблемы на записи (3)\n"},
    {"ShowNegative", {"show", "-1"}, 1, "", "Проблемы на записи (-1)\n"},
    {"ShowLetters", {"show", "x"}, 2},
    {"ShowEmptyNumber", {"show", ""}, 2},
    {"ShowFraction", {"show", "1.5"}, 2},
    {"ShowPlusSign", {"show", "+1"}, 2},
    {"ShowHex", {"show", "0x1"}, 2},
    {"SearchEverything", {"search"}, 0, "0\n1\n2\n"},
    {"SearchContainsAnyCase", {"search", "--cond", "0:1:0:0:завод"}, 0, "0\n"},
    {"SearchContainsCase", {"search", "--cond", "0:1:0:1:ЗАВОД"}, 0, "0\n"},
    {"SearchYearEquals", {"search", "--cond", "2:1:3:0:1990"}, 0, "0\n"},
    {"SearchStaffNegated", {"search", "--cond", "6:1:1:1:0"}, 0, "1\n"},
    {"SearchProducts", {"search", "--cond", "16:1:0:0:станок"}, 0, "0\n"},
    {"SearchRemark", {"search", "--cond", "13:1:0:0:ВАЖН"}, 0, "1\n"},
    {"SearchEmptyAdvert", {"search", "--cond", "12:1:2:0:"}, 0, "1\n2\n"},
    {"SearchTwoConditions",
     {"search", "--cond", "0:1:0:0:ск", "--cond", "2:1:5:0:1990"},
     0,
     "0\n1\n"},
    {"SearchValueCutAt255",
     {"search", "--cond", "0:1:1:0:Минский ЗАВОД" + std::string(242, ' ') + "q"},
     0,
     "0\n"},
    {"SearchInAListKeepsItsOrder", {"search", "--in", "a.lst"}, 0, "2\n0\n2\n"},
    {"SearchInAList", {"search", "--in", "a.lst", "--cond", "0:1:0:0:ск"}, 0, "0\n"},
    {"SearchInAMissingList", {"search", "--in", "none.lst"}, 1, "", kNoList},
    {"SearchInABadList", {"search", "--in", "magic.lst"}, 1, "", kBadList},
    {"ProductsOfTwoFragments", {"products", "цем", "гайка"}, 0, "5\tгайка\n7\tцемент\n"},
    {"ProductsBlankFragment", {"products", "  ", "болт м"}, 0, "2\tболт м12\n"},
    {"ProductsLeadingBlank", {"products", " болт"}, 0, "3\tанкерный болт\n"},
    {"ProductsWithoutFragment", {"products"}, 2},
    {"ProductsOnlyBlanks", {"products", "   "}, 2},
    {"ProductsOutsideTheCodePage", {"products", "болт", "中"}, 2},
    {"MatchProductsAnyKind", {"match-products", "0:2"}, 0, "0\n"},
    {"MatchProductsOtherItem", {"match-products", "0:5"}, 0, "1\n"},
    {"MatchProductsTwoKeys", {"match-products", "3:5", "0:1"}, 0, "0\n1\n"},
    {"MatchProductsInAList", {"match-products", "--in", "210.lst", "0:1", "0:5"}, 0, "1\n0\n"},
    {"MatchProductsKindPast255", {"match-products", "256:1"}, 2},
    {"MatchProductsNegativeItem", {"match-products", "0:-1"}, 2},
    {"MatchProductsLetters", {"match-products", "0:x"}, 2},
    {"MatchProductsThreeParts", {"match-products", "1:2:3"}, 2},
    {"MatchProductsEmptyKey", {"match-products", ""}, 2},
    {"MatchProductsWithoutKey", {"match-products"}, 2},
    {"TreeRoot", {"tree"}, 0, "2.0.0.0.0\t2\t3\tгайка\n1.0.0.0.0\t2\t1\tСтанки\n"},
    {"TreeChild", {"tree", "1.0.0.0.0"}, 0, "1.1.0.0.0\t2\t1\tстанок токарный\n"},
    {"TreeSkipsHidden", {"tree", "2.0.0.0.0"}, 0, "2.4.0.0.0\t1\t0\t1С-программа\n"},
    {"TreeLeaf", {"tree", "1.1.1.1.1"}, 0, ""},
    {"TreeTwoNodes", {"tree", "1.0.0.0.0", "2.0.0.0.0"}, 2},
    {"BranchKeys", {"branch-keys", "2.0.0.0.0"}, 0, "3:5\n3:7\n0:6\n"},
    {"BranchKeysOfSeveral",
     {"branch-keys", "2.3.0.0.0", "1.1.1.0.0", "1.1.1.0.0"},
     0,
     "2:2\n2:3\n1:4\n3:7\n"},
    {"BranchKeysWithoutNode", {"branch-keys"}, 2},
    {"BranchSearch", {"branch-search", "2.0.0.0.0"}, 0, "1\n"},
    {"BranchSearchRoot", {"branch-search", "0.0.0.0.0"}, 0, "0\n1\n"},
    {"BranchSearchInAList", {"branch-search", "--in", "210.lst", "0.0.0.0.0"}, 0, "1\n0\n"},
    {"ListShowSkipsOutsiders", {"list-show", "a.lst"}, 0, "2\n0\n2\n"},
    {"ListShowEmpty", {"list-show", "empty.lst"}, 0, ""},
    {"ListShowIgnoresATail", {"list-show", "tail.lst"}, 0, "2\n"},
    {"ListShowShortHead", {"list-show", "short.lst"}, 1, "", kBadList},
    {"ListShowWrongMagic", {"list-show", "magic.lst"}, 1, "", kBadList},
    {"ListShowMissing", {"list-show", "none.lst"}, 1, "", kNoList},
    {"ListShowWithoutFile", {"list-show"}, 2},
    {"ListMergeAppend", {"list-merge", "a.lst", "b.lst", "--append"}, 0, "0\n1\n2\n"},
    {"ListMergeSubtract", {"list-merge", "--subtract", "a.lst", "b.lst"}, 0, "0\n"},
    {"ListMergeItself", {"list-merge", "a.lst", "a.lst", "--append"}, 0, "0\n2\n"},
    {"ListMergeLessItself", {"list-merge", "a.lst", "a.lst", "--subtract"}, 0, ""},
    {"ListMergeBadSecond", {"list-merge", "a.lst", "short.lst", "--append"}, 1, "", kBadList},
    {"ListMergeBadFirst", {"list-merge", "short.lst", "a.lst", "--append"}, 1, "", kBadList},
    {"ListMergeMissing", {"list-merge", "a.lst", "none.lst", "--subtract"}, 1, "", kNoList},
    {"ListMergeWithoutMode", {"list-merge", "a.lst", "b.lst"}, 2},
    {"ListMergeTwoModes", {"list-merge", "a.lst", "b.lst", "--append", "--subtract"}, 2},
    {"ListMergeOneFile", {"list-merge", "a.lst", "--append"}, 2},
    {"RemarkLongest", {"remark", "0", "--set", std::string(65528, 'a')}, 0, ""},
    {"RemarkTooLong", {"remark", "0", "--set", std::string(65529, 'b')}, 2},
    {"RemarkOutsideTheCodePage", {"remark", "0", "--set", "中"}, 2},
    {"RemarkPastTheEnd", {"remark", "3", "--set", "x"}, 1, "", "Проблемы на записи (3)\n"},
    {"RemarkNegative", {"remark", "-1"}, 1, "", "Проблемы на записи (-1)\n"},
    {"RemarkSetWithoutText", {"remark", "0", "--set"}, 2},
    {"ExportCsvOfAList", {"export", "--format", "csv", "--in", "2.lst"}, 0, kCsvHeader + kCsvRow2},
    {"ExportCsvOfAnEmptyList", {"export", "--in", "empty.lst"}, 0, kCsvHeader},
    {"ExportJsonOfAnEmptyList", {"export", "--format=json", "--in", "empty.lst"}, 0, "[\n]\n"},
    {"ExportUnknownFormat", {"export", "--format", "xml"}, 2},
    {"ExportTwoFormats", {"export", "--format", "csv", "--format", "json"}, 2},
    {"ExportUnknownField", {"export", "--out", "x.xlsx", "--fields", "17"}, 2},
    {"ExportJsonToAFile", {"export", "--out", "x.xlsx", "--format", "json"}, 2},
    {"ExportOddSeparator", {"export", "--out", "x.csv", "--separator", "|"}, 2},
    {"ExportFieldsWithoutFile", {"export", "--fields", "0"}, 2},
    {"SummaryByDecade",
     {"summary", "--in", "201.lst", "--by", "decade"},
     0,
     "decade\t2\t1990-1999\ndecade\t1\tне указан\n"},
    {"SummaryByUnknownAxis", {"summary", "--by", "colour"}, 2},
};

class CliCommand : public Cli, public ::testing::WithParamInterface<CliCase> {};

// The base's own files and the lists, without the derived files an opening may build.
std::map<std::string, std::string> Kept(const std::string& root) {
  auto files = test_support::FolderBytes(root);
  std::erase_if(files, [](const auto& f) {
    return f.first.ends_with(".idx") || f.first.ends_with(".search");
  });
  return files;
}

TEST_P(CliCommand, AnswersAsItShould) {
  const CliCase& c = GetParam();
  const auto before = Kept(root_.path());
  if (c.status == 0) {
    ExpectOut(c.args, c.out);
  } else {
    ExpectFailure(c.args, c.status, c.err);
  }
  if (c.args.empty() || c.args[0] != "remark" || c.status != 0) {
    EXPECT_EQ(Kept(root_.path()), before);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, CliCommand, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Cli, InfoDatesAndEmptyEdition) {
  for (const auto& [day, date] : {std::pair{1, "none"}, {-1, "1899-12-29"}, {61, "1900-03-01"}}) {
    BaseSource b = SampleBase();
    b.baseDay = day;
    b.edition.clear();
    b.kindLabels.clear();
    Write(b);
    ExpectOut({"info"}, Lines({"records: 3", "items: 8", "classes: 8", "edition: ",
                               std::string("base-date: ") + date, "kind-separator: -"}));
  }
}

TEST_F(Cli, DefaultBaseFolderIsDbBesideTheWorkingDirectory) {
  std::filesystem::create_directories(root_ / "bin/deeper");
  RunResult r = RunCli({"info"}, root_ / "bin");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, 11), "records: 3\n");
  r = RunCli({"info"}, root_ / "bin/deeper");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "Не могу открыть файл данных !!!\n../db/factory.dat: No such file or directory\n");
  EXPECT_EQ(RunCli({"--db=" + db(), "info"}, root_ / "bin/deeper").status, 0);
  EXPECT_EQ(RunCli({"--db"}, root_.path().string()).status, 2);
  const RunResult help = RunCli({"--help"}, root_.path().string());
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("zorel-cli [--db DIR] COMMAND"), std::string::npos);
}

TEST_F(Cli, UnusableBaseExitsOneWithTheSystemMessage) {
  WriteBytes(db() + "/factory.dat", "SDF6");
  ExpectFailure({"info"}, 1,
                "Неверная версия файла данных !!!\n" + db() +
                    "/factory.dat: нет метки SDF63 в начале файла\n");
}

// The commands that need Qt run in the companion, beside the tool in the build tree or in
// libexec/zorel of an installed tree; without it they fail plainly, the others still work.
TEST_F(Cli, ACommandOfTheCompanionRunsItWhereverTheTreeIsInstalled) {
  const std::filesystem::path companion =
      std::filesystem::path(ZOREL_CLI).parent_path() / "zorel-cli-qt";
  if (!std::filesystem::exists(companion)) GTEST_SKIP() << "built without Qt: no companion";
  const std::string tool = root_ / "usr/bin/zorel-cli";
  std::filesystem::create_directories(root_ / "usr/bin");
  std::filesystem::copy_file(ZOREL_CLI, tool);
  const std::string forms = root_ / "forms";
  const RunResult alone = test_support::RunProgram({tool, "--db", db(), "sample-forms", forms});
  EXPECT_EQ(alone.status, 1);
  for (const char* place : {"/usr/bin/zorel-cli-qt", "/usr/libexec/zorel/zorel-cli-qt"}) {
    EXPECT_NE(alone.err.find(root_.path().string() + place + ": No such file or directory"),
              std::string::npos)
        << alone.err;
  }
  EXPECT_EQ(test_support::RunProgram({tool, "--db", db(), "info"}).status, 0);

  std::filesystem::create_directories(root_ / "usr/libexec/zorel");
  std::filesystem::copy_file(companion, root_ / "usr/libexec/zorel/zorel-cli-qt");
  const RunResult installed = test_support::RunProgram({tool, "--db", db(), "sample-forms", forms});
  EXPECT_EQ(installed.status, 0) << installed.err;
  EXPECT_FALSE(std::filesystem::is_empty(forms));
}

TEST_F(Cli, ShowEscapesControlCharactersInJson) {
  BaseSource b = SampleBase();
  b.enterprises[0].name = "a\"b\\c\td\x01";
  b.enterprises[0].address = "line1\r\nline2";
  Write(b);
  const RunResult r = Run({"show", "0"});
  EXPECT_NE(r.out.find(R"("name":"a\"b\\c\td\u0001")"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(R"("address":"line1\r\nline2")"), std::string::npos) << r.out;
}

TEST_F(Cli, SearchRejectsBadConditionsBeforeOpeningTheBase) {
  std::filesystem::remove_all(db());
  for (const char* spec :
       {"17:1:0:0:x", "a:1:0:0:x", "0:2:0:0:x", "0:1:7:0:x", "0:1:3:0:x", "2:1:0:0:5",
        "2:1:3:0:abc", "6:1:1:0:99999999999", "0:1:0:0", "", "0:1:0:0:中"}) {
    ExpectFailure({"search", "--cond", spec}, 2);
  }
  ExpectFailure({"search", "--cond"}, 2);
  ExpectFailure({"search", "0:1:0:0:x"}, 2);
}

TEST_F(Cli, ProductsStopsListingAtTheLimit) {
  // The scan's limit itself is the core's test; here what the tool says when it is reached.
  BaseSource b = SampleBase();
  b.items.assign(10001, W("шуруп"));
  Write(b);
  const RunResult r = Run({"products", "шуруп"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 10000);
  EXPECT_EQ(r.err, "Выбраны только первые 10000 значений !!!\n");
}

TEST_F(Cli, NodesAreCheckedBeforeUse) {
  for (const char* node :
       {"1.0.2.0.0", "1.2.3.4", "a.0.0.0.0", "4294967296.0.0.0.0", "9.0.0.0.0"}) {
    for (const char* command : {"tree", "branch-keys", "branch-search"}) {
      ExpectFailure({command, node}, 2);
    }
  }
}

TEST_F(Cli, RemarkRoundTripThroughSeparateRuns) {
  const std::string remarks = db() + "/remark.dat";
  const std::string old = W("  важный клиент ");
  ExpectOut({"remark", "1"}, "важный клиент\n");
  ExpectOut({"remark", "0", "--set", "  Новое\r\nпримечание "}, "");
  const std::string stored = W("  Новое\r\nпримечание ");
  EXPECT_EQ(FileBytes(remarks).size(), 32 + 7 + old.size() + 7 + stored.size());
  ExpectOut({"remark", "0"}, "Новое\r\nпримечание\n");
  ExpectOut({"search", "--cond", "13:1:0:0:примечание"}, "0\n");
  EXPECT_NE(Run({"show", "0"}).out.find(R"("remark":"Новое\r\nпримечание")"), std::string::npos);

  // The same text stores nothing; another text supersedes it and the file is compacted at exit.
  const std::string before = FileBytes(remarks);
  ExpectOut({"remark", "0", "--set", "  Новое\r\nпримечание "}, "");
  EXPECT_EQ(FileBytes(remarks), before);
  ExpectOut({"remark", "0", "--set", "ok"}, "");
  EXPECT_EQ(FileBytes(remarks).size(), 32 + 7 + old.size() + 7 + 2);
  ExpectOut({"remark", "0"}, "ok\n");
  ExpectOut({"remark", "0", "--set", ""}, "");
  ExpectOut({"remark", "0"}, "\n");
  ExpectOut({"remark", "2", "--set", "--dash"}, "");
  ExpectOut({"remark", "2"}, "--dash\n");
}

TEST_F(Cli, ARemarkChangeOnAReadOnlyBaseExitsOneAndSaysWhy) {
  ExpectOut({"remark", "1", "--set", "есть"}, "");
  const auto failures = test_support::RunOnReadOnly(root_.path(), [&]() -> std::string {
    const RunResult read = Run({"remark", "1"});
    const RunResult set = Run({"remark", "1", "--set", "другое"});
    std::string failures;
    if (read.status != 0 || read.out != "есть\n") failures += "read: " + read.err + "\n";
    if (set.status != 1 || set.err.find("только для чтения") == std::string::npos) {
      failures += "set: " + std::to_string(set.status) + " " + set.err + "\n";
    }
    return failures;
  });
  if (!failures) GTEST_SKIP() << "no unprivileged user to run as";
  EXPECT_EQ(*failures, "");
  ExpectOut({"remark", "1"}, "есть\n");
}

TEST_F(Cli, ExportWritesCsvWithAHeaderRowAndQuotesWhatNeedsIt) {
  const RunResult r = Run({"export"});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string row0 =
      "0,Минский ЗАВОД,оао,1995,1200,220000,\"Беларусь, Минская обл.\",\"ул. Ленина, 1\","
      "Иванов И.И.,017    ,222-33-44,222-33-45,info@zavod.by,www.zavod.by,Лучшие станки,"
      "\"1. пр-во - станок токарный\r\n2. опт - болт м12\r\n\",,true\r\n";
  EXPECT_EQ(r.out.substr(0, kCsvHeader.size() + row0.size()), kCsvHeader + row0);
  EXPECT_EQ(r.out.substr(r.out.size() - kCsvRow2.size()), kCsvRow2);

  BaseSource b = SampleBase();
  b.enterprises[2].name = "say \"hi\", bye";
  b.enterprises[2].address = "a\nb";
  Write(b);
  const RunResult quoted = Run({"export", "--in", list("2")});
  EXPECT_NE(quoted.out.find("\r\n2,\"say \"\"hi\"\", bye\",,,15,      ,,\"a\nb\","),
            std::string::npos)
      << quoted.out;
}

TEST_F(Cli, ExportJsonHoldsTheObjectsOfShow) {
  std::string expected = "[\n";
  for (const char* n : {"2", "0", "1"}) {
    const std::string shown = Run({"show", n}).out;
    expected += shown.substr(0, shown.size() - 1) + (n[0] == '1' ? "\n" : ",\n");
  }
  ExpectOut({"export", "--format", "json", "--in", list("201")}, expected + "]\n");
}

// Reads a spreadsheet file back as a spreadsheet program would, through Python: openpyxl for
// XLSX, the csv module for CSV. Prints one line per fact, rows as Python tuples.
RunResult ReadBack(const std::string& script, const std::vector<std::string>& args) {
  // Debian's own interpreter, which python3-openpyxl serves.
  std::vector<std::string> words{"/usr/bin/python3", "-c", script};
  words.insert(words.end(), args.begin(), args.end());
  return test_support::RunProgram(std::move(words), {}, {"PYTHONIOENCODING=utf-8"});
}

const char* const kReadXlsx = R"(
import sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
ws = wb.active
print(wb.sheetnames, ws.freeze_panes, ws['A1'].font.b)
for row in ws.iter_rows(values_only=True):
    print(row)
print([int(ws.column_dimensions[c.column_letter].width) for c in ws[1]])
)";

const char* const kReadCsv = R"(
import sys, csv
with open(sys.argv[1], newline='', encoding=sys.argv[2]) as f:
    for row in csv.reader(f, delimiter=sys.argv[3]):
        print(tuple(row))
)";

TEST_F(Cli, ExportToXlsxReadsBackAsASpreadsheet) {
  BaseSource b = Base();
  b.enterprises[2].name = "a\x01 \"b\" & <c>";
  Write(b);
  const std::string out = root_ / "out.xlsx";
  ExpectOut({"export", "--in", list("201"), "--out", out, "--fields", "0,2,6,16", "--remarks"}, "");
  const RunResult r = ReadBack(kReadXlsx, {out});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, Lines({
                       "['Список'] A2 True",
                       "('Наименование предприятия', 'Год основания', 'Численность', "
                       "'Наименование продукции', 'Примечания')",
                       "('a  \"b\" & <c>', None, 15, None, None)",
                       "('Минский ЗАВОД', 1995, 1200, 'пр-во - станок токарный; опт - болт м12.',"
                       " None)",
                       "('Брестский комбинат', 1990, 0, 'торг - гайка.', '  важный клиент ')",
                       "[26, 15, 13, 42, 18]",
                   }));
}

TEST_F(Cli, ExportToCsvInEitherEncodingAndSeparator) {
  struct Case {
    const char* encoding;
    const char* separator;
    const char* python;  // how Python opens it
    const char* start;   // the file's first bytes
  };
  for (const Case& c : {Case{"utf-8", ";", "utf-8-sig", "\xEF\xBB\xBF\xD0\x9D"},
                        Case{"windows-1251", ",", "cp1251", "\xCD"}}) {
    SCOPED_TRACE(c.encoding);
    const std::string out = root_ / "out.csv";
    ExpectOut({"export", "--in", list("02"), "--out", out, "--format", "csv", "--fields", "0,8,2",
               "--encoding", c.encoding, "--separator", c.separator},
              "");
    EXPECT_EQ(FileBytes(out).substr(0, std::string(c.start).size()), c.start);
    const RunResult r = ReadBack(kReadCsv, {out, c.python, c.separator});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              Lines({"('Наименование предприятия', 'Адрес', 'Год основания')",
                     "('Минский ЗАВОД', 'ул. Ленина, 1', '1995')", "('Станкостроитель', '', '')"}));
  }
  // Without fields named: the record's fields but the remark, in their order.
  const std::string out = root_ / "all.csv";
  ExpectOut({"export", "--out", out, "--format", "csv"}, "");
  const std::string text = FileBytes(out);
  EXPECT_EQ(text.substr(0, text.find("\r\n")),
            "\xEF\xBB\xBFНаименование предприятия;Форма собственности;Год основания;Почтовый "
            "индекс;Страна;Регион;Численность;Телефонный код города;Адрес;Руководитель;Факс;Все "
            "контактные телефоны;Реклама;Электронный адрес;Адрес в интернет;Наименование "
            "продукции");
}

TEST_F(Cli, ExportNeverWritesOntoTheBase) {
  const std::string factory = db() + "/factory.dat";
  const std::string before = FileBytes(factory);
  std::filesystem::create_symlink(factory, root_ / "link.xlsx");
  std::filesystem::create_hard_link(factory, root_ / "hard.csv");
  for (const std::string& target : {factory, db() + "/new.xlsx", std::string(root_ / "link.xlsx"),
                                    std::string(root_ / "hard.csv")}) {
    SCOPED_TRACE(target);
    const RunResult r = Run({"export", "--out", target});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("относится к базе"), std::string::npos) << r.err;
  }
  EXPECT_EQ(FileBytes(factory), before);
  EXPECT_FALSE(std::filesystem::exists(db() + "/new.xlsx"));
}

TEST_F(Cli, SummaryPrintsTheBarsOfEachAxis) {
  const RunResult all = Run({"summary"});
  ASSERT_EQ(all.status, 0) << all.err;
  for (const char* line : {"region\t2\tне указан\n", "staff\t1\tболее 1000\n",
                           "products\t1\tгайка\n", "orgform\t1\tоао\n", "country\t1\tУкраина\n"}) {
    EXPECT_NE(all.out.find(line), std::string::npos) << line;
  }
}

}  // namespace
}  // namespace zorel
