#include "shell/help_window.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace zorel {
namespace {

constexpr int kPositionRole = Qt::UserRole;

}  // namespace

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window),
      page_(new QTextBrowser(this)),
      contents_(new QTreeWidget(this)),
      find_(new QLineEdit(this)),
      findStatus_(new QLabel(this)) {
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(QStringLiteral("Справка"));
  page_->setObjectName(QStringLiteral("HelpPage"));
  page_->setOpenExternalLinks(true);
  contents_->setObjectName(QStringLiteral("HelpContents"));
  contents_->setHeaderLabel(QStringLiteral("Содержание"));
  contents_->setRootIsDecorated(false);
  find_->setObjectName(QStringLiteral("HelpFind"));
  find_->setPlaceholderText(QStringLiteral("Найти на странице"));
  find_->setClearButtonEnabled(true);

  auto* tools = new QToolBar(this);
  QAction* back = tools->addAction(QStringLiteral("Назад"), page_, &QTextBrowser::backward);
  QAction* forward = tools->addAction(QStringLiteral("Вперёд"), page_, &QTextBrowser::forward);
  QAction* home = tools->addAction(QStringLiteral("Содержание"), page_, &QTextBrowser::home);
  back->setObjectName(QStringLiteral("HelpBack"));
  forward->setObjectName(QStringLiteral("HelpForward"));
  home->setObjectName(QStringLiteral("HelpHome"));
  back->setShortcut(QKeySequence::Back);
  forward->setShortcut(QKeySequence::Forward);
  back->setEnabled(false);
  forward->setEnabled(false);
  connect(page_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
  connect(page_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
  tools->addSeparator();
  tools->addWidget(find_);
  QAction* previous =
      tools->addAction(QStringLiteral("Предыдущее"), this, [this] { FindInPage(true); });
  QAction* next = tools->addAction(QStringLiteral("Следующее"), this, [this] { FindInPage(); });
  previous->setShortcut(QKeySequence::FindPrevious);
  next->setShortcut(QKeySequence::FindNext);
  tools->addWidget(findStatus_);
  QAction* findKey = new QAction(this);
  findKey->setShortcut(QKeySequence::Find);
  connect(findKey, &QAction::triggered, find_, [this] { find_->setFocus(); });
  addAction(findKey);
  connect(find_, &QLineEdit::returnPressed, this, [this] { FindInPage(); });
  connect(find_, &QLineEdit::textChanged, findStatus_, &QLabel::clear);

  auto* split = new QSplitter(this);
  split->addWidget(contents_);
  split->addWidget(page_);
  split->setStretchFactor(1, 1);
  split->setSizes({220, 640});
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(tools);
  layout->addWidget(split);
  resize(900, 650);

  connect(page_, &QTextBrowser::sourceChanged, this, &HelpWindow::FillContents);
  connect(contents_, &QTreeWidget::itemActivated, this,
          [this](QTreeWidgetItem* item) { ShowSection(item->data(0, kPositionRole).toInt()); });
  connect(contents_, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem* item) { ShowSection(item->data(0, kPositionRole).toInt()); });
}

void HelpWindow::Open(const QString& fileName) {
  page_->setSource(QUrl::fromLocalFile(fileName));
  page_->clearHistory();
  page_->verticalScrollBar()->setValue(0);
}

void HelpWindow::FillContents() {
  // The sections are the page's second-level headings.
  contents_->clear();
  for (QTextBlock block = page_->document()->begin(); block.isValid(); block = block.next()) {
    if (block.blockFormat().headingLevel() != 2) continue;
    auto* item = new QTreeWidgetItem(contents_, {block.text().simplified()});
    item->setData(0, kPositionRole, block.position());
  }
}

void HelpWindow::ShowSection(int position) {
  const QTextBlock block = page_->document()->findBlock(position);
  QTextCursor cursor(block);
  page_->setTextCursor(cursor);
  const QRectF box = page_->document()->documentLayout()->blockBoundingRect(block);
  page_->verticalScrollBar()->setValue(static_cast<int>(box.top()));
}

bool HelpWindow::FindInPage(bool backward) {
  const QString text = find_->text();
  if (text.isEmpty()) return false;
  const QTextDocument::FindFlags flags =
      backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
  bool found = page_->find(text, flags);
  if (!found) {
    // Once more from the other end of the page.
    QTextCursor start(page_->document());
    if (backward) start.movePosition(QTextCursor::End);
    page_->setTextCursor(start);
    found = page_->find(text, flags);
  }
  findStatus_->setText(found ? QString() : QStringLiteral("Не найдено"));
  return found;
}

}  // namespace zorel
