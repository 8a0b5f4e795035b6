// The found names of the product search: a list model over 0-based item numbers that fetches
// each name from item.dat only when it is painted, and the delegate that draws an item.
#pragma once

#include <QAbstractListModel>
#include <QStyledItemDelegate>
#include <cstdint>
#include <vector>

namespace zorel {

class Tdm;

class FoundNamesModel : public QAbstractListModel {
  Q_OBJECT

 public:
  // Qt::UserRole: the item's ProductKey text ("    0" and the item number).
  FoundNamesModel(const Tdm& dm, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  void SetItems(std::vector<std::int32_t> items);
  const std::vector<std::int32_t>& Items() const { return items_; }

 private:
  const Tdm& dm_;
  std::vector<std::int32_t> items_;
};

// Fills the item's rectangle (highlight colours when selected), writes the name 2 pixels from
// the left edge and draws a focus rectangle around the focused item.
class FoundNameDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace zorel
