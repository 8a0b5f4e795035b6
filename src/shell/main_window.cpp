#include "shell/main_window.h"

#include <QAbstractEventDispatcher>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTime>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "components/user_prompts.h"
#include "data/data_module.h"
#include "data/file_util.h"
#include "data/logger.h"
#include "print/list_printing.h"
#include "shell/about_box.h"
#include "shell/application.h"
#include "shell/child_window.h"
#include "shell/help_window.h"
#include "shell/message_events.h"
#include "shell/tool_panel.h"
#include "shell/user_guide.h"

namespace zorel {
namespace {

QString NamePart(const QString& path) {
  return QString::fromStdString(BaseNameWithoutExtension(path.toStdString()));
}

}  // namespace

TMainForm::TMainForm(Tdm& dm, const QString& caption, QWidget* parent)
    : QMainWindow(parent), dm_(dm), prompts_(UserPrompts::Standard(ApplicationTitle)) {
  setObjectName(QStringLiteral("MainForm"));
  caption_ = caption;
  setWindowTitle(caption);
  setMinimumSize(400, 300);
  actions_ = BuildMainMenu(this);

  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  pToolBar_ = new ToolPanel(central);
  column->addWidget(pToolBar_);
  mdiArea_ = new QMdiArea(central);
  mdiArea_->setObjectName(QStringLiteral("ClientArea"));
  column->addWidget(mdiArea_, 1);
  setCentralWidget(central);

  QStatusBar* sb = statusBar();
  sb->setObjectName(QStringLiteral("sb"));
  sb->setSizeGripEnabled(false);
  for (int i = 0; i < 3; ++i) {
    sbPanels_[i] = new QLabel(sb);
    sbPanels_[i]->setObjectName(QStringLiteral("sbPanel%1").arg(i));
  }
  sbPanels_[0]->setFixedWidth(75);
  sbPanels_[0]->setAlignment(Qt::AlignCenter);
  sbPanels_[0]->setFrameStyle(QFrame::Panel | QFrame::Raised);
  sbPanels_[0]->setText(QStringLiteral("00:00:00"));
  // Wide enough for the position in a list of millions.
  sbPanels_[1]->setFixedWidth(std::max(
      75, sbPanels_[1]->fontMetrics().horizontalAdvance(QStringLiteral("0000000/0000000")) + 8));
  sbPanels_[1]->setAlignment(Qt::AlignCenter);
  sbPanels_[2]->setMinimumWidth(50);
  sb->addWidget(sbPanels_[0]);
  sb->addWidget(sbPanels_[1]);
  sb->addWidget(sbPanels_[2], 1);

  const MainActions& a = actions_;
  ConnectAction(a.FileNewItem, &TMainForm::FileNewItemClick);
  ConnectAction(a.FileOpenItem, &TMainForm::FileOpenItemClick);
  ConnectAction(a.FileCloseItem, &TMainForm::FileCloseItemClick);
  ConnectAction(a.FileSaveItem, &TMainForm::FileSaveItemClick);
  ConnectAction(a.FileSaveAsItem, &TMainForm::FileSaveAsItemClick);
  ConnectAction(a.FileAppendItem, &TMainForm::FileAppendItemClick);
  ConnectAction(a.FileSubItem, &TMainForm::FileSubItemClick);
  ConnectAction(a.FileExportItem, &TMainForm::FileExportItemClick);
  ConnectAction(a.FileSummaryItem, &TMainForm::FileSummaryItemClick);
  ConnectAction(a.FileExitItem, &TMainForm::FileExitItemClick);
  ConnectAction(a.CutItem, &TMainForm::CutItemClick);
  ConnectAction(a.CopyItem, &TMainForm::CopyItemClick);
  ConnectAction(a.PasteItem, &TMainForm::PasteItemClick);
  ConnectAction(a.MISearch1, &TMainForm::MISearch1Click);
  ConnectAction(a.MISearch2, &TMainForm::MISearch2Click);
  ConnectAction(a.MISearch3, &TMainForm::MISearch3Click);
  ConnectAction(a.SendSingle, &TMainForm::SendSingleClick);
  ConnectAction(a.SendList, &TMainForm::SendListClick);
  ConnectAction(a.ParamHint, &TMainForm::ParamHintClick);
  ConnectAction(a.ParamInfo, &TMainForm::ParamInfoClick);
  ConnectAction(a.ParamItem, &TMainForm::ParamItemClick);
  ConnectAction(a.ParamReklama, &TMainForm::ParamReklamaClick);
  ConnectAction(a.FilePrinterSetup, &TMainForm::FilePrinterSetupClick);
  ConnectAction(a.FilePrint, &TMainForm::FilePrintClick);
  ConnectAction(a.FileFormEdit, &TMainForm::FileFormEditClick);
  ConnectAction(a.WindowArrangeItem, &TMainForm::WindowArrangeItemClick);
  ConnectAction(a.WindowMinimizeItem, &TMainForm::WindowMinimizeItemClick);
  ConnectAction(a.HelpContents, &TMainForm::HelpContentsClick);
  ConnectAction(a.HelpAboutItem, &TMainForm::HelpAboutItemClick);
  connect(a.WindowCascadeItem, &QAction::triggered, this, [this] { ArrangeListWindows(false); });
  connect(a.WindowTileItem, &QAction::triggered, this, [this] { ArrangeListWindows(true); });
  connect(a.WindowMenu, &QMenu::aboutToShow, this, &TMainForm::WindowMenuAboutToShow);

  const ToolPanel* t = pToolBar_;
  ConnectButton(t->NewBtn, a.FileNewItem);
  ConnectButton(t->OpenBtn, a.FileOpenItem);
  ConnectButton(t->SaveBtn, a.FileSaveItem);
  ConnectButton(t->EditBtn, a.FileFormEdit);
  ConnectButton(t->CutBtn, a.CutItem);
  ConnectButton(t->CopyBtn, a.CopyItem);
  ConnectButton(t->PasteBtn, a.PasteItem);
  ConnectButton(t->Search1Btn, a.MISearch1);
  ConnectButton(t->SearchProductsBtn, a.MISearch2);
  ConnectButton(t->SearchBranchesBtn, a.MISearch3);
  ConnectButton(t->ExitBtn, a.FileExitItem);

  connect(mdiArea_, &QMdiArea::subWindowActivated, this, &TMainForm::UpdateMenuItems);
  connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
          &TMainForm::ProcessOnIdle);
  timer_.setInterval(1000);
  connect(&timer_, &QTimer::timeout, this, &TMainForm::TimerTimer);
  timer_.start();
  TimerTimer();
  UpdateMenuItems();
}

