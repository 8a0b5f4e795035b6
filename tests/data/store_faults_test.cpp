// Whatever single step of a write fails (a write, a short write on a full disk, a flush, a
// rename, a truncation, a file creation), nothing stored before is lost: every step of a remark
// change, a list save and an index build is made to fail in turn through the file system seam.
// (Print forms and PDFs, which the report engine writes, have the same table in tests/report.)
#include <gtest/gtest.h>

#include "data/data_module.h"
#include "data/errors.h"
#include "data/file_util.h"
#include "data/list_file.h"
#include "data/remark.h"
#include "dbwriter/db_writer.h"
#include "support/every_failing_step.h"
#include "support/sample_base.h"
#include "support/temp_dir.h"

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

}  // namespace
}  // namespace zorel
