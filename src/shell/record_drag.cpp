#include "shell/record_drag.h"

#include <QMimeData>

namespace zorel {

std::unique_ptr<QMimeData> MakeRecordMime(std::int32_t record) {
  auto mime = std::make_unique<QMimeData>();
  mime->setData(kRecordMimeType, record < 0 ? QByteArray() : QByteArray::number(record));
  return mime;
}

std::optional<std::int32_t> RecordFromMime(const QMimeData* mime) {
  if (mime == nullptr || !mime->hasFormat(kRecordMimeType)) return std::nullopt;
  bool ok = false;
  const int value = mime->data(kRecordMimeType).toInt(&ok);
  if (!ok || value < 0) return std::nullopt;
  return value;
}

}  // namespace zorel
