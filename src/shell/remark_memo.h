// RemarkMemo: the memo in which the user writes the remark on an enterprise. Enter inserts no
// line break, typing and pasting stop at the length limit, and only the user's own edits are
// reported (edited()); texts set by the program are not.
#pragma once

#include <QPlainTextEdit>

namespace zorel {

class RemarkMemo : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit RemarkMemo(QWidget* parent = nullptr);

  void SetMaxLength(int characters) { maxLength_ = characters; }
  int MaxLength() const { return maxLength_; }
  // Replaces the text without reporting an edit.
  void SetTextQuietly(const QString& text);

 signals:
  void edited();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void insertFromMimeData(const QMimeData* source) override;

 private:
  int Room() const;

  int maxLength_ = 4096;
  bool quiet_ = false;
};

}  // namespace zorel
