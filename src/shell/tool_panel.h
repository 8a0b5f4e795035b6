// ToolPanel: the main window's tool bar (pToolBar), a 32-pixel panel with a silver-to-grey
// gradient behind eleven flat 25 x 25 buttons at their fixed places.
#pragma once

#include <QFrame>

class QToolButton;

namespace zorel {

class TGradientFill;

class ToolPanel : public QFrame {
  Q_OBJECT

 public:
  explicit ToolPanel(QWidget* parent = nullptr);

  QToolButton *NewBtn, *OpenBtn, *SaveBtn, *EditBtn, *CutBtn, *CopyBtn, *PasteBtn, *Search1Btn,
      *SearchProductsBtn, *SearchBranchesBtn, *ExitBtn;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  // A button's hint has no status text: entering it empties the status line.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TGradientFill* fill_;
};

}  // namespace zorel
