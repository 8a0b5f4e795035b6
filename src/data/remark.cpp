// TRemark: remark.dat kept open for the store's life; reads and writes go through the file
// system at explicit offsets, under the lock protocol described in the header.
#include "data/remark.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <limits>
#include <memory>
#include <utility>

#include "data/bytes.h"
#include "data/errors.h"
#include "data/file_system.h"
#include "data/file_util.h"
#include "data/logger.h"
#include "data/replacement_file.h"

namespace zorel {
namespace {

constexpr char kSignature[] = "REMARK01";
constexpr std::size_t kSignatureLength = 8;
constexpr std::size_t kWindow = 64 * 1024;
// Rounds of opening a file that another process replaces meanwhile before giving up.
constexpr int kOpenRounds = 100;

std::string OpenError(const std::string& name, int error) {
  return "Не могу открыть файл " + name + "\n" + ReasonLine(name, error);
}
std::string ReadError(const std::string& name, int error) {
  return "Не могу прочитать файл " + name + "\n" + ReasonLine(name, error);
}

// Errors after which the store can still be read: no right to write, or no room to create.
bool IsNoRightToWrite(int error) {
  return error == EACCES || error == EROFS || error == EPERM || error == ENOSPC || error == EDQUOT;
}

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

// "YYYYMMDD-HHMMSS" of the local time, for the names of kept copies.
std::string Timestamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
  return text;
}

// Reads exactly what it is asked or throws; fewer bytes only at the end of the file.
std::size_t ReadAt(int fd, std::int64_t offset, void* to, std::size_t n, const std::string& name) {
  const std::int64_t got = ReadFully(fd, offset, to, n);
  if (got < 0) throw DataError(ReadError(name, errno));
  return static_cast<std::size_t>(got);
}

// One lock byte held for a scope. A file system without locks leaves the store as it was
// before locking existed: logged, not fatal.
class ByteLock {
 public:
  ByteLock(int fd, std::int64_t byte, LockKind kind, const std::string& name)
      : fd_(fd), byte_(byte) {
    if (Files().Lock(fd_, byte_, kind, true) != 0) LogIgnoredError("cannot lock", name, errno);
  }
  ~ByteLock() { Files().Lock(fd_, byte_, LockKind::None, false); }
  ByteLock(const ByteLock&) = delete;
  ByteLock& operator=(const ByteLock&) = delete;

 private:
  int fd_;
  std::int64_t byte_;
};

// Walks the file front to back through a window, so a scan costs one read per 64 KiB.
class WindowReader {
 public:
  // Windows reach no further than end, the end of what is read, so a small file costs little.
  WindowReader(int fd, const std::string& name, std::int64_t end)
      : fd_(fd), name_(name), end_(end) {}

  // The n bytes at offset, or nullptr when the file ends before them. Valid until the next call.
  const std::uint8_t* At(std::int64_t offset, std::size_t n) {
    if (offset < start_ || offset + static_cast<std::int64_t>(n) > start_ + size_) {
      const auto rest = static_cast<std::size_t>(std::max<std::int64_t>(end_ - offset, 0));
      const std::size_t want = std::max(n, std::min(kWindow, rest));
      if (want > capacity_) {
        // Not zeroed: only the bytes read are ever served.
        buffer_ = std::make_unique_for_overwrite<std::uint8_t[]>(want);
        capacity_ = want;
      }
      start_ = offset;
      size_ = static_cast<std::int64_t>(ReadAt(fd_, offset, buffer_.get(), want, name_));
      if (static_cast<std::int64_t>(n) > size_) return nullptr;
    }
    return buffer_.get() + (offset - start_);
  }

