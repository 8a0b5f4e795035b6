// The search dialogs' measures: a requisites search over the whole base, the product-name scan
// and the first expansion of the classification tree. Each also times the core's part alone,
// so the notes tell the dialogs' and windows' share from the filtering's.
#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QListView>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <memory>
#include <string>
#include <vector>

#include "data/classification.h"
#include "data/data_module.h"
#include "data/item_scan.h"
#include "data/text1251.h"
#include "measures.h"
#include "search/class_tree.h"
#include "search/search_branches.h"
#include "search/search_products.h"
#include "search/search_requisites.h"
#include "search/value_box.h"
#include "shell/child_window.h"
#include "shell/main_window.h"
#include "shell/name_grid.h"
#include "stats.h"
#include "textconv/text_convert.h"

namespace zorel::guibench {
namespace {

constexpr double kSearchSeconds = 0.5;
constexpr double kScanSeconds = 0.2;
constexpr double kExpandSeconds = 0.1;

// A fragment of many enterprise names of the synthetic base ("завод", works).
const QString kNameFragment = QStringLiteral("завод");
// Ten fragments of product names of the synthetic base's classification.
const QStringList kProductFragments = {QStringLiteral("болт"),     QStringLiteral("насос"),
                                       QStringLiteral("станк"),    QStringLiteral("кран"),
                                       QStringLiteral("трактор"),  QStringLiteral("краск"),
                                       QStringLiteral("проволок"), QStringLiteral("ткан"),
                                       QStringLiteral("обув"),     QStringLiteral("мебел")};

template <class F>
double Time(F&& action) {
  QElapsedTimer clock;
  clock.start();
  action();
  return clock.nsecsElapsed() / 1e9;
}

std::string Count(std::int64_t n) { return std::to_string(n); }

}  // namespace

void MeasureRequisitesSearch(BenchShell& shell, int runs, Report& report) {
  QElapsedTimer clock;
  shell.SetSearchAnswer([&clock](QDialog& dialog) {
    // Once the dialog is up, the condition is written (first time only; the dialog keeps it)
    // and "Поиск в базе" pressed, as the user would.
    QTimer::singleShot(0, &dialog, [&dialog, &clock] {
      if (!dialog.findChild<QToolButton*>(QStringLiteral("sbClear"))->isEnabled()) {
        dialog.findChild<QComboBox*>(QStringLiteral("cbField"))->setCurrentIndex(0);
        dialog.findChild<QComboBox*>(QStringLiteral("cbNo"))->setCurrentIndex(1);
        dialog.findChild<QComboBox*>(QStringLiteral("cbOperation"))
            ->setCurrentText(QStringLiteral("содержит"));
        dialog.findChild<ValueBox*>(QStringLiteral("cbValue"))->SetText(kNameFragment);
        dialog.findChild<QToolButton*>(QStringLiteral("sbAdd"))->click();
      }
      clock.start();
      dialog.findChild<QPushButton*>(QStringLiteral("bbSearchInBD"))->click();
    });
    return dialog.exec();
  });

  std::vector<double> total;
  std::size_t found = 0;
  for (int run = 0; run < runs; ++run) {
    shell.Form().Actions().MISearch1->trigger();
    TMDIChild* child = shell.Form().LastChild();
    Settle(GridOf(child)->viewport());
    total.push_back(clock.nsecsElapsed() / 1e9);
    found = child->Records().size();
    shell.CloseListWindow(child);
  }
  shell.SetSearchAnswer([](QDialog&) { return kSearchCancel; });

  // The same search through the core alone.
  SearchRequest request;
  request.kind = SearchKind::Requisites;
  request.conditions.push_back({"0", "1", "0", *To1251(kNameFragment), "0"});
  request.conditions.push_back({});
  std::vector<double> core;
  for (int run = 0; run < runs; ++run) {
    core.push_back(Time([&] {
      const RecordList all = WholeBaseList(shell.Dm().RecordCount());
      RunSearch(shell.Dm(), all, request);
    }));
  }
  const double median = Median(total);
  report.Add({"requisites search (name contains) to result window", Milliseconds(median),
              "<= " + Milliseconds(kSearchSeconds), median <= kSearchSeconds});
  report.Note("requisites search: " + Count(static_cast<std::int64_t>(found)) +
              " records found; filtering alone " + Milliseconds(Median(core)) +
              ", dialog and window the rest");
}

void MeasureProductScan(BenchShell& shell, int runs, Report& report) {
  TfrmSearchItems dialog(shell.Dm(), shell.Form().Prompts(), &shell.Form());
  dialog.show();
  Settle(&dialog);
  for (int row = 1; row <= kProductFragments.size(); ++row) {
    dialog.SetFragment(row, kProductFragments[row - 1]);
  }
  auto* execute = dialog.findChild<QToolButton*>(QStringLiteral("sbExecute"));
  QWidget* list = dialog.findChild<QListView*>(QStringLiteral("lbResult"))->viewport();
  std::vector<double> total;
  for (int run = 0; run < runs; ++run) {
    total.push_back(Time([&] {
      execute->click();
      Settle(list);
    }));
  }
  std::vector<std::string> fragments;
  for (const QString& fragment : kProductFragments) fragments.push_back(*To1251(fragment));
  std::vector<double> core;
  for (int run = 0; run < runs; ++run) {
    core.push_back(Time([&] { ScanItemNames(shell.Dm(), fragments); }));
  }
  dialog.hide();
  const double median = Median(total);
  report.Add({"product-name scan, 10 fragments", Milliseconds(median),
              "<= " + Milliseconds(kScanSeconds), median <= kScanSeconds});
  report.Note("product scan: " + Count(static_cast<std::int64_t>(dialog.FoundItems().size())) +
              " names found among " + Count(shell.Dm().ItemCount()) + " items; scan alone " +
              Milliseconds(Median(core)));
}

void MeasureClassExpand(BenchShell& shell, int runs, Report& report) {
  std::vector<double> total;
  int children = 0;
  for (int run = 0; run < runs; ++run) {
    // A new dialog each time: a kept one never loads the same branch twice.
    auto dialog = std::make_unique<TfrmSearchClass>(shell.Dm(), &shell.Form());
    dialog->show();
    Settle(dialog.get());
    QWidget* tree = dialog->findChild<QTreeWidget*>(QStringLiteral("tvClass"))->viewport();
    total.push_back(Time([&] {
      dialog->Root()->setExpanded(true);
      Settle(tree);
    }));
    children = dialog->Root()->childCount();
  }
  std::vector<double> core;
  for (int run = 0; run < runs; ++run) {
    core.push_back(Time([&] { ExpandNode(shell.Dm(), TClassInfo::Root()); }));
  }
  const double median = Median(total);
  report.Add({"expand classification root", Milliseconds(median),
              "<= " + Milliseconds(kExpandSeconds), median <= kExpandSeconds});
  report.Note("classification root: " + Count(children) + " branches; scan of class.dat alone " +
              Milliseconds(Median(core)));
}

}  // namespace zorel::guibench
