// TRemark: remark.dat kept open for the store's life; reads and writes go through pread/pwrite
// at explicit offsets. Callers use one TRemark per file at a time.
#include "data/remark.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

#include "data/bytes.h"
#include "data/errors.h"
#include "data/file_util.h"

namespace zorel {
namespace {

constexpr char kSignature[] = "REMARK01";
constexpr std::size_t kSignatureLength = 8;
constexpr std::size_t kWindow = 64 * 1024;

std::string OpenError(const std::string& name) { return "Не могу открыть файл " + name; }
std::string ReadError(const std::string& name) { return "Не могу прочитать файл " + name; }
std::string WriteError(const std::string& name) { return "Не могу записать файл " + name; }

std::string RemarkHeader() {
  std::string header;
  PutU32(header, kRemarkHeaderSize);
  header += kSignature;
  header.append(kRemarkHeaderSize - 4 - kSignatureLength, ' ');
  return header;
}

std::string EntryHead(std::size_t textLength, std::int32_t record, bool deleted) {
  std::string head;
  PutU16(head, static_cast<std::uint16_t>(textLength + kRemarkEntryHead));
  PutU32(head, static_cast<std::uint32_t>(record));
  PutU8(head, deleted ? 1 : 0);
  return head;
}

// Reads up to n bytes at offset; fewer only at the end of the file. Throws on a read error.
std::size_t ReadAt(int fd, std::int64_t offset, void* to, std::size_t n, const std::string& name) {
  std::size_t got = 0;
  while (got < n) {
    const ssize_t r = pread(fd, static_cast<char*>(to) + got, n - got, offset + got);
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) throw DataError(ReadError(name));
    if (r == 0) break;
    got += static_cast<std::size_t>(r);
  }
  return got;
}

bool WriteAt(int fd, std::int64_t offset, const void* from, std::size_t n) {
  std::size_t put = 0;
  while (put < n) {
    const ssize_t w = pwrite(fd, static_cast<const char*>(from) + put, n - put, offset + put);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return false;
    put += static_cast<std::size_t>(w);
  }
  return true;
}

// Walks the file front to back through a window, so a scan costs one read per 64 KiB.
class WindowReader {
 public:
  WindowReader(int fd, const std::string& name) : fd_(fd), name_(name) {}

  // The n bytes at offset, or nullptr when the file ends before them. Valid until the next call.
  const std::uint8_t* At(std::int64_t offset, std::size_t n) {
    if (offset < start_ || offset + static_cast<std::int64_t>(n) > start_ + size_) {
      buffer_.resize(std::max(kWindow, n));
      start_ = offset;
      size_ = static_cast<std::int64_t>(ReadAt(fd_, offset, buffer_.data(), buffer_.size(), name_));
      if (static_cast<std::int64_t>(n) > size_) return nullptr;
    }
    return buffer_.data() + (offset - start_);
  }

 private:
  int fd_;
  const std::string& name_;
  std::vector<std::uint8_t> buffer_;
  std::int64_t start_ = 0;
  std::int64_t size_ = 0;
};

struct Entry {
  std::int64_t offset;
  std::uint16_t length;
  std::int32_t record;
  bool deleted;
};

// Calls visit for every whole entry from the header up to limit; stops at a length below the
// entry head, at an entry cut by the limit or the end of the file, or where offsets would leave
// the 32-bit range of the positions table. Gives the offset where the entries end.
template <typename Visit>
std::int64_t ForEachEntry(WindowReader& reader, std::int64_t limit, Visit visit) {
  limit = std::min<std::int64_t>(limit, std::numeric_limits<std::int32_t>::max());
  std::int64_t offset = kRemarkHeaderSize;
  for (;;) {
    const std::uint8_t* head = reader.At(offset, kRemarkEntryHead);
    if (head == nullptr) break;
    const Entry entry{offset, LoadU16(head), LoadI32(head + 2), head[6] != 0};
    if (entry.length < kRemarkEntryHead) break;
    const std::int64_t end = offset + entry.length;
    if (end > limit || reader.At(offset, entry.length) == nullptr) break;
    visit(entry, reader);
    offset = end;
  }
  return offset;
}

// A new image of the remark file built under its temporary name; Commit flushes it to disk
// and renames it over the file, so a crash leaves the old file or the whole new one. Failures
// throw DataError with the given message.
class Replacement {
 public:
  Replacement(const std::string& target, std::string failure)
      : target_(target), temp_(ChangeExtension(target, ".tmp")), failure_(std::move(failure)) {
    fd_ = open(temp_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd_ < 0) throw DataError(failure_);
  }
  ~Replacement() {
    if (fd_ >= 0) close(fd_);
    if (!committed_) unlink(temp_.c_str());
  }
  Replacement(const Replacement&) = delete;
  Replacement& operator=(const Replacement&) = delete;

