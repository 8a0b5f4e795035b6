// The desktop program as the GUI benchmark drives it: the data module over the synthetic base
// and the main window shown on the offscreen platform, with its first list window open and
// prompts that never block (closing a modified window answers No). Also the probes the
// measures use: running the event queue until a widget has painted, and logging the rows the
// name grid fetches. The running Application must outlive a BenchShell.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>

class QDialog;
class QWidget;

namespace zorel {
class TMDIChild;
class TMainForm;
class NameGrid;
class RecordGridModel;
class Tdm;
}  // namespace zorel

namespace zorel::guibench {

class BenchShell {
 public:
  explicit BenchShell(const std::string& dbDir);
  ~BenchShell();
  BenchShell(const BenchShell&) = delete;
  BenchShell& operator=(const BenchShell&) = delete;

  Tdm& Dm() { return *dm_; }
  TMainForm& Form() { return *form_; }
  // The application's idle moment, as the event dispatcher reports it.
  void Idle();
  // How the search dialogs are answered.
  void SetSearchAnswer(std::function<int(QDialog&)> answer);
  // Closes a list window (unsaved lists are not saved) and lets it be destroyed.
  void CloseListWindow(TMDIChild* window);

 private:
  std::unique_ptr<Tdm> dm_;
  std::unique_ptr<TMainForm> form_;
};

// Runs the event queue (no idle moment) until `widget` has been painted, or at once when it is
// null; gives up after two seconds.
void Settle(QWidget* widget = nullptr);

NameGrid* GridOf(const TMDIChild* window);
RecordGridModel* ModelOf(const TMDIChild* window);

// The rows whose record a list window's grid model reads, from construction of the log until
// it is destroyed (which detaches it).
class FetchLog {
 public:
  explicit FetchLog(RecordGridModel* model);
  ~FetchLog();
  FetchLog(const FetchLog&) = delete;
  FetchLog& operator=(const FetchLog&) = delete;

  void Clear();
  std::int64_t Fetches() const { return fetches_; }
  std::int64_t Rows() const { return static_cast<std::int64_t>(rows_.size()); }
  // Fetched rows outside first..last.
  std::int64_t RowsOutside(int first, int last) const;

 private:
  RecordGridModel* model_;
  std::int64_t fetches_ = 0;
  std::set<int> rows_;
};

// The rows of the grid that lie at least partly inside its viewport.
struct VisibleRows {
  int first = 0;
  int last = -1;
  int Count() const { return last - first + 1; }
};
VisibleRows VisibleRowsOf(const NameGrid* grid);

}  // namespace zorel::guibench
