// The product search dialog: the fragment grid, the item-name scan and the found-name list.
#include "search/search_products.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "components/wait_cursor.h"
#include "data/item_scan.h"
#include "data/text1251.h"
#include "search/found_names.h"
#include "search/search_text.h"
#include "textconv/text_convert.h"

namespace zorel {

namespace {

constexpr int kFragmentColumn = 1;

bool IsBlank(const QString& text) {
  return std::all_of(text.begin(), text.end(), [](QChar c) { return c == QLatin1Char(' '); });
}

}  // namespace

// The fragment cells' editor. It reports each change of the typed text, so the term buttons
// follow the typing before the cell is committed, and commits the text on demand, so a scan
// started while a cell is open searches with what is typed.
class FragmentDelegate : public QStyledItemDelegate {
 public:
  FragmentDelegate(QObject* parent, std::function<void()> edited)
      : QStyledItemDelegate(parent), edited_(std::move(edited)) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
      editor_ = line;
      editorRow_ = index.row();
      connect(line, &QLineEdit::textChanged, this, [this] { edited_(); });
    }
    return editor;
  }

  // The text in the open editor of row (0-based), or none.
  std::optional<QString> TypedText(int row) const {
    if (editor_ == nullptr || editorRow_ != row) return std::nullopt;
    return editor_->text();
  }

  void CommitTyped() {
    if (editor_ == nullptr) return;
    QLineEdit* editor = editor_;
    emit commitData(editor);
    emit closeEditor(editor, QAbstractItemDelegate::NoHint);
  }

  // Closes the open editor without writing its text to the cell.
  void DiscardTyped() {
    if (editor_ == nullptr) return;
    emit closeEditor(editor_, QAbstractItemDelegate::RevertModelCache);
  }

  // A closed editor is only deleted later: it no longer holds what is typed.
  void destroyEditor(QWidget* editor, const QModelIndex& index) const override {
    if (editor == editor_) editor_ = nullptr;
    QStyledItemDelegate::destroyEditor(editor, index);
  }

 private:
  std::function<void()> edited_;
  mutable QPointer<QLineEdit> editor_;
  mutable int editorRow_ = -1;
};