  void Append(const void* p, std::size_t n) {
    buffer_.append(static_cast<const char*>(p), n);
    if (buffer_.size() >= kWindow) Flush();
  }
  void Append(const std::string& bytes) { Append(bytes.data(), bytes.size()); }

  void Commit() {
    Flush();
    const bool synced = fsync(fd_) == 0;
    const bool closed = close(fd_) == 0;
    fd_ = -1;
    if (!synced || !closed || rename(temp_.c_str(), target_.c_str()) != 0) {
      throw DataError(failure_);
    }
    committed_ = true;
    SyncFolderOf(target_);
  }

 private:
  void Flush() {
    if (!WriteAt(fd_, written_, buffer_.data(), buffer_.size())) throw DataError(failure_);
    written_ += static_cast<std::int64_t>(buffer_.size());
    buffer_.clear();
  }

  std::string target_, temp_, failure_;
  int fd_ = -1;
  std::string buffer_;
  std::int64_t written_ = 0;
  bool committed_ = false;
};

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

TRemark::TRemark(const std::string& fileName, std::int32_t recordCount)
    : fileName_(fileName), count_(std::max(recordCount, 0)) {
  const std::string temp = ChangeExtension(fileName_, ".tmp");
  // A temporary file is either an unfinished rewrite (the file itself is intact) or the whole
  // old file moved aside by a rewrite that never got to write the new one.
  if (FileExists(temp)) {
    if (FileExists(fileName_)) {
      unlink(temp.c_str());
    } else {
      // Failing here must not go on to create an empty file over the only copy.
      if (rename(temp.c_str(), fileName_.c_str()) != 0) throw DataError(OpenError(fileName_));
      SyncFolderOf(fileName_);
    }
  }
  if (!FileExists(fileName_)) {
    Replacement fresh(fileName_, OpenError(fileName_));
    fresh.Append(RemarkHeader());
    fresh.Commit();
  }
  fd_ = open(fileName_.c_str(), O_RDWR | O_CLOEXEC);
  if (fd_ < 0) throw DataError(OpenError(fileName_));
  try {
    char signature[kSignatureLength] = {};
    ReadAt(fd_, 4, signature, kSignatureLength, fileName_);
    if (std::memcmp(signature, kSignature, kSignatureLength) != 0) {
      ConvertOldLayout();
      close(fd_);
      fd_ = open(fileName_.c_str(), O_RDWR | O_CLOEXEC);
      if (fd_ < 0) throw DataError(OpenError(fileName_));
    }
    Scan();
  } catch (...) {
    if (fd_ >= 0) close(fd_);
    throw;
  }
}

TRemark::~TRemark() {
  if (fd_ < 0) return;
  if (!clean_) {
    try {
      Compact();
    } catch (...) {
      // The file keeps its superseded entries; the next opening compacts it.
    }
  }
  close(fd_);
}

void TRemark::ConvertOldLayout() {
  Replacement converted(fileName_, OpenError(fileName_));
  converted.Append(RemarkHeader());
  char slot[kOldRemarkSlot];
  for (std::int32_t i = 0;; ++i) {
    const std::int64_t offset = static_cast<std::int64_t>(i) * kOldRemarkSlot;
    if (ReadAt(fd_, offset, slot, kOldRemarkSlot, fileName_) < kOldRemarkSlot) break;
    const char* first = std::find_if_not(slot, slot + kOldRemarkSlot, IsBlankOrControl);
    const char* last = slot + kOldRemarkSlot;
    while (last > first && IsBlankOrControl(last[-1])) --last;
    if (first == last) continue;
    const auto length = static_cast<std::size_t>(last - first);
    converted.Append(EntryHead(length, i, false));
    converted.Append(first, length);
  }
  converted.Commit();
}

void TRemark::Scan() {
  positions_.assign(static_cast<std::size_t>(count_), 0);
  struct stat st {};
  if (fstat(fd_, &st) != 0) throw DataError(ReadError(fileName_));
  WindowReader reader(fd_, fileName_);
  dataEnd_ = ForEachEntry(reader, st.st_size, [this](const Entry& e, WindowReader&) {
    // Entries of records outside the base belong to no one here; compaction keeps them.
    if (e.record < 0 || e.record >= count_) return;
    std::int32_t& position = positions_[static_cast<std::size_t>(e.record)];
    if (e.deleted) {
      clean_ = false;
      return;
    }
    // Two live entries for one record: a change was cut short; the later one counts.
    if (position != 0) clean_ = false;
    position = static_cast<std::int32_t>(e.offset);
  });
  // Bytes past the last whole entry would hide every entry appended after them.
  if (st.st_size > dataEnd_ && ftruncate(fd_, dataEnd_) != 0) throw DataError(OpenError(fileName_));
}

void TRemark::Compact() {
  Replacement compacted(fileName_, WriteError(fileName_));
  char header[kRemarkHeaderSize];
  if (ReadAt(fd_, 0, header, sizeof header, fileName_) < sizeof header) {
    throw DataError(ReadError(fileName_));
  }
  compacted.Append(header, sizeof header);
  WindowReader reader(fd_, fileName_);
  ForEachEntry(reader, dataEnd_, [&](const Entry& e, WindowReader& r) {
    if (e.deleted) return;
    const bool inBase = e.record >= 0 && e.record < count_;
    if (inBase && positions_[static_cast<std::size_t>(e.record)] != e.offset) return;
    compacted.Append(r.At(e.offset, e.length), e.length);
  });
  compacted.Commit();
  clean_ = true;
}

std::string TRemark::Get(std::int32_t record) const {
  if (record < 0 || record >= count_) return {};
  const std::int32_t position = positions_[static_cast<std::size_t>(record)];
  if (position == 0) return {};
  std::uint8_t head[kRemarkEntryHead];
  if (ReadAt(fd_, position, head, sizeof head, fileName_) < sizeof head) {
    throw DataError(ReadError(fileName_));
  }
  std::string text(LoadU16(head) - kRemarkEntryHead, '\0');
  if (ReadAt(fd_, position + kRemarkEntryHead, text.data(), text.size(), fileName_) < text.size()) {
    throw DataError(ReadError(fileName_));
  }
  return text;
}

bool TRemark::HasRemark(std::int32_t record) const {
  if (record < 0 || record >= count_) return false;
  const std::int32_t position = positions_[static_cast<std::size_t>(record)];
  if (position == 0) return false;
  std::uint8_t head[2];
  if (ReadAt(fd_, position, head, sizeof head, fileName_) < sizeof head) {
    throw DataError(ReadError(fileName_));
  }
  return LoadU16(head) > kRemarkEntryHead;
}

void TRemark::Set(std::int32_t record, const std::string& text) {
  if (record < 0 || record >= count_) {
    throw BadInput("Нет записи с номером " + std::to_string(record));
  }
  if (text.size() > kMaxRemarkLength) {
    throw BadInput("Примечание длиннее " + std::to_string(kMaxRemarkLength) + " байт");
  }
  if (Get(record) == text) return;
  const std::string entry = EntryHead(text.size(), record, false) + text;
  if (dataEnd_ + static_cast<std::int64_t>(entry.size()) >
      std::numeric_limits<std::int32_t>::max()) {
    throw DataError(WriteError(fileName_));
  }
  // The new entry is on disk before the old one is flagged: a crash in between leaves two live
  // entries, and the later one counts.
  if (!WriteAt(fd_, dataEnd_, entry.data(), entry.size()) || fdatasync(fd_) != 0) {
    // A cut entry left behind would be misread once a shorter one is written over it;
    // compaction stops at the end of the whole entries.
    if (ftruncate(fd_, dataEnd_) != 0) clean_ = false;
    throw DataError(WriteError(fileName_));
  }
  std::int32_t& position = positions_[static_cast<std::size_t>(record)];
  const std::int32_t old = position;
  position = static_cast<std::int32_t>(dataEnd_);
  dataEnd_ += static_cast<std::int64_t>(entry.size());
  if (old != 0) {
    clean_ = false;
    const std::uint8_t deleted = 1;
    if (!WriteAt(fd_, old + 6, &deleted, 1)) throw DataError(WriteError(fileName_));
  }
}

}  // namespace zorel
