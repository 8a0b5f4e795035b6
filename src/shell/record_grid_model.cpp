// The name grid's model: rows of a RecordList, names fetched on demand and kept per record.
#include "shell/record_grid_model.h"

#include <algorithm>

#include "data/data_module.h"
#include "textconv/text_convert.h"

namespace zorel {

RecordGridModel::RecordGridModel(const Tdm& dm, const RecordList& records, QObject* parent)
    : QAbstractTableModel(parent),
      dm_(dm),
      records_(records),
      rows_(static_cast<int>(records.size())) {}

int RecordGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : std::max(rows_, 1);
}

int RecordGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : 1;
}

QVariant RecordGridModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole && role != HasAdvertRole) return {};
  const std::int32_t record = RecordAt(index.row());
  if (record < 0) return {};
  const ShownRecord& shown = Shown(index.row(), record);
  if (role == Qt::DisplayRole) return shown.name;
  return shown.advert;
}

void RecordGridModel::SetRowCount(int rows) {
  beginResetModel();
  rows_ = rows;
  endResetModel();
}

std::int32_t RecordGridModel::RecordAt(int row) const {
  if (row < 0 || static_cast<std::size_t>(row) >= records_.size() || row >= rows_) return -1;
  return records_[static_cast<std::size_t>(row)];
}

QString RecordGridModel::NameAt(int row) const {
  const std::int32_t record = RecordAt(row);
  return record < 0 ? QString() : Shown(row, record).name;
}

const RecordGridModel::ShownRecord& RecordGridModel::Shown(int row, std::int32_t record) const {
  ShownRecord& slot = shown_[static_cast<std::size_t>(record) % kKeptRecords];
  if (slot.record != record) {
    if (observer_) observer_(row);
    slot.record = record;
    slot.name = FromCp(dm_.GetFirmName(record));
    slot.advert = dm_.HasAdvert(record);
  }
  return slot;
}

}  // namespace zorel
