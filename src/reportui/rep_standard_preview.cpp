#include "reportui/rep_standard_preview.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QStandardPaths>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "components/user_prompts.h"
#include "report/page_generator.h"
#include "report/printer_output.h"
#include "report/shared_printer.h"
#include "reportui/printer_setup.h"
#include "reportui/rep_preview.h"

namespace zorel {
namespace {

constexpr int kSliceMs = 30;

QString lastPdfDir;  // where a PDF was last saved while the program runs

QToolButton* ToolButton(QWidget* parent, QLayout* layout, const char* name,
                        QStyle::StandardPixmap icon, const QString& hint) {
  auto* b = new QToolButton(parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setIcon(parent->style()->standardIcon(icon));
  b->setToolTip(hint);
  b->setFixedSize(25, 25);
  b->setAutoRaise(true);
  layout->addWidget(b);
  return b;
}

// The desktop's printer icon; a drawn printer where the desktop has none.
QIcon PrinterIcon() {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setPen(Qt::black);
  p.setBrush(Qt::white);
  p.drawRect(4, 1, 7, 5);  // the sheet going in
  p.setBrush(QColor(0x90, 0x90, 0x90));
  p.drawRect(1, 6, 13, 6);  // the body
  p.setBrush(Qt::white);
  p.drawRect(4, 10, 7, 4);  // the sheet coming out
  p.end();
  return QIcon::fromTheme(QStringLiteral("document-print"), QIcon(pixmap));
}

}  // namespace

TRepStandardPreview::TRepStandardPreview(TReport& report, int expectedBands,
                                         std::shared_ptr<UserPrompts> prompts, QWidget* parent)
    : QDialog(parent),
      report_(report),
      prompts_(std::move(prompts)),
      pages_(std::make_unique<PageGenerator>(report, expectedBands)),
      preview_(new TRepPreview(this)),
      status_(new QLabel(QStringLiteral("Работаю ..."), this)),
      gauge_(new QProgressBar(this)),
      slice_(new QTimer(this)) {
  setObjectName(QStringLiteral("TRepStandardPreview"));
  setWindowTitle(report.ReportTitle);
  setWindowFlag(Qt::WindowMaximizeButtonHint);
  setWindowState(Qt::WindowMaximized);

  auto* toolbar = new QWidget(this);
  toolbar->setObjectName(QStringLiteral("Toolbar"));
  toolbar->setFixedHeight(33);
  auto* tools = new QHBoxLayout(toolbar);
  tools->setContentsMargins(4, 4, 4, 4);
  tools->setSpacing(2);
  auto* fit = ToolButton(toolbar, tools, "ZoomToFit", QStyle::SP_TitleBarNormalButton,
                         QStringLiteral("Разместить полностью на странице"));
  auto* full = ToolButton(toolbar, tools, "ZoomTo100", QStyle::SP_TitleBarMaxButton,
                          QStringLiteral("Размер в 100%"));
  auto* width =
      ToolButton(toolbar, tools, "ZoomToWidth", QStyle::SP_ToolBarHorizontalExtensionButton,
                 QStringLiteral("Разместить по ширине"));
  for (QToolButton* b : {fit, full, width}) b->setCheckable(true);
  width->setChecked(true);
  auto* group = new QButtonGroup(this);
  group->addButton(fit);
  group->addButton(full);
  group->addButton(width);
  tools->addSpacing(10);
  auto* first = ToolButton(toolbar, tools, "FirstPage", QStyle::SP_MediaSkipBackward,
                           QStringLiteral("Первая страница"));
  auto* prev = ToolButton(toolbar, tools, "PrevPage", QStyle::SP_MediaSeekBackward,
                          QStringLiteral("Предыдущая страница"));
  auto* next = ToolButton(toolbar, tools, "NextPage", QStyle::SP_MediaSeekForward,
                          QStringLiteral("Следующая страница"));
  auto* last = ToolButton(toolbar, tools, "LastPage", QStyle::SP_MediaSkipForward,
                          QStringLiteral("Последняя страница"));
  tools->addSpacing(10);
  auto* setup = ToolButton(toolbar, tools, "PrintSetup", QStyle::SP_FileDialogDetailedView,
                           QStringLiteral("Установки принтера"));
  auto* print =
      ToolButton(toolbar, tools, "Print", QStyle::SP_DialogSaveButton, QStringLiteral("Печать"));
  print->setIcon(PrinterIcon());
  // No button is the default: Enter in the page area saves nothing.
  auto* pdf = new QPushButton(QStringLiteral("Сохранить в PDF ..."), toolbar);
  pdf->setObjectName(QStringLiteral("SaveToPdf"));
  pdf->setAutoDefault(false);
  tools->addWidget(pdf);
  tools->addStretch();
  auto* exit = new QPushButton(QStringLiteral("&Закрыть"), toolbar);
  exit->setObjectName(QStringLiteral("Exit"));
  exit->setFixedSize(100, 25);
  exit->setAutoDefault(false);
  tools->addWidget(exit);

  auto* statusPanel = new QWidget(this);
  statusPanel->setObjectName(QStringLiteral("StatusPanel"));
  statusPanel->setFixedHeight(19);
  auto* statusLine = new QHBoxLayout(statusPanel);
  statusLine->setContentsMargins(2, 2, 2, 1);
  gauge_->setObjectName(QStringLiteral("Gauge"));
  gauge_->setFixedWidth(100);
  gauge_->setRange(0, 100);
  gauge_->setTextVisible(false);
  gauge_->setVisible(false);
  status_->setObjectName(QStringLiteral("Status"));
  status_->setFixedWidth(128);
  statusLine->addWidget(gauge_);
  statusLine->addStretch();
  statusLine->addWidget(status_);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(toolbar);
  layout->addWidget(preview_, 1);
  layout->addWidget(statusPanel);

  auto wait = [] { QCoreApplication::processEvents(); };  // let the pressed button be drawn
  connect(fit, &QToolButton::clicked, this, [this, wait] {
    wait();
    preview_->ZoomToFit();
  });
  connect(full, &QToolButton::clicked, this, [this, wait] {
    wait();
    preview_->ZoomTo100();
  });
  connect(width, &QToolButton::clicked, this, [this, wait] {
    wait();
    preview_->ZoomToWidth();
  });
  connect(first, &QToolButton::clicked, this, &TRepStandardPreview::FirstPage);
  connect(prev, &QToolButton::clicked, this, &TRepStandardPreview::PrevPage);
  connect(next, &QToolButton::clicked, this, &TRepStandardPreview::NextPage);
  connect(last, &QToolButton::clicked, this, &TRepStandardPreview::LastPage);
  connect(setup, &QToolButton::clicked, this, &TRepStandardPreview::PrintSetup);
  connect(print, &QToolButton::clicked, this, &TRepStandardPreview::Print);
  connect(pdf, &QPushButton::clicked, this, &TRepStandardPreview::SaveToPdf);
  connect(exit, &QPushButton::clicked, this, &QDialog::close);
  connect(preview_, &TRepPreview::pageChanged, this, &TRepStandardPreview::UpdateStatus);

  // The window sees these keys before its controls.
  const struct {
    QKeySequence key;
    void (TRepStandardPreview::*go)();
  } keys[] = {
      {QKeySequence(Qt::Key_PageUp), &TRepStandardPreview::PrevPage},
      {QKeySequence(Qt::CTRL | Qt::Key_PageUp), &TRepStandardPreview::FirstPage},
      {QKeySequence(Qt::Key_PageDown), &TRepStandardPreview::NextPage},
      {QKeySequence(Qt::CTRL | Qt::Key_PageDown), &TRepStandardPreview::LastPage},
      {QKeySequence(Qt::Key_Home), &TRepStandardPreview::FirstPage},
      {QKeySequence(Qt::CTRL | Qt::Key_Home), &TRepStandardPreview::FirstPage},
      {QKeySequence(Qt::Key_End), &TRepStandardPreview::LastPage},
      {QKeySequence(Qt::CTRL | Qt::Key_End), &TRepStandardPreview::LastPage},
  };
  for (const auto& k : keys) {
    auto* shortcut = new QShortcut(k.key, this);
    connect(shortcut, &QShortcut::activated, this, k.go);
  }

  choosePdfFile = [](QWidget* parent, const QString& proposed) {
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Сохранить в PDF"), proposed,
                                        QStringLiteral("Документ PDF (*.pdf)"));
  };

