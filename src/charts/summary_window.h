// SummaryWindow: "Сводка по списку", how the enterprises of a list spread, one tab an axis
// (regions, countries, forms of ownership, staff bands, founding decades, the most frequent
// products): a bar chart with the counts beside a table of them. A click on a bar (or a double
// click on a table row) asks for those enterprises as a list window of their own; each chart
// saves as PNG and each table as CSV, never onto a file of the base.
#pragma once

#include <QString>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "data/list_summary.h"

class QChart;
class QTabWidget;

namespace zorel {

struct UserPrompts;

struct SummaryTab {
  SummaryAxis axis;
  std::vector<SummaryBar> bars;
};

class SummaryWindow : public QWidget {
  Q_OBJECT

 public:
  // listCaption: the list window's caption; dbDir: the base's folder, never written to.
  SummaryWindow(const QString& listCaption, std::vector<SummaryTab> tabs, std::string dbDir,
                std::shared_ptr<UserPrompts> prompts, QWidget* parent = nullptr);

  QTabWidget* Tabs() const { return tabs_; }
  QChart* ChartOf(int tab) const;
  // Throw ExportError when the file cannot (or may not) be written.
  void SaveChart(int tab, const QString& path) const;
  void SaveTable(int tab, const QString& path) const;

 signals:
  // label: the bar's text (UTF-8) under the axis's caption.
  void barClicked(SummaryAxis axis, qint64 key, const QString& label);

 private:
  QWidget* MakeTab(int index);
  void ChooseAndSave(int tab, bool chart);

  std::vector<SummaryTab> data_;
  std::string dbDir_;
  std::shared_ptr<UserPrompts> prompts_;
  QTabWidget* tabs_;
};

}  // namespace zorel
