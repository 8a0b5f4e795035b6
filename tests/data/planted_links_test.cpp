// Symbolic links in a base folder: a link planted at any temporary name is never written
// through, and a file that is itself a link is rewritten at its target, keeping the link, the
// target's owner and its permission bits.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "data/data_module.h"
#include "data/file_util.h"
#include "data/list_file.h"
#include "data/remark.h"
#include "dbwriter/db_writer.h"
#include "support/sample_base.h"
#include "support/temp_dir.h"

namespace zorel {
namespace {

using test_support::SampleBase;
using test_support::TempDir;
namespace fs = std::filesystem;

constexpr char kVictimBytes[] = "a file the program must never write";

// A store with a superseded entry, so that closing it compacts through remark.tmp.
void ChangeRemarks(const std::string& name) {
  TRemark store(name, 3);
  store.Set(1, "first");
  store.Set(1, "second");
}

TEST(PlantedLinks, NoTemporaryNameIsWrittenThroughALink) {
  const struct {
    const char* what;
    const char* link;  // inside the base's parent folder
    std::function<void(const TempDir&)> write;
  } cases[] = {
      {"an index built", "db/factory.idx.new", [](const TempDir& d) { Tdm dm(d / "db"); }},
      {"the item index built", "db/item.idx.new", [](const TempDir& d) { Tdm dm(d / "db"); }},
      {"the search file built", "db/factory.search.new",
       [](const TempDir& d) { Tdm dm(d / "db"); }},
      {"a list saved", "lists/a.lst.new",
       [](const TempDir& d) {
         SaveListFile(d / "lists/a.lst", {}, {1, 2});
       }},
      {"remarks compacted", "db/remark.tmp",
       [](const TempDir& d) { ChangeRemarks(d / "db/remark.dat"); }},
      {"a base generated", "db/factory.dat.new",
       [](const TempDir& d) { WriteDatabase(d / "db", SampleBase()); }},
      {"a generated side file", "db/item.dat.new",
       [](const TempDir& d) { WriteDatabase(d / "db", SampleBase()); }},
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
    if (root) ASSERT_EQ(chown(target.c_str(), 65534, 65534), 0);
    fs::create_symlink(target, link);
    c.rewrite(link);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(c.check(link));
    struct stat st {};
    ASSERT_EQ(stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    if (root) EXPECT_EQ(st.st_uid, 65534u);
  }
}

}  // namespace
}  // namespace zorel
