// TfrmSearchClass, "Поиск по рубрикатору": the classification as a tree under "Весь список",
// loaded one level at a time on first expansion; the user moves tree items into a list of
// chosen values, and both search buttons turn the chosen items into the product keys of every
// classification entry below them. The caller reads Keys() after a search result and hands
// them to MatchProducts. Created once and kept: loaded branches, chosen values and the last
// key list survive between searches.
#pragma once

#include <QIcon>
#include <array>
#include <vector>

#include "data/product_key.h"
#include "search/search_dialog.h"

class QLabel;
class QListWidget;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace zorel {

class ClassTreeItem;

class TfrmSearchClass : public SearchDialog {
  Q_OBJECT

 public:
  explicit TfrmSearchClass(Tdm& dm, QWidget* parent = nullptr);

  // The key list of the last search, in classification entry order, each key once.
  const std::vector<ProductKey>& Keys() const { return keys_; }
  SearchRequest Request() const override;
  // The item "Весь список".
  ClassTreeItem* Root() const { return root_; }

 public slots:
  void sbAddClick();
  void sbRemoveClick();
  void sbRemoveAllClick();
  // Builds the key list from the chosen values.
  void BuildKeys();

 protected:
  void PrepareSearch() override { BuildKeys(); }

 private:
  void tvClassExpanding(QTreeWidgetItem* item);
  void LoadChildren(ClassTreeItem* node);
  void ApplyListButtonRule();
  void ShowProcessed(int scanned);

  std::array<QIcon, 2> images_;
  QTreeWidget* tvClass_;
  QListWidget* lbValue_;
  QToolButton* sbAdd_;
  QToolButton* sbRemove_;
  QToolButton* sbRemoveAll_;
  QLabel* lCnt_;
  QLabel* lProcessed_;
  ClassTreeItem* root_;
  std::vector<ProductKey> keys_;
};

}  // namespace zorel
