// Fuzz target: the remark store opened on bytes from the input, either in the current layout
// (the input's bytes after a proper header) or as they come (mostly the older layout of fixed
// slots), sometimes with a temporary file beside it as an interrupted rewrite leaves one; then
// changes with texts from the input, refused changes, closings (which compact after a change)
// and reopenings. After every step each record's remark must be what a plain reading of the
// first file and the changes since then say, and a file closed after a change must hold each
// remark exactly once.
#include <sys/stat.h>

#include <algorithm>
#include <memory>

#include "data/bytes.h"
#include "data/errors.h"
#include "data/file_system.h"
#include "data/file_util.h"
#include "data/remark.h"
#include "data/text1251.h"
#include "dbwriter/db_writer.h"
#include "fuzz_base.h"
#include "fuzz_check.h"

namespace zorel::fuzz {
namespace {

enum RemarkFlags : std::uint8_t {
  kCurrentLayout = 1,  // the piece follows a proper header
  kNoRemarkFile = 2,   // no remark.dat is placed
  kTempFile = 4,       // a remark.tmp is placed beside it
};

// What a file says, read by the format's rules: the remark of each record of the base, the
// live entries of records outside it (which closing keeps, in order), and how often a record
// of the base has an entry and whether one is flagged deleted.
struct Reading {
  std::vector<std::string> remarks;
  std::vector<std::string> foreign;
  std::vector<int> entries;
  bool deleted = false;
  std::size_t end = kRemarkHeaderSize;  // where the whole entries end (current layout)
};

Reading Read(const std::string& bytes, std::int32_t count) {
  Reading r;
  r.remarks.resize(static_cast<std::size_t>(count));
  r.entries.resize(static_cast<std::size_t>(count));
  const bool current = bytes.size() >= 12 && bytes.compare(4, 8, "REMARK01") == 0;
  if (!current) {
    // The older layout: one 200-byte slot a record, blanks and control characters around.
    for (std::size_t slot = 0; (slot + 1) * kOldRemarkSlot <= bytes.size(); ++slot) {
      const std::string text(
          Strip(std::string_view(bytes).substr(slot * kOldRemarkSlot, kOldRemarkSlot)));
      if (text.empty()) continue;
      if (slot < static_cast<std::size_t>(count)) {
        r.remarks[slot] = text;
        ++r.entries[slot];
      } else {
        std::string entry;
        PutU16(entry, static_cast<std::uint16_t>(text.size() + kRemarkEntryHead));
        PutU32(entry, static_cast<std::uint32_t>(slot));
        PutU8(entry, 0);
        r.foreign.push_back(entry + text);
      }
    }
    return r;
  }
  std::size_t pos = kRemarkHeaderSize;
  while (pos + kRemarkEntryHead <= bytes.size()) {
    const auto* head = AsBytes(bytes.data() + pos);
    const std::uint16_t length = LoadU16(head);
    if (length < kRemarkEntryHead || pos + length > bytes.size()) break;
    const std::int32_t record = LoadI32(head + 2);
    const bool deleted = head[6] != 0;
    if (record >= 0 && record < count) {
      const auto k = static_cast<std::size_t>(record);
      ++r.entries[k];
      r.deleted = r.deleted || deleted;
      if (!deleted) r.remarks[k] = bytes.substr(pos + kRemarkEntryHead, length - kRemarkEntryHead);
    } else if (!deleted) {
      r.foreign.push_back(bytes.substr(pos, length));
    }
    pos += length;
  }
  r.end = pos;
  return r;
}

std::int64_t FileSize(const std::string& path) {
  struct stat st {};
  return Files().StatPath(path, &st) == 0 ? st.st_size : -1;
}

class Session {
 public:
  Session(std::string name, std::int32_t count, Reading expected)
      : name_(std::move(name)), count_(count), expected_(std::move(expected)) {}

  void Open() {
    store_ = std::make_unique<TRemark>(name_, count_);
    FUZZ_CHECK(!FileExists(ChangeExtension(name_, ".tmp")));
    for (std::int32_t r = 0; r < count_; ++r) CheckRecord(r);
  }