  preview_->Attach(&report_, pages_.get());
  preview_->ZoomToWidth();
  slice_->setSingleShot(true);
  connect(slice_, &QTimer::timeout, this, &TRepStandardPreview::GenerateSlice);
  if (pages_->Start()) {
    slice_->start(0);
  } else {
    UpdateStatus();
  }
}

TRepStandardPreview::~TRepStandardPreview() = default;

void TRepStandardPreview::GenerateSlice() {
  QElapsedTimer clock;
  clock.start();
  while (pages_->Step() && clock.elapsed() < kSliceMs) {
  }
  preview_->PagesAdded();
  UpdateStatus();
  if (!pages_->Finished()) slice_->start(0);
}

void TRepStandardPreview::FinishRun() {
  slice_->stop();
  pages_->RunToEnd();
  preview_->PagesAdded();
  UpdateStatus();
}

QString TRepStandardPreview::StatusText() const { return status_->text(); }

void TRepStandardPreview::UpdateStatus() {
  status_->setText(
      QStringLiteral("Страница %1 из %2").arg(preview_->PageNumber()).arg(pages_->PageCount()));
  const int progress = pages_->Progress();
  gauge_->setValue(progress);
  gauge_->setVisible(progress > 0 && progress < 100);
}

void TRepStandardPreview::FirstPage() {
  preview_->SetPageNumber(1);
  UpdateStatus();
}

void TRepStandardPreview::PrevPage() {
  preview_->SetPageNumber(preview_->PageNumber() - 1);
  UpdateStatus();
}

void TRepStandardPreview::NextPage() {
  preview_->SetPageNumber(preview_->PageNumber() + 1);
  UpdateStatus();
}

void TRepStandardPreview::LastPage() {
  preview_->SetPageNumber(pages_->PageCount());
  UpdateStatus();
}

void TRepStandardPreview::PrintSetup() { SetUpSharedPrinter(*prompts_, this); }

void TRepStandardPreview::Print() {
  if (!PrinterAvailable()) {
    prompts_->tell(this, MessageIcon::Warning, QString::fromUtf8(kNoPrinterMessage));
    return;
  }
  FinishRun();
  try {
    QPrinter& printer = SharedPrinter();
    printer.setDocName(report_.ReportTitle);
    PrintPages(printer, pdfRules, report_, *pages_);
  } catch (const PrintOutputError& e) {
    prompts_->tell(this, MessageIcon::Critical, QString::fromStdString(e.what()));
  }
}

QString TRepStandardPreview::ProposedPdfPath() const {
  QString name = documentName.trimmed();
  name.replace(QRegularExpression(QStringLiteral("[/\\\\:*?\"<>|\\x00-\\x1f]")),
               QStringLiteral("_"));
  if (name.isEmpty()) name = QStringLiteral("Отчет");
  const QString dir = lastPdfDir.isEmpty()
                          ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                          : lastPdfDir;
  return QDir(dir).filePath(name + QStringLiteral(".pdf"));
}

void TRepStandardPreview::SaveToPdf() {
  QString path = choosePdfFile(this, ProposedPdfPath());
  if (path.isEmpty()) return;
  if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) path += QStringLiteral(".pdf");
  lastPdfDir = QFileInfo(path).absolutePath();
  FinishRun();
  try {
    // The name's bytes as the system has them: a folder whose name is not UTF-8 stays reachable.
    WritePdf(QFile::encodeName(path).toStdString(), pdfRules, report_, *pages_);
  } catch (const PrintOutputError& e) {
    prompts_->tell(this, MessageIcon::Critical, QString::fromStdString(e.what()));
  }
}

void PreviewReport(TReport& report, int expectedBands, std::shared_ptr<UserPrompts> prompts,
                   QWidget* parent, const UserFileRules& pdfRules, const QString& documentName) {
  TRepStandardPreview window(report, expectedBands, prompts, parent);
  window.pdfRules = pdfRules;
  window.documentName = documentName;
  prompts->runModal(window);
}

}  // namespace zorel
