// TRemark: the user's remarks in remark.dat, one text per record.
//
// Layout: a 32-byte header (int32 32, "REMARK01", 20 blanks), then entries back to back:
// u16 length (7 + text length), i32 record number, u8 deleted flag, text. A changed remark is
// appended and the superseded entry flagged deleted. A file without the signature is the older
// layout (200-byte slots) and is converted on opening, the original kept as "remark.old".
//
// Several processes may use one file at once. Each holds a shared lock on byte 0 while it has
// the file open and takes the lock on byte 1 around every change (exclusive) and every
// catch-up read (shared); a writer first reads what others appended, so the last write of a
// record wins. Rewrites (conversion, compaction) go through "<name>.tmp", flushed and renamed
// over the file; compaction happens at closing of a store that changed something, and only
// when no other process has the file open (the lock on byte 0 can be made exclusive without
// waiting). Opening and reading never change the file; bytes that cannot be read as entries are
// copied to
// "<name>.damaged-YYYYMMDD-HHMMSS" before the first change drops them.
//
// A file that cannot be written (a read-only folder or file) opens read-only: remarks read,
// changes are refused with the reason.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zorel {

inline constexpr std::int32_t kRemarkHeaderSize = 32;
inline constexpr int kRemarkEntryHead = 7;
inline constexpr std::size_t kMaxRemarkLength = 65535 - kRemarkEntryHead;  // 65528
inline constexpr int kOldRemarkSlot = 200;
// The lock bytes: held shared while open; held around changes and catch-up reads.
inline constexpr std::int64_t kRemarkPresenceByte = 0;
inline constexpr std::int64_t kRemarkWriterByte = 1;

class TRemark {
 public:
  // Throws DataError "Не могу открыть файл " + fileName, with the path and the system's
  // reason on a second line, when the file can be neither opened nor created nor read.
  TRemark(const std::string& fileName, std::int32_t recordCount);
  ~TRemark();  // closes and, when no other process has the file open, compacts it
  TRemark(const TRemark&) = delete;
  TRemark& operator=(const TRemark&) = delete;

  // The record's remark (Windows-1251) as last stored by any process, empty when it has none
  // or the number is outside the base. Throws DataError when the file cannot be read.
  std::string Get(std::int32_t record);
  // Stores text unless it equals the current remark exactly. Throws BadInput for a text longer
  // than kMaxRemarkLength or a record outside the base (nothing is written), DataError (with
  // the reason) when the store is read-only or the file cannot be written; what was stored
  // before stays.
  void Set(std::int32_t record, const std::string& text);

  // True when Get would give a non-empty text, as of the last Get or Set.
  bool HasRemark(std::int32_t record) const;
  std::int32_t Count() const { return count_; }
  const std::string& FileName() const { return fileName_; }

  bool ReadOnly() const { return readOnly_; }
  // Why the store is read-only: the path and the system's reason.
  const std::string& ReadOnlyReason() const { return readOnlyReason_; }
  // What the user must be told once (UTF-8): copies kept of damaged or converted files.
  // Taking them empties the list.
  std::vector<std::string> TakeNotices();

 private:
  void Open();
  bool OpenOnce();
  void Prepare();
  bool Replaced() const;
  void EnsureCurrent();
  void ConvertOldLayout();
  void Rescan();
  void CatchUp(bool writing);
  void KeepDamaged();
  bool TryCompact();
  void Compact();
  void CloseFile();
  std::string TextAt(std::int32_t position) const;
  [[noreturn]] void ThrowWriteError(int error) const;

  std::string fileName_, target_;
  int fd_ = -1;
  bool readOnly_ = false;
  std::string readOnlyReason_;
  std::int32_t count_ = 0;
  std::vector<std::int32_t> positions_;       // offset of each record's live entry, 0 = none
  bool clean_ = true;                         // no superseded or deleted entry seen
  bool changed_ = false;                      // this store wrote an entry
  std::int64_t dataEnd_ = kRemarkHeaderSize;  // where the whole entries end; Set appends here
  std::int64_t seenSize_ = 0;                 // the file's size at the last scan
  std::vector<std::string> notices_;
};

}  // namespace zorel
