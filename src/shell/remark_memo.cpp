#include "shell/remark_memo.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>

namespace zorel {

RemarkMemo::RemarkMemo(QWidget* parent) : QPlainTextEdit(parent) {
  connect(this, &QPlainTextEdit::textChanged, this, [this] {
    if (!quiet_) emit edited();
  });
}

void RemarkMemo::SetTextQuietly(const QString& text) {
  quiet_ = true;
  setPlainText(text);
  quiet_ = false;
}

int RemarkMemo::Room() const {
  const QTextCursor c = textCursor();
  const int length = static_cast<int>(toPlainText().size());
  return maxLength_ - (length - (c.selectionEnd() - c.selectionStart()));
}

void RemarkMemo::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    event->ignore();
    return;
  }
  const QString typed = event->text();
  if (!typed.isEmpty() && typed.at(0).isPrint() && Room() < typed.size()) {
    event->accept();
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

void RemarkMemo::insertFromMimeData(const QMimeData* source) {
  if (source == nullptr || !source->hasText()) return;
  const int room = Room();
  if (room <= 0) return;
  insertPlainText(source->text().left(room));
}

}  // namespace zorel