TfrmSearchItems::TfrmSearchItems(Tdm& dm, std::shared_ptr<UserPrompts> prompts, QWidget* parent)
    : SearchDialog(dm, parent),
      prompts_(std::move(prompts)),
      sgList2_(new QTableWidget(kFragmentRows, 2, this)),
      fragmentEditor_(new FragmentDelegate(this, [this] { ApplyTermRule(); })),
      sbClear_(FlatButton(QStringLiteral("Очистить"), "sbClear",
                          QStringLiteral("Очистить весь список"))),
      sbExecute_(
          FlatButton(QStringLiteral("Найти"), "sbExecute", QStringLiteral("Найти наименования"))),
      sbSelectAll_(FlatButton(QStringLiteral("Отметить все"), "sbSelectAll",
                              QStringLiteral("Отметить все виды продукции"))),
      lbResult_(new QListView(this)),
      found_(new FoundNamesModel(dm, this)),
      lResult_(new QLabel(QStringLiteral("0/0"), this)),
      nameHint_(lbResult_->viewport(), QStringLiteral("NameHint")) {
  setWindowTitle(QStringLiteral("Поиск по производимой продукции"));
  sgList2_->setObjectName(QStringLiteral("sgList2"));
  lbResult_->setObjectName(QStringLiteral("lbResult"));
  lResult_->setObjectName(QStringLiteral("lResult"));

  sgList2_->setHorizontalHeaderLabels({QStringLiteral("№"), QStringLiteral("Значение для поиска")});
  sgList2_->verticalHeader()->hide();
  sgList2_->verticalHeader()->setDefaultSectionSize(sgList2_->fontMetrics().height() + 4);
  sgList2_->setColumnWidth(0, qMax(25, sgList2_->fontMetrics().horizontalAdvance(" 50.") + 6));
  sgList2_->setColumnWidth(1, 485);
  sgList2_->horizontalHeader()->setStretchLastSection(true);
  sgList2_->setSelectionMode(QAbstractItemView::SingleSelection);
  sgList2_->setItemDelegate(fragmentEditor_);
  // Not on a change of the current cell: compaction moves it after the focus has left. A click
  // opens the cell at once (below), not after the double-click pause: a delayed opening would
  // land on letters typed straight after the click.
  sgList2_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
  for (int row = 0; row < kFragmentRows; ++row) {
    auto* number = new QTableWidgetItem(QString::asprintf("%3d.", row + 1));
    number->setFlags(Qt::ItemIsEnabled);
    sgList2_->setItem(row, 0, number);
    sgList2_->setItem(row, kFragmentColumn, new QTableWidgetItem);
  }
  sgList2_->setCurrentCell(0, kFragmentColumn);

  lbResult_->setModel(found_);
  lbResult_->setItemDelegate(new FoundNameDelegate(lbResult_));
  lbResult_->setUniformItemSizes(true);
  lbResult_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  lbResult_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  lbResult_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lbResult_->viewport()->installEventFilter(this);
  lbResult_->viewport()->setMouseTracking(true);
  connect(lbResult_->verticalScrollBar(), &QScrollBar::valueChanged, this,
          [this] { nameHint_.Hide(); });

  auto* termButtons = new QHBoxLayout;
  for (QToolButton* button : {sbClear_, sbExecute_, sbSelectAll_}) termButtons->addWidget(button);
  termButtons->addStretch(1);
  auto* countRow = new QHBoxLayout;
  countRow->addWidget(new QLabel(QStringLiteral("Наименований :"), this));
  countRow->addWidget(lResult_);
  countRow->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(termButtons);
  layout->addWidget(sgList2_, 1);
  layout->addLayout(countRow);
  layout->addWidget(lbResult_, 2);
  layout->addLayout(ButtonRow());
  resize(560, 560);

  connect(sbClear_, &QToolButton::clicked, this, &TfrmSearchItems::sbClearClick);
  connect(sbExecute_, &QToolButton::clicked, this, &TfrmSearchItems::sbExecuteClick);
  connect(sbSelectAll_, &QToolButton::clicked, this, &TfrmSearchItems::sbSelectAllClick);
  connect(sgList2_, &QTableWidget::cellChanged, this, [this](int, int column) {
    if (column == kFragmentColumn) ApplyTermRule();
  });
  connect(sgList2_, &QTableWidget::cellClicked, this, [this](int row, int column) {
    if (column == kFragmentColumn) sgList2_->editItem(sgList2_->item(row, column));
  });
  // Only the fragment column takes the focus.
  connect(sgList2_, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
    if (row >= 0 && column != kFragmentColumn) sgList2_->setCurrentCell(row, kFragmentColumn);
  });
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
    if (InGrid(old) && !InGrid(now)) CompactFragments(true);
  });
  connect(lbResult_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &TfrmSearchItems::UpdateCount);
}

QString TfrmSearchItems::Fragment(int row) const {
  return sgList2_->item(row - 1, kFragmentColumn)->text();
}

void TfrmSearchItems::SetFragment(int row, const QString& text) {
  sgList2_->item(row - 1, kFragmentColumn)->setText(text);
}

const std::vector<std::int32_t>& TfrmSearchItems::FoundItems() const { return found_->Items(); }

std::vector<ProductKey> TfrmSearchItems::SelectedKeys() const {
  std::vector<ProductKey> keys;
  const QItemSelectionModel* selection = lbResult_->selectionModel();
  const std::vector<std::int32_t>& items = found_->Items();
  for (int row = 0; row < static_cast<int>(items.size()); ++row) {
    if (selection->isRowSelected(row)) keys.push_back({0, items[row]});
  }
  return keys;
}

SearchRequest TfrmSearchItems::Request() const {
  return {SearchKind::Products, {}, SelectedKeys()};
}

bool TfrmSearchItems::InGrid(const QWidget* widget) const {
  return widget != nullptr && (widget == sgList2_ || sgList2_->isAncestorOf(widget));
}

void TfrmSearchItems::CompactFragments(bool focusLeft) {
  QStringList kept;
  for (int row = 1; row <= kFragmentRows; ++row) {
    const QString text = Fragment(row);
    if (!IsBlank(text)) kept << text;
  }
  {
    const QSignalBlocker blocker(sgList2_);
    for (int row = 1; row <= kFragmentRows; ++row) {
      SetFragment(row, row <= kept.size() ? kept[row - 1] : QString());
    }
  }
  ApplyTermRule();
  if (focusLeft) {
    const int k = static_cast<int>(kept.size());
    sgList2_->setCurrentCell((k < 4 ? 1 : k - 3) - 1, kFragmentColumn);
  }
}

