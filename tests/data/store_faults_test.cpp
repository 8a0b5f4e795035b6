// Whatever single step of a write fails (a write, a short write on a full disk, a flush, a
// rename, a truncation, a file creation), nothing stored before is lost: every step of a remark
// change, a list save and an index build is made to fail in turn through the file system seam.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "data/data_module.h"
#include "data/errors.h"
#include "data/file_util.h"
#include "data/list_file.h"
#include "data/remark.h"
#include "dbwriter/db_writer.h"
#include "support/faulty_files.h"
#include "support/sample_base.h"
#include "support/temp_dir.h"

namespace zorel {
namespace {

using test_support::Fault;
using test_support::FaultName;
using test_support::FaultyFiles;
using test_support::kEveryFault;
using test_support::SampleBase;
using test_support::TempDir;

// Names in the folder other than the expected ones: temporaries a failure left behind.
std::set<std::string> Strays(const TempDir& dir, const std::set<std::string>& expected) {
  std::set<std::string> strays;
  for (const auto& f : std::filesystem::recursive_directory_iterator(dir.path())) {
    const std::string name = f.path().filename().string();
    if (f.is_regular_file() && !expected.count(name)) strays.insert(name);
  }
  return strays;
}

// Runs a scenario with the nth step of each kind failing, until no such step is left.
template <typename Scenario>
void ForEveryFailingStep(Scenario scenario) {
  for (const Fault fault : kEveryFault) {
    for (int nth = 1;; ++nth) {
      SCOPED_TRACE(std::string(FaultName(fault)) + ", step " + std::to_string(nth));
      FaultyFiles faulty(fault, nth);
      scenario(faulty);
      if (!faulty.Fired() || nth > 200) break;
    }
  }
}

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
    for (const std::string& stray : Strays(dir, {"remark.dat"})) {
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
    EXPECT_EQ(Strays(dir, {"a.lst"}), std::set<std::string>{});
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
