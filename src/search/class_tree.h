// The items of the branch search: tree items that carry their classification node, the
// placeholder that gives an unloaded branch its expand button, chosen values that remember
// their tree item, and the two pictures of the tree (folder and leaf).
#pragma once

#include <QIcon>
#include <QListWidgetItem>
#include <QTreeWidgetItem>
#include <array>
#include <string>

#include "data/classification.h"

namespace zorel {

inline constexpr int kFolderImage = 0;
inline constexpr int kLeafImage = 1;

class ClassTreeItem : public QTreeWidgetItem {
 public:
  static constexpr int kType = QTreeWidgetItem::UserType + 1;

  // caption is Windows-1251; image is kFolderImage or kLeafImage.
  ClassTreeItem(const TClassInfo& info, const std::string& caption, int image,
                const std::array<QIcon, 2>& images);

  TClassInfo info;
  const std::string& Caption1251() const { return caption_; }
  int Image() const { return image_; }

 private:
  std::string caption_;
  int image_;
};

// The tree item of a node, or null for a placeholder.
ClassTreeItem* AsClassItem(QTreeWidgetItem* item);

// A chosen value: its text and the tree item it stands for. Sorted by the Russian order of
// its Windows-1251 text.
class ChosenValueItem : public QListWidgetItem {
 public:
  static constexpr int kType = QListWidgetItem::UserType + 1;

  ChosenValueItem(const std::string& text, ClassTreeItem* node);

  ClassTreeItem* Node() const { return node_; }
  bool operator<(const QListWidgetItem& other) const override;

 private:
  std::string text_;
  // Tree items of nodes are never deleted while the dialog lives.
  ClassTreeItem* node_;
};

// A folder at kFolderImage, a leaf at kLeafImage, drawn for the tree's 16-pixel rows.
std::array<QIcon, 2> ClassTreeImages();

}  // namespace zorel
