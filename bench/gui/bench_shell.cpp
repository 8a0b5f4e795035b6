// The driven desktop program and the probes of the GUI benchmark.
#include "bench_shell.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QMdiSubWindow>
#include <QPointer>
#include <QWidget>
#include <stdexcept>

#include "components/user_prompts.h"
#include "data/data_module.h"
#include "search/search_dialog.h"
#include "shell/child_window.h"
#include "shell/main_window.h"
#include "shell/name_grid.h"
#include "shell/record_grid_model.h"

namespace zorel::guibench {
namespace {

// Remembers whether the watched widget has received a paint event.
class PaintWatch : public QObject {
 public:
  explicit PaintWatch(QWidget* widget) : widget_(widget) {
    if (widget_) widget_->installEventFilter(this);
  }
  ~PaintWatch() override {
    if (widget_) widget_->removeEventFilter(this);
  }
  bool Painted() const { return painted_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == widget_ && event->type() == QEvent::Paint) painted_ = true;
    return false;
  }

 private:
  QPointer<QWidget> widget_;
  bool painted_ = false;
};

std::shared_ptr<UserPrompts> QuietPrompts() {
  auto p = std::make_shared<UserPrompts>();
  p->confirm = [](QWidget*, const QString&) { return false; };
  p->inform = [](QWidget*, const QString&) {};
  p->chooseListToOpen = [](QWidget*, const QString&) { return QString(); };
  p->chooseListToSave = [](QWidget*, const QString&, const QString&) { return QString(); };
  p->tell = [](QWidget*, MessageIcon, const QString&) {};
  p->runModal = [](QDialog&) { return kSearchCancel; };
  return p;
}

}  // namespace

BenchShell::BenchShell(const std::string& dbDir) : dm_(std::make_unique<Tdm>(dbDir)) {
  form_ = std::make_unique<TMainForm>(*dm_, QStringLiteral("Зорель"));
  form_->SetPrompts(QuietPrompts());
  form_->resize(1024, 768);
  form_->show();
  QElapsedTimer waited;
  waited.start();
  while (form_->ListWindows().isEmpty() && waited.elapsed() < 10000) {
    QCoreApplication::processEvents();
  }
  if (form_->ListWindows().isEmpty()) throw std::runtime_error("the first list window never came");
  Settle(GridOf(form_->ListWindows().front())->viewport());
  Idle();
}

BenchShell::~BenchShell() {
  form_->close();
  form_.reset();
}

void BenchShell::Idle() { form_->ProcessOnIdle(); }

void BenchShell::SetSearchAnswer(std::function<int(QDialog&)> answer) {
  form_->Prompts()->runModal = std::move(answer);
}

void BenchShell::CloseListWindow(TMDIChild* window) {
  window->parentWidget()->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  Settle();
}

void Settle(QWidget* widget) {
  const PaintWatch watch(widget);
  QElapsedTimer waited;
  waited.start();
  do {
    QCoreApplication::processEvents();
  } while (widget != nullptr && !watch.Painted() && waited.elapsed() < 2000);
}

NameGrid* GridOf(const TMDIChild* window) {
  return window->findChild<NameGrid*>(QStringLiteral("dgInfo"));
}

RecordGridModel* ModelOf(const TMDIChild* window) {
  return static_cast<RecordGridModel*>(GridOf(window)->model());
}

FetchLog::FetchLog(RecordGridModel* model) : model_(model) {
  model_->SetFetchObserver([this](int row) {
    ++fetches_;
    rows_.insert(row);
  });
}

FetchLog::~FetchLog() { model_->SetFetchObserver({}); }

void FetchLog::Clear() {
  fetches_ = 0;
  rows_.clear();
}

std::int64_t FetchLog::RowsOutside(int first, int last) const {
  std::int64_t outside = 0;
  for (const int row : rows_) outside += row < first || row > last ? 1 : 0;
  return outside;
}

VisibleRows VisibleRowsOf(const NameGrid* grid) {
  const int rows = grid->model()->rowCount();
  const int first = grid->rowAt(0);
  int last = grid->rowAt(grid->viewport()->height() - 1);
  if (last < 0) last = rows - 1;
  return {first, last};
}

}  // namespace zorel::guibench
