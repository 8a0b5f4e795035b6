// The branch search dialog: the lazily loaded classification tree, the chosen values and the
// key list.
#include "search/search_branches.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "components/wait_cursor.h"
#include "data/classification.h"
#include "data/data_module.h"
#include "data/text1251.h"
#include "search/class_tree.h"
#include "textconv/text_convert.h"

namespace zorel {

namespace {

// Ends a long operation the way the user expects whether it finished or failed: the progress
// label empty and the tree drawing again.
class ProgressScope {
 public:
  ProgressScope(QLabel* label, const QString& text, QWidget* frozen = nullptr)
      : label_(label), frozen_(frozen) {
    label_->setText(text);
    label_->repaint();
    if (frozen_ != nullptr) frozen_->setUpdatesEnabled(false);
  }
  ~ProgressScope() {
    if (frozen_ != nullptr) frozen_->setUpdatesEnabled(true);
    label_->clear();
  }
  ProgressScope(const ProgressScope&) = delete;
  ProgressScope& operator=(const ProgressScope&) = delete;

 private:
  QLabel* label_;
  QWidget* frozen_;
};

}  // namespace

TfrmSearchClass::TfrmSearchClass(Tdm& dm, QWidget* parent)
    : SearchDialog(dm, parent),
      images_(ClassTreeImages()),
      tvClass_(new QTreeWidget(this)),
      lbValue_(new QListWidget(this)),
      sbAdd_(FlatButton(QStringLiteral(">"), "sbAdd", QStringLiteral("Добавить в список"))),
      sbRemove_(FlatButton(QStringLiteral("<"), "sbRemove", QStringLiteral("Удалить из списка"))),
      sbRemoveAll_(FlatButton(QStringLiteral("<<"), "sbRemoveAll",
                              QStringLiteral("Удалить из списка все данные"))),
      lCnt_(new QLabel(this)),
      lProcessed_(new QLabel(this)),
      root_(new ClassTreeItem(TClassInfo::Root(), *To1251(QStringLiteral("Весь список")),
                              kFolderImage, images_)) {
  setWindowTitle(QStringLiteral("Поиск по рубрикатору"));
  tvClass_->setObjectName(QStringLiteral("tvClass"));
  lbValue_->setObjectName(QStringLiteral("lbValue"));
  lCnt_->setObjectName(QStringLiteral("lCnt"));
  lProcessed_->setObjectName(QStringLiteral("lProcessed"));

  tvClass_->setHeaderHidden(true);
  tvClass_->setIndentation(19);
  tvClass_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tvClass_->setSelectionMode(QAbstractItemView::SingleSelection);
  // ExpandNode gives each level's children already in Russian order; the tree keeps it.
  tvClass_->setSortingEnabled(false);
  tvClass_->addTopLevelItem(root_);
  root_->addChild(new QTreeWidgetItem);
  lbValue_->setSortingEnabled(true);
  lbValue_->setSelectionMode(QAbstractItemView::SingleSelection);

  auto* top = new QHBoxLayout;
  top->addWidget(lCnt_);
  top->addStretch(1);
  top->addWidget(lProcessed_);
  auto* moveButtons = new QVBoxLayout;
  moveButtons->addStretch(1);
  for (QToolButton* button : {sbAdd_, sbRemove_, sbRemoveAll_}) moveButtons->addWidget(button);
  moveButtons->addStretch(1);
  auto* lists = new QHBoxLayout;
  lists->addWidget(tvClass_, 3);
  lists->addLayout(moveButtons);
  lists->addWidget(lbValue_, 2);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(lists, 1);
  layout->addLayout(ButtonRow());
  resize(800, 560);
  setWindowState(Qt::WindowMaximized);

  connect(tvClass_, &QTreeWidget::itemExpanded, this, &TfrmSearchClass::tvClassExpanding);
  connect(tvClass_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
    sbAdd_->setEnabled(AsClassItem(current) != nullptr);
  });
  connect(lbValue_, &QListWidget::currentRowChanged, this, &TfrmSearchClass::ApplyListButtonRule);
  connect(sbAdd_, &QToolButton::clicked, this, &TfrmSearchClass::sbAddClick);
  connect(sbRemove_, &QToolButton::clicked, this, &TfrmSearchClass::sbRemoveClick);
  connect(sbRemoveAll_, &QToolButton::clicked, this, &TfrmSearchClass::sbRemoveAllClick);
}

