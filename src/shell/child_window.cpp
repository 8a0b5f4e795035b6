#include "shell/child_window.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QVBoxLayout>

#include "components/user_prompts.h"
#include "data/data_module.h"
#include "data/record_details.h"
#include "shell/advert_panel.h"
#include "shell/application.h"
#include "shell/item_panel.h"
#include "shell/message_events.h"
#include "shell/name_grid.h"
#include "shell/record_drag.h"
#include "shell/record_grid_model.h"
#include "shell/remark_memo.h"
#include "shell/requisites_panel.h"
#include "shell/split_bar.h"
#include "textconv/text_convert.h"

namespace zorel {

TMDIChild::TMDIChild(Tdm& dm, std::shared_ptr<UserPrompts> prompts, QWidget* parent)
    : QWidget(parent), dm_(dm), prompts_(std::move(prompts)) {
  setWindowTitle(QStringLiteral("Просмотр БД"));
  records_ = WholeBaseList(dm_.RecordCount());
  listFileName_ = QString::fromStdString(dm_.ListsDir()) + QStringLiteral("Вся база.lst");
  model_ = new RecordGridModel(dm_, records_, this);
  BuildLayout();
  SetRecordCount(static_cast<int>(records_.size()));
  detailPending_ = true;
}

TMDIChild::~TMDIChild() { StorePendingRemark(); }

void TMDIChild::BuildLayout() {
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);

  auto* detail = new QFrame(this);
  detail->setObjectName(QStringLiteral("pDetail"));
  detail->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  pDetail_ = detail;
  auto* upper = new QHBoxLayout(pDetail_);
  upper->setContentsMargins(1, 1, 1, 1);
  upper->setSpacing(0);
  grid_ = new NameGrid(model_, pDetail_);
  grid_->SetBaseIdentity(BaseIdentity(dm_.DbDir()));
  pInfo_ = new RequisitesPanel(pDetail_);
  upper->addWidget(grid_, 1);
  upper->addWidget(pInfo_);
  column->addWidget(pDetail_, 1);

  panelSplit_ = new SplitBar(Qt::Horizontal, this);
  panelSplit_->setObjectName(QStringLiteral("PanelSplit"));
  panelSplit_->DragBar()->setObjectName(QStringLiteral("PanelSplitDrag"));
  column->addWidget(panelSplit_);

  pDetail2_ = new QWidget(this);
  pDetail2_->setObjectName(QStringLiteral("pDetail2"));
  pDetail2_->setFixedHeight(100);
  auto* lower = new QHBoxLayout(pDetail2_);
  lower->setContentsMargins(0, 0, 0, 0);
  lower->setSpacing(0);
  pReklama_ = new AdvertPanel(pDetail2_);
  pReklama_->setFixedWidth(189);
  panelSplit2_ = new SplitBar(Qt::Vertical, pDetail2_);
  panelSplit2_->setObjectName(QStringLiteral("PanelSplit2"));
  panelSplit2_->DragBar()->setObjectName(QStringLiteral("PanelSplitDrag2"));
  pItem_ = new ItemPanel(pDetail2_);
  lower->addWidget(pReklama_);
  lower->addWidget(panelSplit2_);
  lower->addWidget(pItem_, 1);
  column->addWidget(pDetail2_);

  panelSplit_->SetLimit([this](int mouseY) {
    return LowerSplitTop(pDetail_->y(), pDetail_->height(), mouseY, height());
  });
  connect(panelSplit_, &SplitBar::released, this,
          [this](int top, int thickness) { SetLowerPanelHeight(height() - top - thickness); });
  panelSplit2_->SetLimit([this](int mouseX) {
    return AdvertSplitLeft(panelSplit2_->x(), mouseX, pDetail2_->width());
  });
  connect(panelSplit2_, &SplitBar::released, this, [this](int left, int thickness) {
    SetAdvertPanelWidth(left - thickness);
    SelectionSteps();
  });