TMainForm::~TMainForm() {
  // The list windows die with the frame; their going must not reach this half-destroyed window.
  mdiArea_->disconnect(this);
  for (QMdiSubWindow* sub : mdiArea_->findChildren<QMdiSubWindow*>()) sub->disconnect(this);
}

TMDIChild* TMainForm::LastChild() const { return lastChild_; }

void TMainForm::ConnectAction(QAction* action, void (TMainForm::*slot)()) {
  connect(action, &QAction::triggered, this, [this, action, slot] {
    Logger().Log("AE: Action information of " + action->objectName().toStdString());
    Logger().Log("AE: - owner is " + objectName().toStdString());
    Guarded(this, [this, slot] { (this->*slot)(); });
  });
}

void TMainForm::ConnectButton(QWidget* button, QAction* action) {
  connect(static_cast<QToolButton*>(button), &QToolButton::clicked, action, &QAction::trigger);
}

void TMainForm::SetPrompts(std::shared_ptr<UserPrompts> prompts) { prompts_ = std::move(prompts); }

TMDIChild* TMainForm::ActiveChild() const {
  QMdiSubWindow* sub = mdiArea_->currentSubWindow();
  return sub != nullptr ? qobject_cast<TMDIChild*>(sub->widget()) : nullptr;
}

QList<TMDIChild*> TMainForm::ListWindows() const {
  QList<TMDIChild*> windows;
  for (QMdiSubWindow* sub : mdiArea_->subWindowList()) {
    if (auto* child = qobject_cast<TMDIChild*>(sub->widget())) windows.append(child);
  }
  return windows;
}

QString TMainForm::StatusText(int panel) const { return sbPanels_[panel]->text(); }

