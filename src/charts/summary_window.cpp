#include "charts/summary_window.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHorizontalBarSeries>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "components/user_prompts.h"
#include "data/replacement_file.h"
#include "data/text1251.h"
#include "export/csv_sink.h"
#include "export/export_target.h"
#include "export/list_export.h"

namespace zorel {
namespace {

QString Label(const SummaryBar& bar) { return QString::fromStdString(ToUtf8(bar.label)); }

QString AxisCaption(SummaryAxis axis) {
  return QString::fromUtf8(SummaryAxisCaption(axis).data(),
                           static_cast<qsizetype>(SummaryAxisCaption(axis).size()));
}

void WriteOut(const std::string& dbDir, const QString& path, std::string_view bytes) {
  const std::string target = path.toStdString();
  CheckExportTarget(dbDir, target);
  if (!WriteFileReplacing(target, bytes)) {
    throw ExportError("Не могу записать файл " + target + ": " + std::strerror(errno));
  }
}

}  // namespace

SummaryWindow::SummaryWindow(const QString& listCaption, std::vector<SummaryTab> tabs,
                             std::string dbDir, std::shared_ptr<UserPrompts> prompts,
                             QWidget* parent)
    : QWidget(parent, Qt::Window),
      data_(std::move(tabs)),
      dbDir_(std::move(dbDir)),
      prompts_(std::move(prompts)),
      tabs_(new QTabWidget(this)) {
  setObjectName(QStringLiteral("SummaryWindow"));
  setWindowTitle(QStringLiteral("Сводка по списку \"%1\"").arg(listCaption));
  for (int i = 0; i < static_cast<int>(data_.size()); ++i) {
    tabs_->addTab(MakeTab(i), AxisCaption(data_[static_cast<std::size_t>(i)].axis));
  }
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  resize(1150, 720);
}

QWidget* SummaryWindow::MakeTab(int index) {
  const SummaryTab& tab = data_[static_cast<std::size_t>(index)];
  auto* page = new QWidget(tabs_);

  // Horizontal bars, the first bar at the top: the categories run upwards.
  auto* set = new QBarSet(QStringLiteral("Предприятий"));
  QStringList categories;
  qint64 most = 0;
  for (auto it = tab.bars.rbegin(); it != tab.bars.rend(); ++it) {
    *set << static_cast<qreal>(it->count);
    categories << Label(*it);
    most = std::max<qint64>(most, it->count);
  }
  auto* series = new QHorizontalBarSeries;
  series->append(set);
  series->setLabelsVisible(true);
  series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
  auto* chart = new QChart;
  chart->addSeries(series);
  chart->legend()->hide();
  chart->setTitle(AxisCaption(tab.axis));
  auto* names = new QBarCategoryAxis;
  names->append(categories);
  chart->addAxis(names, Qt::AlignLeft);
  series->attachAxis(names);
  auto* counts = new QValueAxis;
  counts->setRange(0, static_cast<qreal>(std::max<qint64>(most, 1)));
  counts->setLabelFormat(QStringLiteral("%d"));
  counts->applyNiceNumbers();
  chart->addAxis(counts, Qt::AlignBottom);
  series->attachAxis(counts);
  auto* view = new QChartView(chart, page);
  view->setObjectName(QStringLiteral("chart"));
  view->setRenderHint(QPainter::Antialiasing);
  const int bars = static_cast<int>(tab.bars.size());
  const SummaryAxis axis = tab.axis;
  const auto open = [this, index, axis](int bar) {
    const SummaryBar& b =
        data_[static_cast<std::size_t>(index)].bars[static_cast<std::size_t>(bar)];
    emit barClicked(axis, b.key, Label(b));
  };
  connect(set, &QBarSet::clicked, this, [open, bars](int at) { open(bars - 1 - at); });

  auto* table = new QTableWidget(bars, 2, page);
  table->setObjectName(QStringLiteral("table"));
  table->setHorizontalHeaderLabels({QStringLiteral("Значение"), QStringLiteral("Предприятий")});
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->verticalHeader()->hide();
  table->horizontalHeader()->setStretchLastSection(true);
  for (int row = 0; row < bars; ++row) {
    const SummaryBar& b = tab.bars[static_cast<std::size_t>(row)];
    table->setItem(row, 0, new QTableWidgetItem(Label(b)));
    auto* count = new QTableWidgetItem(QString::number(b.count));
    count->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    table->setItem(row, 1, count);
  }
  table->resizeColumnsToContents();
  connect(table, &QTableWidget::cellDoubleClicked, this, [open](int row, int) { open(row); });

  auto* saveChart = new QPushButton(QStringLiteral("Сохранить диаграмму ..."), page);
  auto* saveTable = new QPushButton(QStringLiteral("Сохранить таблицу ..."), page);
  connect(saveChart, &QPushButton::clicked, this, [this, index] { ChooseAndSave(index, true); });
  connect(saveTable, &QPushButton::clicked, this, [this, index] { ChooseAndSave(index, false); });
  auto* split = new QSplitter(page);
  split->addWidget(view);
  split->addWidget(table);
  // The chart takes most of the width, so the bars' names are not cut short.
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 1);
  split->setSizes({800, 300});
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(saveChart);
  buttons->addWidget(saveTable);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(split);
  layout->addLayout(buttons);
  return page;
}

QChart* SummaryWindow::ChartOf(int tab) const {
  auto* view = tabs_->widget(tab)->findChild<QChartView*>(QStringLiteral("chart"));
  return view != nullptr ? view->chart() : nullptr;
}

void SummaryWindow::ChooseAndSave(int tab, bool chart) {
  const QString name = AxisCaption(data_[static_cast<std::size_t>(tab)].axis);
  const QString path = prompts_->chooseFileToSave(
      this, chart ? QStringLiteral("Сохранить диаграмму") : QStringLiteral("Сохранить таблицу"),
      name + (chart ? QStringLiteral(".png") : QStringLiteral(".csv")),
      chart ? QStringLiteral("Рисунки PNG (*.png)") : QStringLiteral("Таблицы CSV (*.csv)"));
  if (path.isEmpty()) return;
  if (chart) {
    SaveChart(tab, path);
  } else {
    SaveTable(tab, path);
  }
}

void SummaryWindow::SaveChart(int tab, const QString& path) const {
  auto* view = tabs_->widget(tab)->findChild<QChartView*>(QStringLiteral("chart"));
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  view->grab().save(&buffer, "PNG");
  WriteOut(dbDir_, path, std::string_view(png.constData(), static_cast<std::size_t>(png.size())));
}

void SummaryWindow::SaveTable(int tab, const QString& path) const {
  // As the list export writes CSV by default: UTF-8 with a byte-order mark, ";" between cells.
  std::string text = "\xEF\xBB\xBF";
  AppendCsvCell(text, "Значение", ';');
  text += ";Предприятий\r\n";
  for (const SummaryBar& bar : data_[static_cast<std::size_t>(tab)].bars) {
    AppendCsvCell(text, ToUtf8(bar.label), ';');
    text += ';' + std::to_string(bar.count) + "\r\n";
  }
  WriteOut(dbDir_, path, text);
}

}  // namespace zorel
