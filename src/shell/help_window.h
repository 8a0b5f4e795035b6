// HelpWindow: "Справка", the bundled user guide in a window of the program's own, so reading
// our help needs no browser. Contents (the guide's sections) on the left, the page on the right,
// back and forward through the links followed, and a search in the page.
#pragma once

#include <QWidget>

class QLineEdit;
class QTextBrowser;
class QTreeWidget;
class QLabel;

namespace zorel {

class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit HelpWindow(QWidget* parent = nullptr);

  // Shows the HTML file (the guide's index.html) from its top.
  void Open(const QString& fileName);

  QTextBrowser* Page() const { return page_; }
  QTreeWidget* Contents() const { return contents_; }
  // Finds the search box's text after the cursor (backward: before it), wrapping around the
  // page once; false when the page does not hold it.
  bool FindInPage(bool backward = false);

 private:
  void FillContents();
  void ShowSection(int position);

  QTextBrowser* page_;
  QTreeWidget* contents_;
  QLineEdit* find_;
  QLabel* findStatus_;
};

}  // namespace zorel
