// The condition table of the requisites dialog as a Qt model: five code cells a row, always
// ending with one empty row where the next condition goes. The cells are Windows-1251, the
// form the matcher takes; the model shows them as stored and ConditionDelegate paints their
// meanings.
#pragma once

#include <QAbstractTableModel>
#include <QStyledItemDelegate>

#include "data/conditions.h"

namespace zorel {

class ConditionTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit ConditionTableModel(QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  // Every row, the trailing empty one included.
  const ConditionTable& Table() const { return rows_; }
  int ConditionCount() const { return static_cast<int>(rows_.size()) - 1; }
  bool IsCondition(int row) const { return row >= 0 && row < ConditionCount(); }

  // Writes the condition into the empty last row and adds a new empty row.
  void Add(const ConditionRow& condition);
  // Later rows move up one place. Rows outside the conditions are ignored.
  void Remove(int row);
  // Leaves only the empty row.
  void Clear();

 private:
  ConditionTable rows_;
};

// What a cell of the table shows: the field name for column 0, the negation item for column 1,
// the operator word for column 2, the value for column 3, "Aa" or blanks for column 4. Codes
// that mean nothing show as stored.
QString ConditionCellMeaning(int column, const QString& cell);

class ConditionDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
};

}  // namespace zorel