  // Closing after a change compacts: afterwards the file holds each remark of the base
  // exactly once, no deleted entry, and every live entry of other records it had. Closing
  // without a change leaves the file as it was.
  void Close() {
    store_.reset();
    const std::string bytes = ReadWholeFile(name_).value_or("<missing>");
    const Reading r = Read(bytes, count_);
    FUZZ_CHECK(r.remarks == expected_.remarks);
    if (!changed_) return;
    FUZZ_CHECK(r.foreign == expected_.foreign);
    FUZZ_CHECK(!r.deleted);
    for (std::int32_t k = 0; k < count_; ++k) {
      FUZZ_CHECK(r.entries[static_cast<std::size_t>(k)] <= 1);
    }
    changed_ = false;
  }

  void Set(std::int32_t record, const std::string& text) {
    const std::int64_t before = FileSize(name_);
    if (record < 0 || record >= count_ || text.size() > kMaxRemarkLength) {
      bool refused = false;
      try {
        store_->Set(record, text);
      } catch (const BadInput&) {
        refused = true;
      }
      FUZZ_CHECK(refused);
      FUZZ_CHECK(FileSize(name_) == before);
      return;
    }
    std::string& current = expected_.remarks[static_cast<std::size_t>(record)];
    const std::string prior = ReadWholeFile(name_).value_or("");
    store_->Set(record, text);
    changed_ = changed_ || text != current;
    // A change appends one entry after the whole entries (after the header's 32 bytes, even
    // when a damaged file is shorter; damaged bytes after them are copied aside and cut off)
    // and nothing else.
    const auto end = static_cast<std::int64_t>(Read(prior, count_).end);
    const std::int64_t grown = kRemarkEntryHead + static_cast<std::int64_t>(text.size());
    FUZZ_CHECK(FileSize(name_) == (text == current ? before : end + grown));
    current = text;
    CheckRecord(record);
  }

  void CheckRecord(std::int32_t record) const {
    const std::string& expected = expected_.remarks[static_cast<std::size_t>(record)];
    FUZZ_CHECK(store_->Get(record) == expected);
    FUZZ_CHECK(store_->HasRemark(record) == !expected.empty());
  }

  std::int32_t count() const { return count_; }

 private:
  std::string name_;
  std::int32_t count_;
  Reading expected_;
  std::unique_ptr<TRemark> store_;
  bool changed_ = false;
};

}  // namespace
}  // namespace zorel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zorel;
  using namespace zorel::fuzz;
  InputReader in(data, size);
  const std::uint8_t flags = in.Byte();
  const std::int32_t count = in.U16() % 400;
  std::string file = in.Piece();
  if (flags & kCurrentLayout) file = EncodeRemarks({}) + file;
  const std::string temp = in.Piece();

  const InputFolder folder(MemoryFolder() + "/remarks");
  const std::string& dir = folder.dir();
  const std::string name = dir + "/remark.dat";
  std::string first;  // what the store must take as the file it opens
  if (!(flags & kNoRemarkFile)) {
    PutFile(name, file);
    first = file;
  }
  if (flags & kTempFile) {
    PutFile(ChangeExtension(name, ".tmp"), temp);
    if (flags & kNoRemarkFile) first = temp;  // the whole old file moved aside
  }
  if ((flags & (kNoRemarkFile | kTempFile)) == kNoRemarkFile) first = EncodeRemarks({});

  Session session(name, count, Read(first, count));
  session.Open();
  while (!in.empty()) {
    const std::uint8_t op = in.Byte();
    const std::int32_t record = static_cast<std::int32_t>(in.U16() % (count + 3)) - 1;
    switch (op % 4) {
      case 0:
      case 1:
        session.Set(record, in.Piece());
        break;
      case 2:
        session.Set(record, std::string(kMaxRemarkLength + 1 + op / 4, 'x'));
        break;
      default:
        session.Close();
        session.Open();
        break;
    }
  }
  session.Close();
  // A file closed clean opens and closes again without a byte changing.
  const std::string closed = ReadWholeFile(name).value_or("");
  session.Open();
  session.Close();
  FUZZ_CHECK(ReadWholeFile(name).value_or("") == closed);
  return 0;
}