void TfrmSearchItems::sbExecuteClick() {
  fragmentEditor_->CommitTyped();
  CompactFragments(false);
  std::vector<std::string> fragments;
  for (int row = 1; row <= kFragmentRows && !Fragment(row).isEmpty(); ++row) {
    const std::optional<std::string> fragment = To1251(Fragment(row));
    if (!fragment) {
      sgList2_->setCurrentCell(row - 1, kFragmentColumn);
      prompts_->tell(this, MessageIcon::Critical, Not1251Message(Fragment(row)));
      return;
    }
    fragments.push_back(Lower1251(*fragment));
  }
  {
    const QSignalBlocker blocker(sgList2_);
    for (std::size_t i = 0; i < fragments.size(); ++i) {
      SetFragment(static_cast<int>(i) + 1, FromCp(fragments[i]));
    }
  }
  found_->SetItems({});
  ItemScanResult result;
  {
    const WaitCursor wait;
    result = ScanItemNames(dm_, fragments);
  }
  found_->SetItems(std::move(result.items));
  // A reset keeps the list's scroll position; each scan starts at its first name.
  lbResult_->scrollToTop();
  UpdateCount();
  if (result.limitReached) {
    prompts_->tell(this, MessageIcon::Information, QString::fromUtf8(kItemScanLimitMessage));
  }
}

void TfrmSearchItems::sbClearClick() {
  fragmentEditor_->DiscardTyped();
  {
    const QSignalBlocker blocker(sgList2_);
    for (int row = 1; row <= kFragmentRows; ++row) SetFragment(row, QString());
  }
  ApplyTermRule();
}

void TfrmSearchItems::sbSelectAllClick() {
  if (found_->rowCount() > 0) {
    lbResult_->setUpdatesEnabled(false);
    const QModelIndex focused = lbResult_->currentIndex();
    lbResult_->selectionModel()->select(
        QItemSelection(found_->index(0), found_->index(found_->rowCount() - 1)),
        QItemSelectionModel::Select);
    lbResult_->selectionModel()->setCurrentIndex(focused, QItemSelectionModel::NoUpdate);
    lbResult_->setUpdatesEnabled(true);
  }
  UpdateCount();
}

void TfrmSearchItems::ApplyTermRule() {
  bool any = false;
  for (int row = 1; row <= kFragmentRows && !any; ++row) {
    any = !IsBlank(fragmentEditor_->TypedText(row - 1).value_or(Fragment(row)));
  }
  sbClear_->setEnabled(any);
  sbExecute_->setEnabled(any);
  sbSelectAll_->setEnabled(any);
}

void TfrmSearchItems::UpdateCount() {
  const auto selected = lbResult_->selectionModel()->selectedRows().size();
  lResult_->setText(QStringLiteral("%1/%2").arg(selected).arg(found_->rowCount()));
  SetSearchButtonsVisible(selected > 0);
}

bool TfrmSearchItems::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lbResult_->viewport()) {
    switch (event->type()) {
      case QEvent::ToolTip:
        ShowNameHint(static_cast<QHelpEvent*>(event)->pos());
        return true;
      case QEvent::MouseMove:
        if (nameHint_.IsShown() && !nameHint_.PointerOnRow()) nameHint_.Hide();
        break;
      case QEvent::Leave:
        if (!nameHint_.PointerOnRow()) nameHint_.Hide();
        break;
      case QEvent::MouseButtonPress:
      case QEvent::Wheel:
        nameHint_.Hide();
        break;
      default:
        break;
    }
  }
  return SearchDialog::eventFilter(watched, event);
}

void TfrmSearchItems::ShowNameHint(const QPoint& position) {
  const QModelIndex index = lbResult_->indexAt(position);
  const QString name = index.data().toString();
  if (!index.isValid() ||
      lbResult_->fontMetrics().horizontalAdvance(name) <= lbResult_->viewport()->width()) {
    nameHint_.Hide();
    return;
  }
  const QRect row = lbResult_->visualRect(index);
  if (nameHint_.IsShown() && nameHint_.Text() == name) return;
  // The delegate draws a name two pixels from the row's left edge.
  nameHint_.Show(name, row, 2);
}

}  // namespace zorel