  connect(grid_, &NameGrid::currentRowChanged, this, [this] { SelectionSteps(); });
  connect(grid_, &NameGrid::recordDropped, this, [this](std::int32_t record) {
    // The grid refuses records of another base; a number past the end is still no record.
    if (record >= dm_.RecordCount()) return;
    InsertRecord(record);
    MarkChanged();
  });
  connect(grid_, &NameGrid::copyNameRequested, this, &TMDIChild::CopyNameToClipboard);
  connect(pInfo_, &RequisitesPanel::urlTextChanged, this,
          [this] { ReportStatus(static_cast<int>(records_.size())); });
  connect(pItem_->Memo(), &RemarkMemo::edited, this, &TMDIChild::OnRemarkEdited);
  if (dm_.Remarks().ReadOnly()) {
    pItem_->Memo()->SetReadOnlyNote(
        QStringLiteral("База открыта только для чтения: примечания не сохраняются"));
  }
}

void TMDIChild::SetFileState(bool hasFile, bool modified) {
  hasFile_ = hasFile;
  modified_ = modified;
}

void TMDIChild::SetMainHandle(QObject* mainWindow) {
  mainHandle_ = mainWindow;
  if (QMdiSubWindow* sub = SubWindow()) {
    connect(sub, &QMdiSubWindow::aboutToActivate, this,
            [this] { ReportStatus(static_cast<int>(records_.size())); });
  }
  ReportStatus(static_cast<int>(records_.size()));
}

void TMDIChild::ReportStatus(int count) {
  if (!mainHandle_) return;
  ListStatusEvent status(CurrentRow() + 1, count);
  QCoreApplication::sendEvent(mainHandle_, &status);
}

void TMDIChild::SetRecordCount(int n) {
  const int row = grid_->currentIndex().isValid() ? grid_->CurrentRow() : 0;
  model_->SetRowCount(n);
  // The reset forgets the current row; it stays where it was unless the grid got shorter.
  grid_->SetCurrentRow(row);
  ReportStatus(n);
}

int TMDIChild::CurrentRow() const { return grid_->CurrentRow(); }

void TMDIChild::SetCurrentRow(int row) { grid_->SetCurrentRow(row); }

std::int32_t TMDIChild::CurrentRecord() const {
  const int row = CurrentRow();
  if (row < 0 || static_cast<std::size_t>(row) >= records_.size()) return -1;
  return records_[static_cast<std::size_t>(row)];
}

void TMDIChild::SelectionSteps() {
  remarkFailed_ = false;
  StorePendingRemark();
  ReportStatus(static_cast<int>(records_.size()));
  detailPending_ = true;
}

void TMDIChild::StorePendingRemark() {
  if (pendingRemark_ == -1) return;
  try {
    dm_.SetRemark(pendingRemark_, MemoToCp(pItem_->Memo()->toPlainText()));
    pendingRemark_ = -1;
  } catch (const std::exception& e) {
    // The typed text stays in the memo, still pending for its record: the next move or edit
    // tries again.
    remarkFailed_ = true;
    prompts_->inform(
        this, QStringLiteral("Примечание не сохранено.\n") + QString::fromStdString(e.what()));
  }
  for (const std::string& notice : dm_.TakeNotices()) {
    prompts_->inform(this, QString::fromStdString(notice));
  }
}

void TMDIChild::OnRemarkEdited() {
  // The memo holds the remark of the record whose details were shown last, which need not be
  // the current row's yet while the details wait for the idle moment.
  if (shownRecord_ >= 0) pendingRemark_ = shownRecord_;
  remarkFailed_ = false;
}

void TMDIChild::ShowDetails(int row) {
  if (!remarkFailed_) StorePendingRemark();
  const bool inList = row >= 0 && static_cast<std::size_t>(row) < records_.size();
  const std::int32_t record = inList ? records_[static_cast<std::size_t>(row)] : -1;
  if (record >= 0 && dm_.GetRecord(record) != nullptr) {
    ++detailFetches_;
    const RecordDetails d = GetDetails(dm_, record);
    if (infoShown_) pInfo_->SetDetails(d);
    if (reklamaShown_) pReklama_->SetAdvert(CpToMemo(d.advert));
    if (itemShown_) pItem_->SetProducts(CpToMemo(d.products));
    if (itemShown_ && pendingRemark_ == -1) {
      pItem_->Memo()->SetTextQuietly(CpToMemo(d.remark));
      shownRecord_ = record;
    }
    return;
  }
  if (infoShown_) pInfo_->Clear();
  if (reklamaShown_) pReklama_->SetAdvert(QString());
  if (itemShown_) pItem_->SetProducts(QString());
  if (itemShown_ && pendingRemark_ == -1) {
    pItem_->Memo()->SetTextQuietly(QString());
    shownRecord_ = -1;
  }
}

