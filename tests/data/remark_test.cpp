// The remarks store: appending and compaction, the older layout, files left by a crash or
// damaged on disk, refused input, and inputs the fuzz targets (fuzz/) turned up.
#include "data/remark.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "data/bytes.h"
#include "data/errors.h"
#include "data/file_util.h"
#include "dbwriter/db_writer.h"
#include "support/error_of.h"
#include "support/run_program.h"
#include "support/sample_base.h"
#include "support/temp_dir.h"

namespace zorel {
namespace {

using test_support::ErrorOf;
using test_support::FileBytes;
using test_support::KeptCopies;
using test_support::TempDir;
using test_support::W;

std::string Header() { return EncodeRemarks({}); }

std::string Entry(std::int32_t record, const std::string& text, bool deleted = false) {
  std::string e;
  PutU16(e, static_cast<std::uint16_t>(text.size() + 7));
  PutU32(e, static_cast<std::uint32_t>(record));
  PutU8(e, deleted ? 1 : 0);
  return e + text;
}

// A folder for the store's file, remark.dat.
class RemarkStore : public ::testing::Test {
 protected:
  TempDir dir;
  const std::string name = dir / "remark.dat";
};

TEST_F(RemarkStore, StartsWithAHeaderOnlyFileThatStaysSoWithoutChanges) {
  {
    TRemark remarks(name, 10);
    EXPECT_EQ(FileBytes(name), Header());
    EXPECT_EQ(remarks.Get(0), "");
    EXPECT_FALSE(remarks.HasRemark(0));
  }
  EXPECT_EQ(FileBytes(name), Header());
  EXPECT_FALSE(FileExists(dir / "remark.tmp"));
}

TEST_F(RemarkStore, AppendsEachChangeAndCompactsAtClose) {
  {
    TRemark remarks(name, 10);
    remarks.Set(3, "abcde");
    EXPECT_EQ(FileBytes(name), Header() + Entry(3, "abcde"));
    remarks.Set(3, "abcde");
    EXPECT_EQ(FileBytes(name).size(), 32u + 12u);
    remarks.Set(3, "ABCDE");  // case counts
    remarks.Set(3, "xyz");
    EXPECT_EQ(FileBytes(name),
              Header() + Entry(3, "abcde", true) + Entry(3, "ABCDE", true) + Entry(3, "xyz"));
    EXPECT_EQ(remarks.Get(3), "xyz");
    EXPECT_TRUE(remarks.HasRemark(3));
  }
  EXPECT_EQ(FileBytes(name), Header() + Entry(3, "xyz"));
  EXPECT_FALSE(FileExists(dir / "remark.tmp"));
}

TEST_F(RemarkStore, ClearingARemarkLeavesAnEmptyEntry) {
  {
    TRemark remarks(name, 10);
    remarks.Set(1, "a");
    remarks.Set(1, "");
    EXPECT_EQ(remarks.Get(1), "");
    EXPECT_FALSE(remarks.HasRemark(1));
    const auto size = FileBytes(name).size();
    remarks.Set(2, "");  // equals the absent remark: nothing to store
    EXPECT_EQ(FileBytes(name).size(), size);
  }
  EXPECT_EQ(FileBytes(name), Header() + Entry(1, ""));
}

TEST_F(RemarkStore, ConvertsTheOlderLayoutOfFixedSlots) {
  std::string old = "abc" + std::string(197, ' ');
  old += std::string(200, ' ');
  const std::string third = "\t  hi there \r\n";
  old += third + std::string(200 - third.size(), '\0');
  old += "cut";  // a trailing part shorter than a slot
  WriteBytes(name, old);
  {
    TRemark remarks(name, 3);
    EXPECT_EQ(FileBytes(dir / "remark.old"), old);
    EXPECT_EQ(remarks.TakeNotices().size(), 1u);
    EXPECT_EQ(remarks.Get(0), "abc");
    EXPECT_EQ(remarks.Get(1), "");
    EXPECT_EQ(remarks.Get(2), "hi there");
    EXPECT_EQ(FileBytes(name), Header() + Entry(0, "abc") + Entry(2, "hi there"));
  }
  EXPECT_EQ(FileBytes(name), Header() + Entry(0, "abc") + Entry(2, "hi there"));
  EXPECT_FALSE(FileExists(dir / "remark.tmp"));
}

TEST_F(RemarkStore, TakesAnyOtherSignatureForTheOlderLayout) {
  std::string file = Header();
  file.replace(4, 8, "REMARK02");
  const std::string original = file + std::string(200 - file.size(), ' ');
  WriteBytes(name, original);
  WriteBytes(dir / "remark.old", "an older copy");
  TRemark remarks(name, 3);
  EXPECT_EQ(FileBytes(name), Header() + Entry(0, "REMARK02"));
  // An older copy is never overwritten: the new one goes beside it.
  EXPECT_EQ(FileBytes(dir / "remark.old"), "an older copy");
  EXPECT_EQ(KeptCopies(dir.path(), "remark.old-"), std::vector<std::string>{original});
}

TEST_F(RemarkStore, LaterOfTwoLiveEntriesCountsAndCompactionKeepsOnlyIt) {
  // What a crash between appending a change and flagging the old entry leaves behind.
  const std::string left = Header() + Entry(3, "old") + Entry(1, "one") + Entry(3, "new");
  WriteBytes(name, left);
  {
    TRemark remarks(name, 5);
    EXPECT_EQ(remarks.Get(3), "new");
    EXPECT_EQ(remarks.Get(1), "one");
  }
  EXPECT_EQ(FileBytes(name), left);  // reading changes nothing
  {
    TRemark remarks(name, 5);
    remarks.Set(0, "zero");
  }
  EXPECT_EQ(FileBytes(name), Header() + Entry(1, "one") + Entry(3, "new") + Entry(0, "zero"));
}

TEST_F(RemarkStore, KeepsEntriesOfRecordsOutsideTheBase) {
  WriteBytes(name, Header() + Entry(-1, "neg") + Entry(7, "far") + Entry(2, "x", true) +
                       Entry(7, "farther") + Entry(2, "y") + Entry(9, "gone", true));
  {
    TRemark remarks(name, 5);
    EXPECT_EQ(remarks.Get(2), "y");
    EXPECT_EQ(remarks.Get(-1), "");
    EXPECT_EQ(remarks.Get(7), "");
    EXPECT_FALSE(remarks.HasRemark(7));
    remarks.Set(2, "z");
  }
  EXPECT_EQ(FileBytes(name),
            Header() + Entry(-1, "neg") + Entry(7, "far") + Entry(7, "farther") + Entry(2, "z"));
  TRemark larger(name, 10);
  EXPECT_EQ(larger.Get(7), "farther");
}

TEST_F(RemarkStore, DamagedTailEndsTheScanAndLaterChangesStayVisible) {
  std::string badLength = Entry(1, "");
  badLength[0] = 6;
  const struct {
    const char* what;
    std::string tail;
  } cases[] = {
      {"length below the entry head", badLength + Entry(1, "hidden")},
      {"zero length", std::string(7, '\0') + Entry(1, "hidden")},
      {"cut inside the entry head", Entry(1, "hidden").substr(0, 4)},
      {"cut inside the text", Entry(1, "twenty bytes of text").substr(0, 12)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    const std::string name = dir / "remark.dat";
    const std::string damaged = Header() + Entry(0, "kept") + c.tail;
    WriteBytes(name, damaged);
    {
      TRemark remarks(name, 5);
      EXPECT_EQ(remarks.Get(0), "kept");
      EXPECT_EQ(remarks.Get(1), "");
    }
    EXPECT_EQ(FileBytes(name), damaged);  // opening and reading change nothing
    EXPECT_EQ(KeptCopies(dir.path(), "remark.dat.damaged-"), std::vector<std::string>{});
    {
      TRemark remarks(name, 5);
      remarks.Set(4, "new");
      const auto notices = remarks.TakeNotices();
      ASSERT_EQ(notices.size(), 1u);
      EXPECT_NE(notices[0].find("remark.dat.damaged-"), std::string::npos);
    }
    // The bytes the change cut off are kept, in a copy of the whole file as it was.
    EXPECT_EQ(KeptCopies(dir.path(), "remark.dat.damaged-"), std::vector<std::string>{damaged});
    TRemark reopened(name, 5);
    EXPECT_EQ(reopened.Get(0), "kept");
    EXPECT_EQ(reopened.Get(4), "new");
    EXPECT_EQ(FileBytes(name), Header() + Entry(0, "kept") + Entry(4, "new"));
  }
}

TEST_F(RemarkStore, RefusesTooLongTextsAndRecordsOutsideTheBase) {
  TRemark remarks(name, 5);
  remarks.Set(0, "short");
  const std::string before = FileBytes(name);
  EXPECT_THROW(remarks.Set(0, std::string(65529, 'x')), BadInput);
  EXPECT_THROW(remarks.Set(-1, "x"), BadInput);
  EXPECT_THROW(remarks.Set(5, "x"), BadInput);
  EXPECT_EQ(FileBytes(name), before);
  EXPECT_EQ(remarks.Get(0), "short");
  EXPECT_EQ(remarks.Get(-1), "");
  EXPECT_EQ(remarks.Get(5), "");

  const std::string longest(kMaxRemarkLength, 'z');
  remarks.Set(1, longest);
  EXPECT_EQ(remarks.Get(1), longest);
  EXPECT_EQ(LoadU16(AsBytes(FileBytes(name).data() + before.size())), 65535);
}

// A temporary file left by a crash: beside a remark file it is dropped, in place of a missing
// one it is taken.
TEST_F(RemarkStore, SettlesATemporaryFileLeftByACrash) {
  for (const bool remarkFile : {true, false}) {
    SCOPED_TRACE(remarkFile);
    TempDir dir;
    const std::string name = dir / "remark.dat";
    if (remarkFile) WriteBytes(name, Header() + Entry(1, "real"));
    WriteBytes(dir / "remark.tmp", Header() + Entry(1, "left"));
    const std::string kept = remarkFile ? "real" : "left";
    EXPECT_EQ(TRemark(name, 5).Get(1), kept);
    EXPECT_FALSE(FileExists(dir / "remark.tmp"));
    EXPECT_EQ(FileBytes(name), Header() + Entry(1, kept));
  }
}

TEST_F(RemarkStore, ReportsAFileThatCannotBeOpened) {
  for (const std::string& name : {dir / "missing/remark.dat", dir / "folder"}) {
    SCOPED_TRACE(name);
    std::filesystem::create_directories(dir / "folder/inside");
    const std::string what = ErrorOf<DataError>([&] { TRemark remarks(name, 5); });
    EXPECT_EQ(what.substr(0, what.find('\n')), "Не могу открыть файл " + name);
    EXPECT_NE(what.find("\n" + name + ": "), std::string::npos) << what;
  }
}

// remarks target: a temporary file standing in for a missing remark file, holding the
// signature but cut inside the 32-byte header. Changes go after a whole header (the gap reads
// as zeros) and the remark is found again after closing and reopening.
TEST(FuzzRegressions, ARemarkFileCutInsideItsHeaderTakesChangesAfterAWholeHeader) {
  TempDir dir;
  const std::string name = dir / "remark.dat";
  const std::string cut = EncodeRemarks({}).substr(0, 18);
  WriteBytes(ChangeExtension(name, ".tmp"), cut);
  {
    TRemark remarks(name, 10);
    EXPECT_FALSE(FileExists(ChangeExtension(name, ".tmp")));
    EXPECT_EQ(remarks.Get(2), "");
    remarks.Set(2, "abc");
    EXPECT_EQ(remarks.Get(2), "abc");
  }
  const std::string bytes = ReadWholeFile(name).value_or("");
  ASSERT_EQ(bytes.size(), 32u + 7u + 3u);
  EXPECT_EQ(bytes.substr(0, 18), cut);
  EXPECT_EQ(bytes.substr(18, 14), std::string(14, '\0'));
  TRemark reopened(name, 10);
  EXPECT_EQ(reopened.Get(2), "abc");
}

// remarks target: a file whose last bytes are no whole entry. Storing the text a record already
// has changes nothing, not even that tail; a real change keeps the whole file aside first.
TEST(FuzzRegressions, StoringAnUnchangedRemarkLeavesADamagedTailAlone) {
  TempDir dir;
  const std::string name = dir / "remark.dat";
  const std::string damaged = EncodeRemarks({}) + std::string("\x20\0\0\0tail", 8);
  WriteBytes(name, damaged);
  TRemark remarks(name, 10);
  remarks.Set(2, "");
  EXPECT_EQ(ReadWholeFile(name).value_or(""), damaged);
  remarks.Set(2, "abc");
  EXPECT_EQ(remarks.Get(2), "abc");
  EXPECT_EQ(ReadWholeFile(name).value_or("").size(), 32u + 7u + 3u);
  EXPECT_EQ(KeptCopies(dir.path(), "remark.dat.damaged-").size(), 1u);
}

}  // namespace
}  // namespace zorel
