// The requisites dialog's condition table and the painting of its codes.
#include "search/condition_model.h"

#include <QApplication>
#include <QPainter>

#include "search/search_fields.h"
#include "textconv/text_convert.h"

namespace zorel {

ConditionTableModel::ConditionTableModel(QObject* parent) : QAbstractTableModel(parent), rows_(1) {}

int ConditionTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ConditionTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : 5;
}

QVariant ConditionTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || role != Qt::DisplayRole) return {};
  return FromCp(rows_[index.row()][index.column()]);
}

void ConditionTableModel::Add(const ConditionRow& condition) {
  const int last = ConditionCount();
  rows_[last] = condition;
  emit dataChanged(index(last, 0), index(last, 4));
  beginInsertRows({}, last + 1, last + 1);
  rows_.emplace_back();
  endInsertRows();
}

void ConditionTableModel::Remove(int row) {
  if (!IsCondition(row)) return;
  beginRemoveRows({}, row, row);
  rows_.erase(rows_.begin() + row);
  endRemoveRows();
}

void ConditionTableModel::Clear() {
  beginResetModel();
  rows_.assign(1, ConditionRow{});
  endResetModel();
}

QString ConditionCellMeaning(int column, const QString& cell) {
  if (cell.isEmpty()) return cell;
  bool ok = false;
  const int code = cell.toInt(&ok);
  switch (column) {
    case 0:
      if (const char* name = ok ? SearchFieldName(code) : nullptr) return QString::fromUtf8(name);
      break;
    case 1:
      if (ok && code >= 0 && code < static_cast<int>(kNegationItems.size())) {
        return QString::fromUtf8(kNegationItems[code]);
      }
      break;
    case 2:
      if (ok && code >= 0 && code < kOperatorCount) return QString::fromUtf8(kOperatorWords[code]);
      break;
    case 4:
      return cell == QLatin1String("1") ? QStringLiteral("Aa") : QString();
  }
  return cell;
}

void ConditionDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
  QStyleOptionViewItem opt = option;
  initStyleOption(&opt, index);
  opt.text.clear();
  const QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
  style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
  const bool selected = opt.state & QStyle::State_Selected;
  painter->save();
  painter->setPen(opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
  painter->setFont(opt.font);
  const QRect textRect = opt.rect.adjusted(2, 0, 0, 0);
  painter->setClipRect(opt.rect);
  painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                    ConditionCellMeaning(index.column(), index.data().toString()));
  painter->restore();
}

}  // namespace zorel
