// TfrmSearchItems, "Поиск по производимой продукции": the user types up to fifty fragments of
// product names, scans item.dat for names containing one of them and selects some of the
// found names; the caller reads SelectedKeys() (in list order) after a search result and hands
// them to MatchProducts. Created once and kept, so fragments, names and selection survive.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "components/user_prompts.h"
#include "data/product_key.h"
#include "search/search_dialog.h"

class QLabel;
class QListView;
class QTableWidget;
class QToolButton;

namespace zorel {

class FoundNamesModel;

inline constexpr int kFragmentRows = 50;

class TfrmSearchItems : public SearchDialog {
  Q_OBJECT

 public:
  TfrmSearchItems(Tdm& dm, std::shared_ptr<UserPrompts> prompts, QWidget* parent = nullptr);

  // Fragment row 1..50 (as numbered in the grid).
  QString Fragment(int row) const;
  void SetFragment(int row, const QString& text);
  // The found items in list order (0-based item numbers).
  const std::vector<std::int32_t>& FoundItems() const;
  // The keys of the selected items, in list order.
  std::vector<ProductKey> SelectedKeys() const;
  SearchRequest Request() const override;

 public slots:
  void sbExecuteClick();
  void sbClearClick();
  void sbSelectAllClick();
  // Moves the fragments up to rows 1..k; when the grid lost the focus, row k - 3 (at least 1)
  // becomes the current row.
  void CompactFragments(bool focusLeft);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ApplyTermRule();
  void UpdateCount();
  bool InGrid(const QWidget* widget) const;
  void ShowNameHint(const QPoint& position);

  std::shared_ptr<UserPrompts> prompts_;
  QTableWidget* sgList2_;
  QToolButton* sbClear_;
  QToolButton* sbExecute_;
  QToolButton* sbSelectAll_;
  QListView* lbResult_;
  FoundNamesModel* found_;
  QLabel* lResult_;
};

}  // namespace zorel
