// A base with damaged files: records that cannot be served are counted and named once, and a
// list "file" that is no regular file (a pipe) is refused instead of waited on.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "data/data_module.h"
#include "data/errors.h"
#include "data/list_file.h"
#include "dbwriter/db_writer.h"
#include "support/sample_base.h"
#include "support/temp_dir.h"

namespace zorel {
namespace {

using test_support::SampleBase;
using test_support::TempDir;

TEST(DamagedBase, SaysOnceHowManyRecordsCannotBeServedAndWhere) {
  TempDir dir;
  WriteDatabase(dir / "db", SampleBase());
  {
    Tdm clean(dir / "db");
    EXPECT_EQ(clean.TakeNotices(), std::vector<std::string>{});
  }
  // The last record cut short: its index entry still fits the file, the record does not.
  const auto size = std::filesystem::file_size(dir / "db/factory.dat");
  std::filesystem::resize_file(dir / "db/factory.dat", size - 5);
  Tdm dm(dir / "db");
  EXPECT_EQ(dm.RecordCount(), 3);
  EXPECT_EQ(dm.TakeNotices(), std::vector<std::string>{"Не читаются записи файла " + (dir / "db/") +
                                                       "factory.dat: 1 из 3"});
  EXPECT_EQ(dm.TakeNotices(), std::vector<std::string>{});
}

TEST(DamagedBase, OnlyRegularFilesAreReadAsLists) {
  TempDir dir;
  const std::string pipe = dir / "pipe.lst";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  std::filesystem::create_directories(dir.path() / "folder.lst");
  for (const std::string& path : {pipe, dir / "folder.lst"}) {
    SCOPED_TRACE(path);
    EXPECT_THROW(LoadListFile(path, 10), EChildError);
    RecordList list{1};
    EXPECT_THROW(MergeListFile(list, path, MergeMode::Append, 10), EChildError);
    EXPECT_EQ(list, RecordList{1});
  }
}

}  // namespace
}  // namespace zorel
