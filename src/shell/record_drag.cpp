#include "shell/record_drag.h"

#include <sys/stat.h>

#include <QMimeData>
#include <filesystem>

namespace zorel {

QByteArray BaseIdentity(const std::string& dbDir) {
  std::error_code error;
  const std::filesystem::path canonical = std::filesystem::canonical(dbDir, error);
  QByteArray identity = QByteArray::fromStdString(error ? dbDir : canonical.string());
  struct stat status {};
  if (::stat(dbDir.c_str(), &status) == 0) {
    identity += '\n' + QByteArray::number(static_cast<qulonglong>(status.st_dev)) + ':' +
                QByteArray::number(static_cast<qulonglong>(status.st_ino));
  }
  return identity;
}

std::unique_ptr<QMimeData> MakeRecordMime(std::int32_t record, const QByteArray& base) {
  auto mime = std::make_unique<QMimeData>();
  mime->setData(kRecordMimeType, record < 0 ? QByteArray() : QByteArray::number(record));
  mime->setData(kRecordBaseMimeType, base);
  return mime;
}

std::optional<std::int32_t> RecordFromMime(const QMimeData* mime, const QByteArray& base) {
  if (mime == nullptr || !mime->hasFormat(kRecordMimeType)) return std::nullopt;
  if (!mime->hasFormat(kRecordBaseMimeType) || mime->data(kRecordBaseMimeType) != base) {
    return std::nullopt;
  }
  bool ok = false;
  const int value = mime->data(kRecordMimeType).toInt(&ok);
  if (!ok || value < 0) return std::nullopt;
  return value;
}

}  // namespace zorel
