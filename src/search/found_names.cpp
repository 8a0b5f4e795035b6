// The product search's list of found names.
#include "search/found_names.h"

#include <QApplication>
#include <QPainter>

#include "data/data_module.h"
#include "data/product_key.h"
#include "textconv/text_convert.h"

namespace zorel {

FoundNamesModel::FoundNamesModel(const Tdm& dm, QObject* parent)
    : QAbstractListModel(parent), dm_(dm) {}

int FoundNamesModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(items_.size());
}

QVariant FoundNamesModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const std::int32_t item = items_[index.row()];
  if (role == Qt::DisplayRole) return FromCp(dm_.ItemName(item));
  if (role == Qt::UserRole) return QString::fromStdString(FormatProductKey(0, item));
  return {};
}

void FoundNamesModel::SetItems(std::vector<std::int32_t> items) {
  beginResetModel();
  items_ = std::move(items);
  endResetModel();
}

void FoundNameDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
  const bool selected = option.state & QStyle::State_Selected;
  const QPalette& palette = option.palette;
  painter->save();
  painter->fillRect(option.rect, palette.brush(selected ? QPalette::Highlight : QPalette::Base));
  painter->setPen(palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
  painter->setFont(option.font);
  painter->drawText(option.rect.adjusted(2, 0, 0, 0),
                    Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, index.data().toString());
  painter->restore();
  if (option.state & QStyle::State_HasFocus) {
    QStyleOptionFocusRect focus;
    focus.QStyleOption::operator=(option);
    focus.backgroundColor = palette.color(selected ? QPalette::Highlight : QPalette::Base);
    const QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, option.widget);
  }
}

QSize FoundNameDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
  // No width of its own: a list of one column gives every item the list's width, and a long
  // name is cut there and shown whole by its hint.
  return {1, qMax(16, option.fontMetrics.height() + 2)};
}

}  // namespace zorel
