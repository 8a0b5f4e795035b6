// The active list out of the program: "Экспорт списка ..." and "Сводка по списку".
#include <QBarSet>
#include <QChart>
#include <QComboBox>
#include <QHorizontalBarSeries>
#include <QListWidget>

#include "charts/summary_window.h"
#include "data/file_util.h"
#include "export/list_export.h"
#include "shell/export_dialog.h"
#include "shell_test_support.h"

namespace zorel {

using namespace test_support;

namespace {

std::string Read(const QString& path) {
  return ReadWholeFile(path.toStdString()).value_or("<missing>");
}

}  // namespace

class ListsOutTest : public QObject {
  Q_OBJECT

 private slots:
  // The dialog's choices reach the file: CSV in Windows-1251 with commas, the fields in the
  // order left ticked, the list's own order.
  void ExportWritesTheActiveListAsChosen() {
    Shell s;
    s.Active()->SetSearchResult({2, 0}, QStringLiteral("Поиск"));
    const QString path = QString::fromStdString(s.base.dir() / "out.csv");
    s.log->fileToSave = path;
    s.form->Prompts()->runModal = [](QDialog& d) {
      Find<QComboBox>(&d, "cbFormat")->setCurrentIndex(1);
      Find<QComboBox>(&d, "cbEncoding")->setCurrentIndex(1);
      Find<QComboBox>(&d, "cbSeparator")->setCurrentIndex(1);
      auto* fields = Find<QListWidget>(&d, "lbFields");
      for (int row = 0; row < fields->count(); ++row) {
        const int field = fields->item(row)->data(Qt::UserRole).toInt();
        fields->item(row)->setCheckState(field == 0 || field == 6 ? Qt::Checked : Qt::Unchecked);
      }
      return int(QDialog::Accepted);
    };
    s.Action("FileExportItem")->trigger();
    QVERIFY(s.log->saveNames.last().endsWith(QStringLiteral("lists/Поиск.csv")));
    QCOMPARE(Read(path), W("Наименование предприятия,Численность\r\nСтанкостроитель,15\r\n"
                           "Минский ЗАВОД,1200\r\n"));
    QVERIFY(ShownExceptions().isEmpty());
  }

  // Cancelled from its progress report, an export leaves the old file as it was.
  void ACancelledExportLeavesTheOldFile() {
    GuiBase base;
    const std::string path = base.dir() / "out.xlsx";
    WriteBytes(path, "old");
    RecordList all;
    base.dm().FillAllRecords(all);
    ExportOptions options;
    const auto outcome =
        ExportList(base.dm(), all, path, options, [](std::size_t, std::size_t) { return false; });
    QVERIFY(outcome == ExportOutcome::Cancelled);
    QCOMPARE(ReadWholeFile(path).value_or(""), std::string("old"));
    QVERIFY(ExportList(base.dm(), all, path, options) == ExportOutcome::Written);
    QCOMPARE(ReadWholeFile(path).value_or("").substr(0, 2), std::string("PK"));
  }

  // Six tabs of bars; a bar opens its enterprises as a new list window; charts save as PNG and
  // tables as CSV, never into the base.
  void TheSummaryChartsTheListAndOpensItsBars() {
    Shell s;
    s.Action("FileSummaryItem")->trigger();
    auto* summary = s.form->findChild<SummaryWindow*>();
    QVERIFY(summary != nullptr && summary->isVisible());
    auto* series = qobject_cast<QHorizontalBarSeries*>(summary->ChartOf(4)->series().first());
    QBarSet* set = series->barSets().first();
    // Bars run upwards: the last one drawn is the first of the table, the 1990s.
    QCOMPARE(set->count(), 2);
    QCOMPARE(set->at(1), 2.0);
    emit set->clicked(1);
    QCOMPARE(s.form->ListWindows().size(), 2);
    TMDIChild* opened = s.Active();
    QCOMPARE(opened->windowTitle(), QStringLiteral("Годы основания: 1990-1999"));
    QCOMPARE(opened->Records(), (RecordList{0, 1}));
    QVERIFY(opened->Modified());

    const QString png = QString::fromStdString(s.base.dir() / "chart.png");
    summary->SaveChart(4, png);
    QCOMPARE(Read(png).substr(0, 4), std::string("\x89PNG"));
    const QString csv = QString::fromStdString(s.base.dir() / "table.csv");
    summary->SaveTable(4, csv);
    QCOMPARE(Read(csv), std::string("\xEF\xBB\xBFЗначение;Предприятий\r\n1990-1999;2\r\n"
                                    "не указан;1\r\n"));
    const QString intoBase = QString::fromStdString(s.base.DbDir() + "/table.csv");
    QVERIFY_THROWS_EXCEPTION(ExportError, summary->SaveTable(4, intoBase));
    summary->close();
  }
};

}  // namespace zorel

ZOREL_GUI_TEST_MAIN(zorel::ListsOutTest)
#include "lists_out_test.moc"
