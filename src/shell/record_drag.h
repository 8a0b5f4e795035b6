// The data a record drag carries between name grids: the decimal text of one record number
// under a MIME type of the program's own. A drag from a row without a record carries the
// type with an empty text, which every drop ignores.
#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

class QMimeData;

namespace zorel {

inline const QString kRecordMimeType = QStringLiteral("application/x-zorel-record");

// record -1 makes a drag that carries no record.
std::unique_ptr<QMimeData> MakeRecordMime(std::int32_t record);
// The record a drop carries; none for foreign data, an empty or a malformed text.
std::optional<std::int32_t> RecordFromMime(const QMimeData* mime);

}  // namespace zorel
