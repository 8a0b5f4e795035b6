// The list operations of TMDIChild: list files (load, save, append, subtract) and the record
// moves (insert, delete, search results).
#include <QLayout>
#include <QMdiSubWindow>
#include <algorithm>
#include <limits>

#include "components/user_prompts.h"
#include "components/wait_cursor.h"
#include "data/data_module.h"
#include "data/file_util.h"
#include "shell/child_window.h"
#include "shell/name_grid.h"

namespace zorel {
namespace {

std::int16_t To16(int value) {
  return static_cast<std::int16_t>(std::clamp<int>(value, std::numeric_limits<std::int16_t>::min(),
                                                   std::numeric_limits<std::int16_t>::max()));
}

QString NamePart(const QString& path) {
  return QString::fromStdString(BaseNameWithoutExtension(path.toStdString()));
}

}  // namespace

bool TMDIChild::LoadFromFile(const QString& fileName) {
  LoadedList loaded = LoadListFile(fileName.toStdString(), dm_.RecordCount());
  if (loaded.status == ListFileStatus::WrongFormat) {
    prompts_->inform(this, QString::fromUtf8(kWrongListFormat));
    return false;
  }
  ApplyListFile(std::move(loaded), fileName);
  return true;
}

void TMDIChild::ApplyListFile(LoadedList loaded, const QString& fileName) {
  const ListFileHeader& h = loaded.header;
  SetInfoVisible(h.requisitesShown);
  SetItemVisible(h.lowerShown);
  SetReklamaVisible(h.advertShown);
  // A maximized window keeps filling the frame; sizes that make no window are ignored.
  QMdiSubWindow* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
  if (sub != nullptr && !sub->isMaximized() && h.windowWidth > 0 && h.windowHeight > 0) {
    sub->resize(h.windowWidth, h.windowHeight);
  }
  // The panel sizes are a splitter's last positions, but the file may come from a larger window
  // or be damaged: they are kept within the splitters' limits in the window as it now is.
  if (sub != nullptr && sub->layout() != nullptr) sub->layout()->activate();
  if (layout() != nullptr) layout()->activate();
  SetLowerPanelHeight(LowerHeightWithinLimits(h.lowerHeight));
  SetAdvertPanelWidth(AdvertWidthWithinLimits(h.advertWidth));
  records_ = std::move(loaded.records);
  SetRecordCount(static_cast<int>(records_.size()));
  listFileName_ = fileName;
  hasFile_ = true;
}

void TMDIChild::SaveToFile(const QString& fileName) {
  const QString target = fileName.isEmpty() ? listFileName_ : fileName;
  ListFileHeader h;
  h.requisitesShown = infoShown_;
  h.lowerShown = itemShown_;
  h.advertShown = reklamaShown_;
  h.lowerHeight = To16(LowerPanelHeight());
  h.advertWidth = To16(AdvertPanelWidth());
  const QWidget* outer = parentWidget() != nullptr ? parentWidget() : this;
  h.windowWidth = To16(outer->width());
  h.windowHeight = To16(outer->height());
  SaveListFile(target.toStdString(), h, records_);
  listFileName_ = target;
  setWindowTitle(NamePart(target));
  hasFile_ = true;
  modified_ = false;
}

bool TMDIChild::MergeFile(const QString& fileName, MergeMode mode) {
  ListFileStatus status;
  {
    WaitCursor wait;
    status = MergeListFile(records_, fileName.toStdString(), mode, dm_.RecordCount());
  }
  if (status == ListFileStatus::WrongFormat) {
    prompts_->inform(this, QString::fromUtf8(kWrongListFormat));
    return false;
  }
  detailPending_ = true;
  MarkChanged();
  return true;
}

void TMDIChild::InsertRecord(std::int32_t record) { zorel::InsertRecord(records_, record); }

void TMDIChild::MarkChanged() {
  modified_ = true;
  SetRecordCount(static_cast<int>(records_.size()));
  grid_->viewport()->update();
}

void TMDIChild::DeleteCurrent() {
  // An edited remark belongs to the record that is about to leave the list: keep it.
  StorePendingRemark();
  const int row = CurrentRow();
  if (row >= 0 && static_cast<std::size_t>(row) < records_.size()) {
    records_.erase(records_.begin() + row);
    modified_ = true;
  }
  ShowDetails(row);
  SetRecordCount(static_cast<int>(records_.size()));
  grid_->viewport()->update();
}

void TMDIChild::SetSearchResult(RecordList records, const QString& caption) {
  records_ = std::move(records);
  SetRecordCount(static_cast<int>(records_.size()));
  setWindowTitle(caption);
  hasFile_ = false;
  modified_ = true;
}

void TMDIChild::ProposeListName(const QString& name) {
  listFileName_ = QString::fromStdString(dm_.ListsDir()) + name + QStringLiteral(".lst");
}

}  // namespace zorel