TMDIChild* TMainForm::CreateListWindow() {
  auto* child = new TMDIChild(dm_, prompts_);
  QMdiSubWindow* sub = mdiArea_->addSubWindow(child);
  sub->setMinimumSize(150, 150);
  connect(sub, &QObject::destroyed, this, &TMainForm::UpdateMenuItems);
  lastChild_ = child;
  child->SetMainHandle(this);
  sub->showMaximized();
  mdiArea_->setActiveSubWindow(sub);
  return child;
}

TMDIChild* TMainForm::NewListWindow() {
  TMDIChild* child = CreateListWindow();
  child->setWindowTitle(NamePart(child->ListFileName()));
  UpdateMenuItems();
  return child;
}

void TMainForm::OpenListWindow(const QString& fileName) {
  // The file is read before any window is made: a list that cannot be shown leaves every
  // window as it was, none made, restored or maximized meanwhile.
  LoadedList loaded = LoadListFile(fileName.toStdString(), dm_.RecordCount());
  if (loaded.status == ListFileStatus::WrongFormat) {
    prompts_->inform(this, QString::fromUtf8(kWrongListFormat));
    return;
  }
  TMDIChild* child = CreateListWindow();
  child->ApplyListFile(std::move(loaded), fileName);
  child->setWindowTitle(NamePart(fileName));
  UpdateMenuItems();
}

void TMainForm::SaveList(TMDIChild* window) {
  if (window == nullptr || !window->Modified()) return;
  if (window->HasFile()) {
    window->SaveToFile(window->ListFileName());
  } else {
    SaveListAs(window);
  }
}

void TMainForm::SaveListAs(TMDIChild* window) {
  if (window == nullptr) return;
  const QString chosen = prompts_->chooseListToSave(this, QString::fromStdString(dm_.ListsDir()),
                                                    QFileInfo(window->ListFileName()).fileName());
  if (!chosen.isEmpty()) window->SaveToFile(chosen);
}

void TMainForm::FileNewItemClick() { NewListWindow(); }

void TMainForm::FileOpenItemClick() {
  const QString chosen = prompts_->chooseListToOpen(this, QString::fromStdString(dm_.ListsDir()));
  if (!chosen.isEmpty()) OpenListWindow(chosen);
}

void TMainForm::FileCloseItemClick() {
  TMDIChild* child = ActiveChild();
  if (child == nullptr) return;
  SaveList(child);
  child->parentWidget()->close();
}

void TMainForm::FileSaveItemClick() { SaveList(ActiveChild()); }

void TMainForm::FileSaveAsItemClick() { SaveListAs(ActiveChild()); }

void TMainForm::MergeIntoActive(MergeMode mode) {
  const QString chosen = prompts_->chooseListToOpen(this, QString::fromStdString(dm_.ListsDir()));
  TMDIChild* child = ActiveChild();
  if (!chosen.isEmpty() && child != nullptr) child->MergeFile(chosen, mode);
}

void TMainForm::FileAppendItemClick() { MergeIntoActive(MergeMode::Append); }

void TMainForm::FileSubItemClick() { MergeIntoActive(MergeMode::Subtract); }

void TMainForm::FileExitItemClick() { close(); }

void TMainForm::CutItemClick() {
  if (TMDIChild* child = ActiveChild()) child->DeleteCurrent();
}

void TMainForm::CopyItemClick() {
  TMDIChild* child = ActiveChild();
  if (child == nullptr) return;
  recordClipboard_ = child->CurrentRecord();
  UpdateMenuItems();
}

void TMainForm::PasteItemClick() {
  TMDIChild* child = ActiveChild();
  if (child == nullptr || recordClipboard_ == -1) return;
  child->InsertRecord(recordClipboard_);
  child->MarkChanged();
}

void TMainForm::ParamHintClick() {
  if (TMDIChild* child = ActiveChild()) child->SetFullNameHints(!child->FullNameHints());
  UpdateMenuItems();
}

void TMainForm::ParamInfoClick() {
  if (TMDIChild* child = ActiveChild()) child->SetInfoVisible(!child->InfoVisible());
  UpdateMenuItems();
}

void TMainForm::ParamItemClick() {
  if (TMDIChild* child = ActiveChild()) child->SetItemVisible(!child->ItemVisible());
  UpdateMenuItems();
}

void TMainForm::ParamReklamaClick() {
  if (TMDIChild* child = ActiveChild()) child->SetReklamaVisible(!child->ReklamaVisible());
  UpdateMenuItems();
}

