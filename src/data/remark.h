// TRemark: the user's remarks in remark.dat, one text per record.
//
// Layout: a 32-byte header (int32 32, "REMARK01", 20 blanks), then entries back to back:
// u16 length (7 + text length), i32 record number, u8 deleted flag, text. A changed remark is
// appended and the superseded entry flagged deleted; the file is compacted when the store
// closes. A file without the signature is the older layout (200-byte slots) and is converted
// on opening. Rewrites (conversion, compaction) go through "<name>.tmp", flushed and renamed
// over the file, so no remark is ever lost to a crash; a leftover temporary file is cleaned
// up on the next opening.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zorel {

inline constexpr std::int32_t kRemarkHeaderSize = 32;
inline constexpr int kRemarkEntryHead = 7;
inline constexpr std::size_t kMaxRemarkLength = 65535 - kRemarkEntryHead;  // 65528
inline constexpr int kOldRemarkSlot = 200;

class TRemark {
 public:
  // Throws DataError "Не могу открыть файл " + fileName when the file can be neither created
  // nor opened for reading and writing.
  TRemark(const std::string& fileName, std::int32_t recordCount);
  ~TRemark();  // closes and, when the file holds superseded entries, compacts it
  TRemark(const TRemark&) = delete;
  TRemark& operator=(const TRemark&) = delete;

  // The record's remark (Windows-1251), empty when it has none or the number is outside the
  // base. Throws DataError when the file cannot be read.
  std::string Get(std::int32_t record) const;
  // Stores text unless it equals the current remark exactly. Throws BadInput for a text longer
  // than kMaxRemarkLength or a record outside the base (nothing is written), DataError when the
  // file cannot be written.
  void Set(std::int32_t record, const std::string& text);

  // True when Get would give a non-empty text.
  bool HasRemark(std::int32_t record) const;
  std::int32_t Count() const { return count_; }
  const std::string& FileName() const { return fileName_; }

 private:
  void ConvertOldLayout();
  void Scan();
  void Compact();

  std::string fileName_;
  int fd_ = -1;
  std::int32_t count_ = 0;
  std::vector<std::int32_t> positions_;  // offset of each record's live entry, 0 = none
  bool clean_ = true;
  std::int64_t dataEnd_ = kRemarkHeaderSize;  // where the whole entries end; Set appends here
};

}  // namespace zorel