bool TMDIChild::IsActiveListWindow() const {
  QMdiSubWindow* sub = SubWindow();
  if (sub == nullptr || sub->mdiArea() == nullptr) return true;
  return sub->mdiArea()->currentSubWindow() == sub;
}

QMdiSubWindow* TMDIChild::SubWindow() const { return qobject_cast<QMdiSubWindow*>(parentWidget()); }

void TMDIChild::OnIdleDetail() {
  if (!IsActiveListWindow() || !detailPending_) return;
  if (CurrentRecord() >= 0) ShowDetails(CurrentRow());
  detailPending_ = false;
}

bool TMDIChild::event(QEvent* event) {
  if (event->type() == UM_IDLEDETAIL) {
    OnIdleDetail();
    static_cast<WindowMessage*>(event)->Result = 1;
    return true;
  }
  return QWidget::event(event);
}

void TMDIChild::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  ReportStatus(static_cast<int>(records_.size()));
}

void TMDIChild::closeEvent(QCloseEvent* event) {
  StorePendingRemark();
  if (modified_) {
    const QString question =
        QStringLiteral("Вы хотите сохранить изменения перед закрытием окна \"") + windowTitle() +
        QStringLiteral("\"");
    if (prompts_->confirm(this, question) && mainHandle_) {
      // A failed save is reported; the window closes all the same.
      Guarded(this, [this] {
        SaveListAsEvent saveAs(this);
        QCoreApplication::sendEvent(mainHandle_, &saveAs);
      });
    }
  }
  SetRecordCount(-1);
  records_.clear();
  event->accept();
}

bool TMDIChild::FullNameHints() const { return grid_->FullNameHints(); }

void TMDIChild::SetFullNameHints(bool on) { grid_->SetFullNameHints(on); }

void TMDIChild::SetInfoVisible(bool visible) {
  if (visible) SelectionSteps();
  infoShown_ = visible;
  pInfo_->setVisible(visible);
}

void TMDIChild::SetItemVisible(bool visible) {
  if (visible) SelectionSteps();
  itemShown_ = visible;
  panelSplit_->setVisible(visible);
  SetReklamaVisible(visible);
  pDetail2_->setVisible(visible);
}

void TMDIChild::SetReklamaVisible(bool visible) {
  reklamaShown_ = visible;
  if (visible) {
    SelectionSteps();
    ShowDetails(CurrentRow());
  }
  panelSplit2_->setVisible(visible);
  pReklama_->setVisible(visible);
}

int TMDIChild::LowerPanelHeight() const { return pDetail2_->minimumHeight(); }

void TMDIChild::SetLowerPanelHeight(int height) { pDetail2_->setFixedHeight(std::max(height, 0)); }

int TMDIChild::LowerHeightWithinLimits(int height) const {
  const int thickness = panelSplit_->height();
  const int detailTop = pDetail_->y();
  const int wantedTop = this->height() - height - thickness;
  return this->height() - LowerSplitTop(detailTop, 0, wantedTop - detailTop, this->height()) -
         thickness;
}

int TMDIChild::AdvertWidthWithinLimits(int width) const {
  const int thickness = panelSplit2_->width();
  return AdvertSplitLeft(0, width + thickness, pDetail2_->width()) - thickness;
}

int TMDIChild::AdvertPanelWidth() const { return pReklama_->minimumWidth(); }

void TMDIChild::SetAdvertPanelWidth(int width) { pReklama_->setFixedWidth(std::max(width, 0)); }

QPoint TMDIChild::HintPosition() const { return grid_->HintPosition(); }

void TMDIChild::CopyNameToClipboard() const {
  const std::int32_t record = CurrentRecord();
  QGuiApplication::clipboard()->setText(record < 0 ? QString() : FromCp(dm_.GetFirmName(record)));
}

}  // namespace zorel
