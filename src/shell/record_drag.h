// The data a record drag carries between name grids: the decimal text of one record number
// under a MIME type of the program's own, and the identity of the base the record belongs to.
// Record numbers mean something only within their base, so a drop whose base is not the
// target's (another running copy of the program on another base) carries no record. A drag
// from a row without a record carries the type with an empty text, which every drop ignores.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class QMimeData;

namespace zorel {

inline const QString kRecordMimeType = QStringLiteral("application/x-zorel-record");
inline const QString kRecordBaseMimeType = QStringLiteral("application/x-zorel-record-base");

// The base folder's canonical path with the folder's device and inode: the same for every
// spelling of the folder's name, different for another folder.
QByteArray BaseIdentity(const std::string& dbDir);

// record -1 makes a drag that carries no record.
std::unique_ptr<QMimeData> MakeRecordMime(std::int32_t record, const QByteArray& base);
// The record a drop carries onto a window of base; none for foreign data, an empty or a
// malformed text, or a record of another base.
std::optional<std::int32_t> RecordFromMime(const QMimeData* mime, const QByteArray& base);

}  // namespace zorel
