// Tree and list items of the branch search, and its pictures.
#include "search/class_tree.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "data/text1251.h"
#include "textconv/text_convert.h"

namespace zorel {

ClassTreeItem::ClassTreeItem(const TClassInfo& nodeInfo, const std::string& caption, int image,
                             const std::array<QIcon, 2>& images)
    : QTreeWidgetItem(kType), info(nodeInfo), caption_(caption), image_(image) {
  setText(0, FromCp(caption));
  setIcon(0, images[image]);
}

ClassTreeItem* AsClassItem(QTreeWidgetItem* item) {
  return item != nullptr && item->type() == ClassTreeItem::kType ? static_cast<ClassTreeItem*>(item)
                                                                 : nullptr;
}

ChosenValueItem::ChosenValueItem(const std::string& text, ClassTreeItem* node)
    : QListWidgetItem(FromCp(text), nullptr, kType), text_(text), node_(node) {}

bool ChosenValueItem::operator<(const QListWidgetItem& other) const {
  if (other.type() != kType) return QListWidgetItem::operator<(other);
  return CompareRussian(text_, static_cast<const ChosenValueItem&>(other).text_) < 0;
}

std::array<QIcon, 2> ClassTreeImages() {
  QPixmap folder(16, 16);
  folder.fill(Qt::transparent);
  {
    QPainter p(&folder);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(128, 96, 0));
    p.setBrush(QColor(240, 200, 80));
    QPainterPath shape;
    shape.moveTo(1.5, 3.5);
    shape.lineTo(6.5, 3.5);
    shape.lineTo(8, 5.5);
    shape.lineTo(14.5, 5.5);
    shape.lineTo(14.5, 13.5);
    shape.lineTo(1.5, 13.5);
    shape.closeSubpath();
    p.drawPath(shape);
    p.drawLine(QPointF(1.5, 7.5), QPointF(14.5, 7.5));
  }
  QPixmap leaf(16, 16);
  leaf.fill(Qt::transparent);
  {
    QPainter p(&leaf);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(96, 96, 96));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3.5, 1.5, 9, 13));
    p.setPen(QColor(64, 112, 176));
    for (double y = 4.5; y < 13; y += 2.5) p.drawLine(QPointF(5.5, y), QPointF(10.5, y));
  }
  return {QIcon(folder), QIcon(leaf)};
}

}  // namespace zorel
