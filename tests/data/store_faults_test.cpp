// Whatever single step of a write fails (a write, a short write on a full disk, a flush, a
// rename, a truncation, a file creation), nothing stored before is lost: every step of a remark
// change, a list save and an index build is made to fail in turn through the file system seam.
// (Print forms and PDFs, which the report engine writes, have the same table in tests/report.)
#include <gtest/gtest.h>

#include <filesystem>

#include "data/data_module.h"
#include "data/errors.h"
#include "data/file_util.h"
#include "data/list_file.h"
#include "data/matcher.h"
#include "data/remark.h"
#include "dbwriter/db_writer.h"
#include "support/error_of.h"
#include "support/every_failing_step.h"
#include "support/sample_base.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"

namespace zorel {
namespace {

using test_support::FaultyFiles;
using test_support::ForEveryFailingStep;
using test_support::SampleBase;
using test_support::Strays;
using test_support::TempDir;

TEST(StoreFaults, AFailedStepLosesNoStoredRemark) {
  ForEveryFailingStep([](FaultyFiles& faulty) {
    TempDir dir;
    const std::string name = dir / "remark.dat";
    {
      TRemark before(name, 8);
      before.Set(0, "kept");
      before.Set(1, "old one");
      before.Set(2, "old two");
    }
    {
      ScopedFileSystem use(faulty);
      try {
        TRemark store(name, 8);
        store.Set(1, "new one");
        store.Set(2, "");
        store.Set(5, "new five");
      } catch (const DataError&) {
        // The change is refused; what follows checks that nothing else went.
      }
    }
    TRemark after(name, 8);
    EXPECT_EQ(after.Get(0), "kept");
    EXPECT_TRUE(after.Get(1) == "old one" || after.Get(1) == "new one") << after.Get(1);
    EXPECT_TRUE(after.Get(2) == "old two" || after.Get(2) == "") << after.Get(2);
    EXPECT_TRUE(after.Get(5) == "" || after.Get(5) == "new five") << after.Get(5);
    for (const std::int32_t r : {3, 4, 6, 7}) EXPECT_EQ(after.Get(r), "");
    // A cut entry may stay behind a failed truncation; it is copied aside before it is dropped.
    for (const std::string& stray : Strays(dir.path(), {"remark.dat"})) {
      EXPECT_EQ(stray.rfind("remark.dat.damaged-", 0), 0u) << stray;
    }
  });
}

TEST(StoreFaults, AFailedStepLeavesTheOldListWhole) {
  RecordList oldList{1, 2, 3}, newList{4, 5, 6, 7};
  ForEveryFailingStep([&](FaultyFiles& faulty) {
    TempDir dir;
    const std::string path = dir / "a.lst";
    SaveListFile(path, {}, oldList);
    {
      ScopedFileSystem use(faulty);
      try {
        SaveListFile(path, {}, newList);
      } catch (const EChildError&) {
      }
    }
    const RecordList found = LoadListFile(path, 10).records;
    EXPECT_TRUE(found == oldList || found == newList);
    EXPECT_EQ(Strays(dir.path(), {"a.lst"}), std::set<std::string>{});
  });
}

TEST(StoreFaults, AnIndexThatCannotBeSavedIsUsedFromMemory) {
  ForEveryFailingStep([](FaultyFiles& faulty) {
    TempDir dir;
    WriteDatabase(dir / "db", SampleBase());
    { TRemark create(dir / "db/remark.dat", 3); }
    ScopedFileSystem use(faulty);
    Tdm dm(dir / "db");
    EXPECT_EQ(dm.RecordCount(), 3);
    EXPECT_EQ(dm.ItemCount(), 8);
    EXPECT_EQ(dm.GetFirmName(2), test_support::W("Станкостроитель"));
  });
}

// A base its user may read but not write: it opens, serves records, searches, lists and the
// remarks stored so far, builds its missing indexes in memory, and refuses remark changes and
// list saves with the reason. Run as an unprivileged user (root drops to "nobody").
using test_support::ErrorOf;
using test_support::W;
namespace fs = std::filesystem;

TEST(ReadOnlyBase, OpensForReadingAndRefusesChangesWithTheReason) {
  TempDir dir;
  BaseSource base = SampleBase();
  base.remarks = std::vector<std::pair<std::int32_t, std::string>>{{1, W("стоит позвонить")}};
  WriteDatabase(dir / "db", base);
  fs::create_directories(dir.path() / "lists");
  SaveListFile(dir / "lists/a.lst", {}, {0, 2});
  const std::string remarkBytes = ReadWholeFile(dir / "db/remark.dat").value_or("");
  const std::vector<ProductKey> keys{ProductKey{1, 1}};
  RecordList found;
  {
    TempDir writable;
    WriteDatabase(writable / "db", base);
    Tdm dm(writable / "db");
    dm.FillAllRecords(found);
    MatchProducts(dm, found, keys);
  }
  ASSERT_FALSE(found.empty());

  const auto failures = test_support::RunOnReadOnly(dir.path(), [&]() -> std::string {
    std::string failures;
    auto expect = [&](bool ok, const char* what) {
      if (!ok) failures += std::string(what) + "\n";
    };
    Tdm dm(dir / "db");
    expect(dm.RecordCount() == 3, "every record served");
    expect(dm.GetFirmName(2) == W("Станкостроитель"), "a record read");
    expect(dm.GetRemark(1) == W("стоит позвонить"), "a stored remark shown");
    expect(dm.Remarks().ReadOnly(), "the store says it is read-only");
    RecordList list;
    dm.FillAllRecords(list);
    MatchProducts(dm, list, keys);
    expect(list == found, "a search answered");
    expect(LoadListFile(dir / "lists/a.lst", 3).records == RecordList{0, 2}, "a list read");
    const std::string refusal = ErrorOf<DataError>([&] { dm.SetRemark(0, "x"); });
    expect(refusal.find("только для чтения") != std::string::npos, "a remark change refused");
    expect(refusal.find("remark.dat: ") != std::string::npos, "the refusal names the file");
    expect(ErrorOf<EChildError>([&] { SaveListFile(dir / "lists/a.lst", {}, {1}); }) != "no error",
           "a list save refused");
    return failures;
  });
  if (!failures) GTEST_SKIP() << "no unprivileged user to run as";
  EXPECT_EQ(*failures, "");
  EXPECT_FALSE(FileExists(dir / "db/factory.idx"));
  EXPECT_EQ(ReadWholeFile(dir / "db/remark.dat").value_or(""), remarkBytes);
}

}  // namespace
}  // namespace zorel
