// TAutoHeightMemo: a multi-line text control whose height can follow the number of lines it
// shows (wrapped lines counted), so all of its text is visible without scrolling. The detail
// panel shows the address and the telephones in two of them. With ShowAtOnce the control
// sets its own height; its owner places it but must not give it a height of its own.
#pragma once

#include <QPlainTextEdit>

namespace zorel {

class TAutoHeightMemo : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit TAutoHeightMemo(QWidget* parent = nullptr);

  bool ShowAtOnce() const { return showAtOnce_; }
  void SetShowAtOnce(bool on);

  // The height of one text line in the control's font.
  int LineHeight() const;
  // What the frame and the inner margins take: 8 pixels with a frame, 6 without.
  int BorderAllowance() const;
  // The lines the control shows now, wrapped lines counted; an empty text is one line.
  int VisibleLineCount() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void AdjustHeight();

  bool showAtOnce_ = false;
};

}  // namespace zorel