void TMainForm::WindowArrangeItemClick() {
  // Minimized windows in a row along the bottom of the frame.
  int x = 0;
  for (QMdiSubWindow* sub : mdiArea_->subWindowList()) {
    if (!sub->isMinimized()) continue;
    sub->move(x, mdiArea_->viewport()->height() - sub->height());
    x += sub->width();
  }
}

void TMainForm::ArrangeListWindows(bool tile) {
  // The frame's own tiling and cascading restore minimized windows or leave their icons over
  // the arranged ones: the icons go to the bottom row, the other windows share the rest.
  QList<QMdiSubWindow*> open;
  int iconsHeight = 0;
  for (QMdiSubWindow* sub : mdiArea_->subWindowList()) {
    if (sub->isMinimized()) {
      iconsHeight = std::max(iconsHeight, sub->height());
    } else {
      open.append(sub);
    }
  }
  WindowArrangeItemClick();
  if (open.isEmpty()) return;
  QRect area = mdiArea_->viewport()->rect();
  area.setHeight(std::max(area.height() - iconsHeight, 150));
  QMdiSubWindow* active = mdiArea_->activeSubWindow();
  const auto n = static_cast<int>(open.size());
  const int columns = tile ? static_cast<int>(std::ceil(std::sqrt(n))) : 1;
  const int rows = tile ? (n + columns - 1) / columns : 1;
  const int step = style()->pixelMetric(QStyle::PM_TitleBarHeight);
  for (int i = 0; i < n; ++i) {
    QMdiSubWindow* sub = open[i];
    sub->showNormal();
    if (tile) {
      const int column = i % columns;
      const int row = i / columns;
      const int left = area.width() * column / columns;
      const int top = area.height() * row / rows;
      sub->setGeometry(left, top, area.width() * (column + 1) / columns - left,
                       area.height() * (row + 1) / rows - top);
    } else {
      const int offset = step * (i % std::max(1, area.height() / (3 * std::max(step, 1))));
      sub->setGeometry(offset, offset, area.width() * 2 / 3, area.height() * 2 / 3);
      sub->raise();
    }
  }
  if (active != nullptr && !active->isMinimized()) {
    active->raise();
    mdiArea_->setActiveSubWindow(active);
  }
}

void TMainForm::WindowMinimizeItemClick() {
  const QList<QMdiSubWindow*> subs = mdiArea_->subWindowList();
  for (auto it = subs.crbegin(); it != subs.crend(); ++it) (*it)->showMinimized();
}

void TMainForm::HelpContentsClick() {
  const QFileInfo help(helpFile_);
  if (help.exists() && QDesktopServices::openUrl(QUrl::fromLocalFile(help.absoluteFilePath()))) {
    return;
  }
  const QString guide = UserGuidePath(QCoreApplication::applicationDirPath());
  if (guide.isEmpty()) {
    prompts_->inform(this, QStringLiteral("Файл справки \"%1\" не найден").arg(helpFile_));
    return;
  }
  if (helpWindow_ == nullptr) {
    helpWindow_ = new HelpWindow(this);
    helpWindow_->Open(guide);
  }
  helpWindow_->show();
  helpWindow_->raise();
  helpWindow_->activateWindow();
}

void TMainForm::HelpAboutItemClick() {
  TAboutBox box(caption_, dm_.Header().baseDay, this);
  box.exec();
}