 private:
  int fd_;
  const std::string& name_;
  std::int64_t end_;
  std::unique_ptr<std::uint8_t[]> buffer_;
  std::size_t capacity_ = 0;
  std::int64_t start_ = 0;
  std::int64_t size_ = 0;
};

struct Entry {
  std::int64_t offset;
  std::uint16_t length;
  std::int32_t record;
  bool deleted;
};

// Calls visit for every whole entry from `from` up to limit; stops at a length below the
// entry head, at an entry cut by the limit or the end of the file, or where offsets would leave
// the 32-bit range of the positions table. Gives the offset where the entries end.
template <typename Visit>
std::int64_t ForEachEntry(WindowReader& reader, std::int64_t from, std::int64_t limit,
                          Visit visit) {
  limit = std::min<std::int64_t>(limit, std::numeric_limits<std::int32_t>::max());
  std::int64_t offset = from;
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

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

TRemark::TRemark(const std::string& fileName, std::int32_t recordCount)
    : fileName_(fileName), target_(FinalPath(fileName)), count_(std::max(recordCount, 0)) {
  struct stat st {};
  // A link to nothing is never followed to create a file wherever it points.
  if (Files().StatPath(target_, &st) != 0) target_ = fileName_;
  positions_.assign(static_cast<std::size_t>(count_), 0);
  Open();
}

TRemark::~TRemark() {
  try {
    TryCompact();
  } catch (const std::exception& e) {
    // The file keeps its superseded entries; a later closing compacts it.
    Logger().Log(std::string("EE: ") + e.what());
  }
  CloseFile();
}

std::vector<std::string> TRemark::TakeNotices() { return std::exchange(notices_, {}); }

void TRemark::Open() {
  for (int round = 0; round < kOpenRounds; ++round) {
    if (OpenOnce()) return;
  }
  throw DataError(OpenError(fileName_, EBUSY));
}

// False when the file was replaced before it could be locked and read: the caller tries again.
bool TRemark::OpenOnce() {
  FileSystem& files = Files();
  const std::string temp = ChangeExtension(target_, ".tmp");
  // A temporary file without the file itself is the whole old file moved aside by a rewrite
  // that never got to write the new one.
  struct stat tempStat {};
  if (!FileExists(target_) && files.LinkStat(temp, &tempStat) == 0 && S_ISREG(tempStat.st_mode)) {
    if (files.Rename(temp, target_) != 0 && errno != ENOENT) {
      throw DataError(OpenError(fileName_, errno));
    }
    SyncFolderOf(target_);
  }
  readOnly_ = false;
  readOnlyReason_.clear();
  int fd = files.Open(target_, O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (fd < 0 && errno == ENOENT) {
    fd = files.Open(target_, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW, 0644);
    struct stat link {};
    if (fd < 0 && errno == EEXIST && files.LinkStat(target_, &link) == 0 && S_ISLNK(link.st_mode)) {
      // A link to nothing: no remarks, and none stored through it.
      readOnly_ = true;
      readOnlyReason_ = ReasonLine(target_, ENOENT);
      LogIgnoredError("read-only remarks, a link to nothing", target_, ENOENT);
      return true;
    }
    if (fd < 0 && errno == EEXIST) return false;  // another process created it just now
  }
  if (fd < 0 && IsNoRightToWrite(errno)) {
    const int error = errno;
    readOnly_ = true;
    readOnlyReason_ = ReasonLine(target_, error);
    LogIgnoredError("read-only remarks, cannot write", target_, error);
    fd = files.Open(target_, O_RDONLY | O_NOCTTY | O_NONBLOCK);
    // No file and no right to create one: no remarks to show.
    if (fd < 0 && errno == ENOENT) return true;
  }
  if (fd < 0) throw DataError(OpenError(fileName_, errno));
  struct stat st {};
  const bool stated = files.Stat(fd, &st) == 0;
  if (!stated || !S_ISREG(st.st_mode)) {
    const int error = !stated ? errno : S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    files.Close(fd);
    throw DataError(OpenError(fileName_, error));
  }
  fd_ = fd;
  // Waits while a compaction is under way; it ends by replacing the file.
  if (files.Lock(fd_, kRemarkPresenceByte, LockKind::Shared, true) != 0) {
    LogIgnoredError("cannot lock", target_, errno);
  }
  if (Replaced()) {
    CloseFile();
    return false;
  }
  try {
    ByteLock writer(fd_, kRemarkWriterByte, readOnly_ ? LockKind::Shared : LockKind::Exclusive,
                    target_);
    if (Replaced()) {
      CloseFile();
      return false;
    }
    Prepare();
    if (fd_ < 0) return false;  // converted: the new file is opened afresh
  } catch (...) {
    CloseFile();
    throw;
  }
  return true;
}

// Under the writer lock: clears a leftover temporary file, gives a new file its header,
// converts the older layout, and reads the entries.
void TRemark::Prepare() {
  FileSystem& files = Files();
  if (!readOnly_) {
    const std::string temp = ChangeExtension(target_, ".tmp");
    struct stat st {};
    if (files.LinkStat(temp, &st) == 0 && files.Unlink(temp) != 0) {
      LogIgnoredError("cannot remove", temp, errno);
    }
  }
  struct stat st {};
  if (files.Stat(fd_, &st) != 0) throw DataError(ReadError(fileName_, errno));
  if (st.st_size == 0) {
    const std::string header = RemarkHeader();
    if (!readOnly_ && (!WriteFully(fd_, 0, header.data(), header.size()) || files.Sync(fd_) != 0)) {
      // A full disk: the remarks stay unwritable until there is room.
      const int error = errno;
      readOnly_ = true;
      readOnlyReason_ = ReasonLine(target_, error);
      LogIgnoredError("read-only remarks, cannot write", target_, error);
      if (files.Truncate(fd_, 0) != 0) LogIgnoredError("cannot cut", target_, errno);
    }
    Rescan();
    return;
  }
  char signature[kSignatureLength] = {};
  ReadAt(fd_, 4, signature, kSignatureLength, fileName_);
  if (std::memcmp(signature, kSignature, kSignatureLength) == 0) {
    Rescan();
    return;
  }
  if (readOnly_) {
    // Converting needs a writable folder; until then the remarks cannot be shown.
    notices_.push_back("Файл примечаний " + target_ +
                       " старого формата нельзя преобразовать: база открыта только для чтения");
    Logger().Log("EE: remark file of the older layout left unread, read-only: " + target_);
    dataEnd_ = seenSize_ = st.st_size;
    return;
  }
  ConvertOldLayout();
  CloseFile();
}

bool TRemark::Replaced() const {
  if (fd_ < 0) return false;
  struct stat open {};
  struct stat named {};
  if (Files().Stat(fd_, &open) != 0) return false;
  if (Files().StatPath(target_, &named) != 0) return true;
  return open.st_ino != named.st_ino || open.st_dev != named.st_dev;
}

void TRemark::EnsureCurrent() {
  if (!Replaced()) return;
  // Another program rewrote the file: what this handle reads is no longer the store.
  CloseFile();
  positions_.assign(positions_.size(), 0);
  Open();
}

void TRemark::ConvertOldLayout() {
  // The conversion drops bytes it cannot place: the original stays beside the result.
  const std::string copy = KeepCopy(fd_, ChangeExtension(target_, ".old"));
  if (copy.empty()) throw DataError(OpenError(fileName_, errno));
  Logger().Log("EE: remark file of the older layout converted, original kept as " + copy);
  notices_.push_back("Файл примечаний " + target_ +
                     " старого формата преобразован; исходный файл " + "сохранён как " + copy);
  ReplacementFile converted(target_, ChangeExtension(target_, ".tmp"));
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
    converted.Append(std::string_view(first, length));
  }
  if (!converted.Commit()) throw DataError(OpenError(fileName_, converted.Error()));
}

void TRemark::Rescan() {
  positions_.assign(positions_.size(), 0);
  clean_ = true;
  dataEnd_ = kRemarkHeaderSize;
  seenSize_ = 0;
  CatchUp(false);
}

// Under the writer lock: reads the entries appended since the last scan. Before a change the
// bytes after the last whole entry are copied aside and cut off, or every entry appended after
// them would stay hidden.
void TRemark::CatchUp(bool writing) {
  struct stat st {};
  if (Files().Stat(fd_, &st) != 0) throw DataError(ReadError(fileName_, errno));
  if (st.st_size < dataEnd_) {
    // Cut behind the store's back: read it afresh.
    positions_.assign(positions_.size(), 0);
    dataEnd_ = kRemarkHeaderSize;
  }
  if (st.st_size != seenSize_) {
    WindowReader reader(fd_, fileName_, st.st_size);
    dataEnd_ = ForEachEntry(reader, dataEnd_, st.st_size, [this](const Entry& e, WindowReader&) {
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
    seenSize_ = st.st_size;
  }
  if (writing && seenSize_ > dataEnd_) KeepDamaged();
}

void TRemark::KeepDamaged() {
  const std::string copy = KeepCopy(fd_, target_ + ".damaged-" + Timestamp());
  if (copy.empty()) ThrowWriteError(errno);
  Logger().Log("EE: unreadable bytes after offset " + std::to_string(dataEnd_) + " of " + target_ +
               ", the whole file kept as " + copy);
  notices_.push_back("Часть файла примечаний " + target_ + " не читается; файл сохранён как " +
                     copy);
  if (Files().Truncate(fd_, dataEnd_) != 0) ThrowWriteError(errno);
  seenSize_ = dataEnd_;
}

// Compacts at closing when this process changed the file and no other has it open; a store
// that only read leaves the file as it found it.
bool TRemark::TryCompact() {
  if (fd_ < 0 || readOnly_ || !changed_) return false;
  if (Files().Lock(fd_, kRemarkPresenceByte, LockKind::Exclusive, false) != 0) return false;
  ByteLock writer(fd_, kRemarkWriterByte, LockKind::Exclusive, target_);
  if (Replaced()) return false;
  CatchUp(true);
  Rescan();
  if (clean_) return false;
  Compact();
  return true;
}

void TRemark::Compact() {
  ReplacementFile compacted(target_, ChangeExtension(target_, ".tmp"));
  char header[kRemarkHeaderSize];
  if (ReadAt(fd_, 0, header, sizeof header, fileName_) < sizeof header) {
    throw DataError(ReadError(fileName_, EIO));
  }
  compacted.Append(header, sizeof header);
  WindowReader reader(fd_, fileName_, dataEnd_);
  ForEachEntry(reader, kRemarkHeaderSize, dataEnd_, [&](const Entry& e, WindowReader& r) {
    if (e.deleted) return;
    const bool inBase = e.record >= 0 && e.record < count_;
    if (inBase && positions_[static_cast<std::size_t>(e.record)] != e.offset) return;
    compacted.Append(r.At(e.offset, e.length), e.length);
  });
  if (!compacted.Commit()) ThrowWriteError(compacted.Error());
  clean_ = true;
}

void TRemark::CloseFile() {
  if (fd_ < 0) return;
  Files().Close(fd_);  // releases this handle's locks
  fd_ = -1;
}

void TRemark::ThrowWriteError(int error) const {
  throw DataError("Не могу записать файл " + fileName_ + "\n" + ReasonLine(target_, error));
}

std::string TRemark::Get(std::int32_t record) {
  if (record < 0 || record >= count_ || fd_ < 0) return {};
  EnsureCurrent();
  if (fd_ < 0) return {};
  struct stat st {};
  if (Files().Stat(fd_, &st) != 0) throw DataError(ReadError(fileName_, errno));
  if (st.st_size != seenSize_) {
    ByteLock reading(fd_, kRemarkWriterByte, LockKind::Shared, target_);
    CatchUp(false);
  }
  return TextAt(positions_[static_cast<std::size_t>(record)]);
}

std::string TRemark::TextAt(std::int32_t position) const {
  if (position == 0) return {};
  std::uint8_t head[kRemarkEntryHead];
  if (ReadAt(fd_, position, head, sizeof head, fileName_) < sizeof head) {
    throw DataError(ReadError(fileName_, EIO));
  }
  std::string text(LoadU16(head) - kRemarkEntryHead, '\0');
  if (ReadAt(fd_, position + kRemarkEntryHead, text.data(), text.size(), fileName_) < text.size()) {
    throw DataError(ReadError(fileName_, EIO));
  }
  return text;
}

bool TRemark::HasRemark(std::int32_t record) const {
  if (record < 0 || record >= count_ || fd_ < 0) return false;
  const std::int32_t position = positions_[static_cast<std::size_t>(record)];
  if (position == 0) return false;
  std::uint8_t head[2];
  if (ReadAt(fd_, position, head, sizeof head, fileName_) < sizeof head) {
    throw DataError(ReadError(fileName_, EIO));
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
  if (readOnly_) {
    throw DataError("База открыта только для чтения: примечание не сохранено\n" + readOnlyReason_);
  }
  EnsureCurrent();
  if (fd_ < 0) ThrowWriteError(ENOENT);
  ByteLock writer(fd_, kRemarkWriterByte, LockKind::Exclusive, target_);
  CatchUp(false);
  std::int32_t& position = positions_[static_cast<std::size_t>(record)];
  // Storing the text a record already has changes nothing, not even a damaged tail.
  if (TextAt(position) == text) return;
  if (seenSize_ > dataEnd_) KeepDamaged();
  const std::string entry = EntryHead(text.size(), record, false) + text;
  if (dataEnd_ + static_cast<std::int64_t>(entry.size()) >
      std::numeric_limits<std::int32_t>::max()) {
    ThrowWriteError(EFBIG);
  }
  // The new entry is on disk before the old one is flagged: a crash in between leaves two live
  // entries, and the later one counts.
  if (!WriteFully(fd_, dataEnd_, entry.data(), entry.size()) || Files().Sync(fd_) != 0) {
    const int error = errno;
    // A cut entry left behind would be misread once a shorter one is written over it.
    if (Files().Truncate(fd_, dataEnd_) != 0) {
      LogIgnoredError("cannot cut a failed change off", target_, errno);
      clean_ = false;
    }
    ThrowWriteError(error);
  }
  const std::int32_t old = position;
  position = static_cast<std::int32_t>(dataEnd_);
  dataEnd_ += static_cast<std::int64_t>(entry.size());
  seenSize_ = dataEnd_;
  changed_ = true;
  clean_ = clean_ && old == 0;
  if (old != 0) {
    const std::uint8_t deleted = 1;
    if (!WriteFully(fd_, old + 6, &deleted, 1)) ThrowWriteError(errno);
  }
}

}  // namespace zorel
