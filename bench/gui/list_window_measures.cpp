// The list window's measures: opening over the whole base, and what its name grid fetches.
#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QScrollBar>
#include <algorithm>
#include <string>
#include <vector>

#include "common/process_memory.h"
#include "measures.h"
#include "shell/child_window.h"
#include "shell/main_window.h"
#include "shell/name_grid.h"
#include "stats.h"

namespace zorel::guibench {
namespace {

constexpr double kOpenSeconds = 0.3;
constexpr double kOpenBytes = 10e6;

void PressKey(NameGrid* grid, Qt::Key key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QCoreApplication::sendEvent(grid, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
  QCoreApplication::sendEvent(grid, &release);
}

std::string Count(std::int64_t n) { return std::to_string(n); }

// "N rows fetched (F fetches), V visible, O outside them"
std::string Screenful(const FetchLog& log, const VisibleRows& visible) {
  return Count(log.Rows()) + " rows fetched (" + Count(log.Fetches()) + " fetches), " +
         Count(visible.Count()) + " visible, " +
         Count(log.RowsOutside(visible.first, visible.last)) + " outside them";
}

}  // namespace

void MeasureOpenList(BenchShell& shell, int runs, Report& report) {
  // Every window stays open until the last run, so memory one of them frees cannot hide what
  // the next one takes.
  std::vector<TMDIChild*> opened;
  std::vector<double> seconds, grown, heap;
  std::int64_t firstPaintRows = 0, firstPaintOutside = 0, visibleRows = 0;
  for (int run = 0; run < runs; ++run) {
    const std::int64_t rss = bench::ResidentBytes();
    const std::int64_t inUse = bench::HeapInUseBytes();
    QElapsedTimer clock;
    clock.start();
    shell.Form().Actions().FileNewItem->trigger();
    TMDIChild* child = shell.Form().LastChild();
    NameGrid* grid = GridOf(child);
    // The model exists only now; nothing is painted before the queue runs.
    const FetchLog log(ModelOf(child));
    Settle(grid->viewport());
    shell.Idle();
    Settle();
    seconds.push_back(clock.nsecsElapsed() / 1e9);
    grown.push_back(static_cast<double>(bench::ResidentBytes() - rss));
    heap.push_back(static_cast<double>(bench::HeapInUseBytes() - inUse));
    const VisibleRows visible = VisibleRowsOf(grid);
    firstPaintRows = std::max(firstPaintRows, log.Rows());
    firstPaintOutside = std::max(firstPaintOutside, log.RowsOutside(visible.first, visible.last));
    visibleRows = visible.Count();
    opened.push_back(child);
  }
  for (TMDIChild* child : opened) shell.CloseListWindow(child);

  const double time = Median(seconds);
  const double rss = Median(grown);
  report.Add({"open whole-base list window: time", Milliseconds(time),
              "<= " + Milliseconds(kOpenSeconds), time <= kOpenSeconds});
  report.Add({"open whole-base list window: RSS growth", Megabytes(rss),
              "<= " + Megabytes(kOpenBytes), rss <= kOpenBytes});
  report.Note("open: heap in use grows by " + Megabytes(Median(heap)) + " per window (median); " +
              "first paint fetched at most " + Count(firstPaintRows) + " rows of " +
              Count(visibleRows) + " visible, " + Count(firstPaintOutside) + " outside them");
}

void MeasureGridFetches(BenchShell& shell, Report& report) {
  TMDIChild* child = shell.Form().ActiveChild();
  NameGrid* grid = GridOf(child);
  FetchLog log(ModelOf(child));
  child->SetCurrentRow(1000);
  grid->scrollTo(grid->currentIndex(), QAbstractItemView::PositionAtCenter);
  Settle(grid->viewport());
  shell.Idle();
  Settle();

  // One row down inside the screen: the move itself fetches nothing, the repaint of the two
  // rows whose look changed needs no new record, and the details come at the idle moment, once.
  log.Clear();
  std::int64_t details = child->DetailFetches();
  PressKey(grid, Qt::Key_Down);
  const std::int64_t moveFetches = log.Fetches();
  const std::int64_t moveDetails = child->DetailFetches() - details;
  Settle(grid->viewport());
  const std::int64_t repaintFetches = log.Fetches() - moveFetches;
  const std::int64_t beforeIdle = child->DetailFetches() - details;
  shell.Idle();
  const std::int64_t atIdle = child->DetailFetches() - details - beforeIdle;
  const bool moveMet =
      moveFetches == 0 && moveDetails == 0 && repaintFetches == 0 && beforeIdle == 0 && atIdle == 1;
  report.Add({"move selection one row: fetches until idle",
              Count(moveFetches + repaintFetches) + " names, " + Count(beforeIdle) + " details",
              "0 names, 0 details", moveMet});
  report.Note("one-row move: " + Count(moveFetches) + " fetches during the key press, " +
              Count(repaintFetches) + " during the repaint; details fetched before idle " +
              Count(beforeIdle) + ", at idle " + Count(atIdle));

  // Arrow key held for 40 rows past the bottom of the screen, each step painted, no idle moment
  // until the end: one record fetched per row scrolled into view.
  details = child->DetailFetches();
  log.Clear();
  for (int i = 0; i < 40; ++i) {
    PressKey(grid, Qt::Key_Down);
    Settle(grid->viewport());
  }
  const std::int64_t heldDetails = child->DetailFetches() - details;
  shell.Idle();
  const std::int64_t heldIdle = child->DetailFetches() - details - heldDetails;
  report.Add({"40 held arrow-key moves: details fetched",
              Count(heldDetails) + " + " + Count(heldIdle) + " at idle", "0 + 1 at idle",
              heldDetails == 0 && heldIdle == 1});
  report.Note("held keys: 40 moves fetched " + Count(log.Fetches()) + " records for " +
              Count(log.Rows()) + " rows");

  // A painted screenful after jumps: only the rows in view are fetched, each once.
  bool screenMet = true;
  std::int64_t most = 0, mostVisible = 0;
  const auto jump = [&](const char* what, auto action) {
    log.Clear();
    action();
    Settle(grid->viewport());
    const VisibleRows visible = VisibleRowsOf(grid);
    screenMet = screenMet && log.Rows() <= visible.Count() && log.Fetches() == log.Rows() &&
                log.RowsOutside(visible.first, visible.last) == 0;
    if (log.Rows() >= most) {
      most = log.Rows();
      mostVisible = visible.Count();
    }
    report.Note(std::string(what) + ": " + Screenful(log, visible));
  };
  jump("jump to row 500000", [&] { child->SetCurrentRow(500000); });
  jump("page down", [&] { PressKey(grid, Qt::Key_PageDown); });
  jump("end", [&] { PressKey(grid, Qt::Key_End); });
  jump("scroll bar to 25%", [&] {
    QScrollBar* bar = grid->verticalScrollBar();
    bar->setValue(bar->maximum() / 4);
  });
  jump("full repaint of the same screen", [&] { grid->viewport()->update(); });
  report.Add({"paint a screenful: rows fetched",
              Count(most) + " rows / " + Count(mostVisible) + " visible", "visible rows only",
              screenMet});
  child->SetCurrentRow(0);
  Settle(grid->viewport());
  shell.Idle();
}

}  // namespace zorel::guibench
