#include "components/auto_height_memo.h"

#include <QAbstractTextDocumentLayout>
#include <QResizeEvent>
#include <QTextBlock>
#include <QTextLayout>
#include <algorithm>

namespace zorel {

TAutoHeightMemo::TAutoHeightMemo(QWidget* parent) : QPlainTextEdit(parent) {
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  document()->setDocumentMargin(2);
  connect(this, &QPlainTextEdit::textChanged, this, [this] {
    if (showAtOnce_) AdjustHeight();
  });
  AdjustHeight();
}

void TAutoHeightMemo::SetShowAtOnce(bool on) {
  showAtOnce_ = on;
  // A control that shows everything at once never needs to scroll.
  const auto policy = on ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded;
  setVerticalScrollBarPolicy(policy);
  setHorizontalScrollBarPolicy(policy);
  AdjustHeight();
}

int TAutoHeightMemo::LineHeight() const { return fontMetrics().lineSpacing(); }

int TAutoHeightMemo::BorderAllowance() const { return frameShape() == QFrame::NoFrame ? 6 : 8; }

int TAutoHeightMemo::VisibleLineCount() const {
  // Asking the layout for each block's rectangle makes it lay the block out at the current
  // width first, so the line counts below are those of the text as it is now wrapped.
  auto* layout = document()->documentLayout();
  int lines = 0;
  for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
    layout->blockBoundingRect(block);
    lines += std::max(1, block.layout()->lineCount());
  }
  return std::max(1, lines);
}

void TAutoHeightMemo::AdjustHeight() {
  const int lines = showAtOnce_ ? VisibleLineCount() : 1;
  const int height = LineHeight() * lines + BorderAllowance();
  if (height != this->height()) resize(width(), height);
}

void TAutoHeightMemo::resizeEvent(QResizeEvent* event) {
  QPlainTextEdit::resizeEvent(event);
  // A new width wraps the text anew.
  if (showAtOnce_ && event->size().width() != event->oldSize().width()) AdjustHeight();
}

}  // namespace zorel
