// The GUI benchmark's measures. Each runs its operation `runs` times on the driven program,
// adds its rows (median, target, met) and notes (sub-steps, counts) to the report, and leaves
// the program as it found it: the first list window open and active.
#pragma once

#include "bench_shell.h"
#include "report.h"

namespace zorel::guibench {

// Opening a whole-base list window ("Вся база"): time to the painted grid and memory added.
void MeasureOpenList(BenchShell& shell, int runs, Report& report);
// What the name grid fetches: a one-row move before and at the idle moment, held arrow keys,
// and a painted screenful after jumps.
void MeasureGridFetches(BenchShell& shell, Report& report);
// From the "Поиск в базе" button of the requisites search to the painted result window.
void MeasureRequisitesSearch(BenchShell& shell, int runs, Report& report);
// The product-name scan of the product search with ten fragments, to the painted name list.
void MeasureProductScan(BenchShell& shell, int runs, Report& report);
// Expanding "Весь список" in a new branch search dialog, to the painted tree.
void MeasureClassExpand(BenchShell& shell, int runs, Report& report);

}  // namespace zorel::guibench