SearchRequest TfrmSearchClass::Request() const { return {SearchKind::Branches, {}, keys_}; }

void TfrmSearchClass::tvClassExpanding(QTreeWidgetItem* item) {
  ClassTreeItem* node = AsClassItem(item);
  if (node != nullptr && !node->info.loaded) LoadChildren(node);
}

void TfrmSearchClass::LoadChildren(ClassTreeItem* node) {
  const WaitCursor wait;
  qDeleteAll(node->takeChildren());
  try {
    const ProgressScope progress(lCnt_, QStringLiteral("Идет загрузка данных ..."), tvClass_);
    const std::vector<ClassChild> children =
        ExpandNode(dm_, node->info, [this](std::int32_t n) { ShowProcessed(n); });
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(children.size()));
    for (const ClassChild& child : children) {
      const int image = child.info.count <= 1 ? kLeafImage : kFolderImage;
      auto* item = new ClassTreeItem(child.info, child.caption, image, images_);
      if (child.info.Expandable()) item->addChild(new QTreeWidgetItem);
      items << item;
    }
    node->addChildren(items);
  } catch (...) {
    // The branch stays unloaded with its placeholder, so expanding it again tries again.
    node->addChild(new QTreeWidgetItem);
    node->setExpanded(false);
    throw;
  }
  node->info.loaded = true;
}

void TfrmSearchClass::ShowProcessed(int scanned) {
  lProcessed_->setText(QString::number(scanned));
  lProcessed_->repaint();
}

void TfrmSearchClass::sbAddClick() {
  ClassTreeItem* node = AsClassItem(tvClass_->currentItem());
  if (node == nullptr) return;
  // Only the same tree item is refused: another branch may show the same text and stands for
  // other entries.
  for (int row = 0; row < lbValue_->count(); ++row) {
    if (static_cast<ChosenValueItem*>(lbValue_->item(row))->Node() == node) {
      ApplyListButtonRule();
      return;
    }
  }
  const int kind = node->info.kind;
  const std::string label =
      kind == 0 ? std::string() : std::string(Strip(dm_.GetKindLabel(kind - 1)));
  const std::string text = label + " " + dm_.Header().kindSeparator + " " + node->Caption1251();
  lbValue_->addItem(new ChosenValueItem(text, node));
  ApplyListButtonRule();
}

void TfrmSearchClass::sbRemoveClick() {
  delete lbValue_->currentItem();
  lbValue_->setCurrentRow(-1);
  ApplyListButtonRule();
}

void TfrmSearchClass::sbRemoveAllClick() {
  lbValue_->clear();
  ApplyListButtonRule();
}

void TfrmSearchClass::ApplyListButtonRule() {
  const bool hasValues = lbValue_->count() > 0;
  sbRemove_->setEnabled(hasValues && lbValue_->currentRow() >= 0);
  sbRemoveAll_->setEnabled(hasValues);
  SetSearchButtonsVisible(hasValues);
}

void TfrmSearchClass::BuildKeys() {
  const WaitCursor wait;
  const ProgressScope progress(lCnt_, QStringLiteral("Формирование списка продукции ..."));
  keys_.clear();
  std::vector<TClassInfo> chosen;
  chosen.reserve(static_cast<std::size_t>(lbValue_->count()));
  for (int row = 0; row < lbValue_->count(); ++row) {
    chosen.push_back(static_cast<ChosenValueItem*>(lbValue_->item(row))->Node()->info);
  }
  keys_ = BuildKeyList(dm_, chosen, [this](std::int32_t n) { ShowProcessed(n); });
}

}  // namespace zorel
