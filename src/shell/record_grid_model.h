// RecordGridModel: the name grid's model over a list window's RecordList. Rows are virtual:
// a name is fetched from the data module only when a row is painted, so a list of a million
// records opens at once. The names of recently painted records are kept, so repainting a row
// (a selection move, a scroll by a row) reads nothing again. The grid always has at least one
// row (an empty list shows one empty row). The list and the data module must outlive the
// model; after changing the list the owner calls SetRowCount.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>

#include "data/record_list.h"

namespace zorel {

class Tdm;

class RecordGridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // True for a row whose enterprise has advertising text.
  static constexpr int HasAdvertRole = Qt::UserRole + 1;

  RecordGridModel(const Tdm& dm, const RecordList& records, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  // The grid's row count; below 1 the grid still keeps one row.
  void SetRowCount(int rows);
  // The record number at a row, -1 when the row has no record.
  std::int32_t RecordAt(int row) const;
  // The enterprise name at a row, empty when the row has no record.
  QString NameAt(int row) const;

  // Told the row of every record read from the data module, so a benchmark can count what the
  // grid fetches; none by default.
  void SetFetchObserver(std::function<void(int row)> observer) { observer_ = std::move(observer); }

 private:
  // What the grid shows of one record. The base is read-only, so a kept entry never goes
  // stale; records that fall into the same slot replace each other.
  struct ShownRecord {
    std::int32_t record = -1;
    QString name;
    bool advert = false;
  };
  // Several screens' worth, so a screen of consecutive records never evicts itself.
  static constexpr std::size_t kKeptRecords = 256;

  const ShownRecord& Shown(int row, std::int32_t record) const;

  const Tdm& dm_;
  const RecordList& records_;
  int rows_ = 0;
  mutable std::array<ShownRecord, kKeptRecords> shown_;
  std::function<void(int row)> observer_;
};

}  // namespace zorel
