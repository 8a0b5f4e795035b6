// Whatever single step of a write fails (a write, a short write on a full disk, a flush, a
// rename, a truncation, a file creation), nothing stored before is lost: every step of a remark
// change, a list save and an index build is made to fail in turn through the file system seam.
// (Print forms and PDFs, which the report engine writes, have the same table in tests/report.)
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

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

namespace fs = std::filesystem;
using test_support::ErrorOf;
using test_support::FaultyFiles;
using test_support::ForEveryFailingStep;
using test_support::SampleBase;
using test_support::Strays;
using test_support::TempDir;
using test_support::W;

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
      ErrorOf<DataError>([&] {  // a refused change; what follows checks that nothing else went
        TRemark store(name, 8);
        store.Set(1, "new one");
        store.Set(2, "");
        store.Set(5, "new five");
      });
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
      ErrorOf<EChildError>([&] { SaveListFile(path, {}, newList); });
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

// Symbolic links in a base folder: a link planted at any temporary name is never written
// through, and a file that is itself a link is rewritten at its target, keeping the link, the
// target's owner and its permission bits.

constexpr char kVictimBytes[] = "a file the program must never write";

// A store with a superseded entry, so that closing it compacts through remark.tmp.
void ChangeRemarks(const std::string& name) {
  TRemark store(name, 3);
  store.Set(1, "first");
  store.Set(1, "second");
}

TEST(PlantedLinks, NoTemporaryNameIsWrittenThroughALink) {
  using Write = std::function<void(const TempDir&)>;
  const Write open = [](const TempDir& d) { Tdm dm(d / "db"); };
  const Write generate = [](const TempDir& d) { WriteDatabase(d / "db", SampleBase()); };
  const struct {
    const char* what;
    const char* link;  // inside the base's parent folder
    Write write;
  } cases[] = {
      {"an index built", "db/factory.idx.new", open},
      {"the item index built", "db/item.idx.new", open},
      {"the search file built", "db/factory.search.new", open},
      {"a list saved", "lists/a.lst.new",
       [](const TempDir& d) {
         SaveListFile(d / "lists/a.lst", {}, {1, 2});
       }},
      {"remarks compacted", "db/remark.tmp",
       [](const TempDir& d) { ChangeRemarks(d / "db/remark.dat"); }},
      {"a base generated", "db/factory.dat.new", generate},
      {"a generated side file", "db/item.dat.new", generate},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    WriteDatabase(dir / "db", SampleBase());
    fs::create_directories(dir.path() / "lists");
    WriteBytes(dir / "victim", kVictimBytes);
    fs::create_symlink(dir / "victim", dir / c.link);
    c.write(dir);
    EXPECT_EQ(ReadWholeFile(dir / "victim").value_or(""), kVictimBytes);
    // The link may be cleared away as a leftover, never turned into the file.
    EXPECT_FALSE(fs::is_regular_file(fs::symlink_status(dir / c.link)));
  }
}

// A derived file (an index, the search file) is ours: a link at its name is replaced by the
// file, and the file it points at (outside the base, or another file of it) is never written.
TEST(PlantedLinks, ALinkAtADerivedFileIsReplacedNotFollowed) {
  for (const char* derived : {"factory.search", "factory.idx", "item.idx"}) {
    for (const char* target : {"../outside.txt", "remark.dat", "item.dat"}) {
      SCOPED_TRACE(std::string(derived) + " -> " + target);
      TempDir dir;
      const std::string db = dir / "db";
      WriteDatabase(db, SampleBase());
      { Tdm(db).SetRemark(1, "kept"); }
      WriteBytes(dir / "outside.txt", kVictimBytes);
      const std::string victim = db + "/" + target;
      const std::string before = ReadWholeFile(victim).value();
      fs::remove(db + "/" + derived);
      fs::create_symlink(target, db + "/" + derived);
      {
        Tdm dm(db);
        EXPECT_EQ(ReadWholeFile(victim).value_or(""), before);
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(db + "/" + derived)));
        EXPECT_NE(dm.Columns(), nullptr);
        dm.SetRemark(2, "new");
      }
      Tdm dm(db);
      EXPECT_EQ(dm.RecordCount(), 3);
      EXPECT_EQ(dm.ItemCount(), static_cast<std::int32_t>(SampleBase().items.size()));
      EXPECT_EQ(dm.GetRemark(1), "kept");
      EXPECT_EQ(dm.GetRemark(2), "new");
      EXPECT_TRUE(dm.TakeNotices().empty());
    }
  }
}

TEST(PlantedLinks, ALinkToNothingIsNeverFollowedToCreateAFile) {
  TempDir dir;
  WriteDatabase(dir / "db", SampleBase());
  for (const char* name : {"db/remark.dat", "db/factory.idx"})
    fs::create_symlink(dir / "nowhere", dir / name);
  {
    Tdm dm(dir / "db");
    EXPECT_EQ(dm.RecordCount(), 3);
    EXPECT_TRUE(dm.Remarks().ReadOnly());
  }
  EXPECT_FALSE(fs::exists(dir.path() / "nowhere"));
}

TEST(PlantedLinks, ALinkedFileIsRewrittenAtItsTargetWithItsOwnerAndMode) {
  const struct {
    const char* what;
    const char* file;
    std::function<void(const std::string&)> rewrite;
    std::function<bool(const std::string&)> check;
  } cases[] = {
      {"remark file", "remark.dat", ChangeRemarks,
       [](const std::string& name) { return TRemark(name, 3).Get(1) == "second"; }},
      {"list file", "a.lst", [](const std::string& name) { SaveListFile(name, {}, {2}); },
       [](const std::string& name) { return LoadListFile(name, 3).records == RecordList{2}; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    fs::create_directories(dir.path() / "private");
    const std::string target = dir / "private/kept";
    const std::string link = dir / c.file;
    if (std::string(c.file) == "a.lst") SaveListFile(target, {}, {1});
    if (std::string(c.file) == "remark.dat") {
      TRemark create(target, 3);
    }
    ASSERT_EQ(chmod(target.c_str(), 0600), 0);
    // As root the target belongs to another user, whose file it must stay.
    const bool root = geteuid() == 0;
    if (root) {
      ASSERT_EQ(chown(target.c_str(), 65534, 65534), 0);
    }
    fs::create_symlink(target, link);
    c.rewrite(link);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(c.check(link));
    struct stat st {};
    ASSERT_EQ(stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    if (root) {
      EXPECT_EQ(st.st_uid, 65534u);
    }
  }
}

}  // namespace
}  // namespace zorel
