// The main window's commands that take the active list out: "Экспорт списка ..." to a
// spreadsheet file, and "Сводка по списку" with its charts.
#include <QCoreApplication>
#include <QProgressDialog>

#include "charts/summary_window.h"
#include "components/user_prompts.h"
#include "components/wait_cursor.h"
#include "data/data_module.h"
#include "export/list_export.h"
#include "shell/child_window.h"
#include "shell/export_dialog.h"
#include "shell/main_window.h"

namespace zorel {

void TMainForm::FileExportItemClick() {
  const TMDIChild* child = ActiveChild();
  if (child == nullptr) return;
  ExportDialog dialog(this);
  if (prompts_->runModal(dialog) != QDialog::Accepted) return;
  const ExportOptions options = dialog.Options();
  const bool xlsx = options.format == ExportFormat::Xlsx;
  const QString start = QString::fromStdString(dm_.ListsDir()) + child->windowTitle() +
                        (xlsx ? QStringLiteral(".xlsx") : QStringLiteral(".csv"));
  const QString path = prompts_->chooseFileToSave(
      this, QStringLiteral("Экспорт списка"), start,
      xlsx ? QStringLiteral("Книги Excel (*.xlsx)") : QStringLiteral("Файлы CSV (*.csv)"));
  if (path.isEmpty()) return;
  // The list is copied: the window may go while the progress dialog lets events through.
  const RecordList records = child->Records();
  QProgressDialog progress(QStringLiteral("Экспорт списка ..."), QStringLiteral("Отмена"), 0,
                           static_cast<int>(records.size()), this);
  progress.setObjectName(QStringLiteral("ExportProgress"));
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(500);
  ExportList(dm_, records, path.toStdString(), options, [&progress](std::size_t done, std::size_t) {
    progress.setValue(static_cast<int>(done));
    QCoreApplication::processEvents();
    return !progress.wasCanceled();
  });
}

void TMainForm::FileSummaryItemClick() {
  const TMDIChild* child = ActiveChild();
  if (child == nullptr) return;
  const RecordList records = child->Records();
  std::vector<SummaryTab> tabs;
  {
    const WaitCursor wait;
    for (const SummaryAxis axis : kAllSummaryAxes) {
      tabs.push_back({axis, SummarizeList(dm_, records, axis)});
    }
  }
  auto* window =
      new SummaryWindow(child->windowTitle(), std::move(tabs), dm_.DbDir(), prompts_, this);
  window->setAttribute(Qt::WA_DeleteOnClose);
  connect(window, &SummaryWindow::barClicked, this,
          [this, records](SummaryAxis axis, qint64 key, const QString& label) {
            const QString caption =
                QString::fromUtf8(SummaryAxisCaption(axis).data()) + ": " + label;
            NewListWindow()->SetSearchResult(RecordsOfBar(dm_, records, axis, key), caption);
          });
  window->show();
}

}  // namespace zorel