void TMainForm::TimerTimer() {
  sbPanels_[0]->setText(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
  Logger().Log("MFTT: Timer ticks");
}

void TMainForm::WindowMenuAboutToShow() {
  QMenu* menu = actions_.WindowMenu;
  // The fixed commands stay; the list of windows after them is made anew.
  const QList<QAction*> items = menu->actions();
  for (QAction* item : items) {
    if (item->property("windowEntry").toBool() || (item->isSeparator())) {
      menu->removeAction(item);
      item->deleteLater();
    }
  }
  const QList<QMdiSubWindow*> subs = mdiArea_->subWindowList();
  if (subs.isEmpty()) return;
  menu->addSeparator()->setProperty("windowEntry", true);
  int number = 1;
  for (QMdiSubWindow* sub : subs) {
    QAction* entry =
        menu->addAction(QStringLiteral("&%1 %2").arg(number++).arg(sub->windowTitle()));
    entry->setProperty("windowEntry", true);
    entry->setCheckable(true);
    entry->setChecked(sub == mdiArea_->currentSubWindow());
    connect(entry, &QAction::triggered, this, [this, sub = QPointer<QMdiSubWindow>(sub)] {
      if (!sub) return;
      if (sub->isMinimized()) sub->showNormal();
      mdiArea_->setActiveSubWindow(sub);
    });
  }
}

void TMainForm::UpdateMenuItems() {
  std::optional<ActiveListFlags> flags;
  if (const TMDIChild* child = ActiveChild()) {
    flags = ActiveListFlags{child->FullNameHints(), child->InfoVisible(), child->ItemVisible(),
                            child->ReklamaVisible()};
  }
  states_ = ComputeCommandStates(static_cast<int>(ListWindows().size()), recordClipboard_, flags,
                                 states_);
  ApplyCommandStates();
}

void TMainForm::ApplyCommandStates() {
  const MainActions& a = actions_;
  const bool on = states_.listCommands;
  for (QAction* action :
       {a.FileCloseItem, a.FileSaveItem, a.FileSaveAsItem, a.FileAppendItem, a.FileSubItem,
        a.FileExportItem, a.FileSummaryItem, a.FilePrint, a.CutItem, a.CopyItem,
        a.WindowCascadeItem, a.WindowTileItem, a.WindowArrangeItem, a.WindowMinimizeItem,
        a.ParamHint, a.ParamInfo, a.ParamItem}) {
    action->setEnabled(on);
  }
  for (QToolButton* button :
       {pToolBar_->SaveBtn, pToolBar_->CutBtn, pToolBar_->CopyBtn, pToolBar_->PasteBtn}) {
    button->setEnabled(on);
  }
  a.PasteItem->setEnabled(states_.paste);
  a.ParamHint->setChecked(states_.hintChecked);
  a.ParamInfo->setChecked(states_.infoChecked);
  a.ParamItem->setChecked(states_.itemChecked);
  a.ParamReklama->setChecked(states_.reklamaChecked);
  a.ParamReklama->setEnabled(states_.reklamaEnabled);
  if (states_.disableMail) {
    a.SendSingle->setEnabled(false);
    a.SendList->setEnabled(false);
  }
}

void TMainForm::OnListStatus(int currentRowPlusOne, int count) {
  if (count < 0) {
    sbPanels_[1]->clear();
    return;
  }
  sbPanels_[1]->setText(QStringLiteral("%1/%2").arg(currentRowPlusOne).arg(count));
  actions_.SendSingle->setEnabled(count >= 1);
  actions_.SendList->setEnabled(count >= 1);
}

void TMainForm::ProcessOnIdle() {
  Guarded(this, [this] {
    if (TMDIChild* child = ActiveChild()) {
      IdleDetailEvent idle;
      QCoreApplication::sendEvent(child, &idle);
    }
  });
}

bool TMainForm::event(QEvent* event) {
  switch (static_cast<int>(event->type())) {
    case UM_LISTSTATUS: {
      auto* status = static_cast<ListStatusEvent*>(event);
      OnListStatus(status->WParam, status->LParam);
      status->Result = 1;
      return true;
    }
    case UM_SAVELISTAS: {
      auto* saveAs = static_cast<SaveListAsEvent*>(event);
      SaveListAs(saveAs->Window);
      saveAs->Result = 1;
      return true;
    }
    case QEvent::StatusTip:
      sbPanels_[2]->setText(static_cast<QStatusTipEvent*>(event)->tip());
      return true;
    default:
      return QMainWindow::event(event);
  }
}

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (firstShown_) return;
  firstShown_ = true;
  // The first appearance opens one window over the whole base, once the frame is up.
  QMetaObject::invokeMethod(
      this, [this] { Guarded(this, [this] { NewListWindow(); }); }, Qt::QueuedConnection);
}

void TMainForm::closeEvent(QCloseEvent* event) {
  // Each list window asks about its unsaved list, brought to the front first so the question
  // names the window on screen; the frame itself always agrees to close.
  const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList(QMdiArea::StackingOrder);
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
    QMdiSubWindow* sub = *it;
    if (sub->isMinimized()) sub->showNormal();
    mdiArea_->setActiveSubWindow(sub);
    sub->close();
  }
  event->accept();
}

}  // namespace zorel
