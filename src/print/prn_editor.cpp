#include "print/prn_editor.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QShortcut>
#include <QSpinBox>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

#include "components/user_prompts.h"
#include "data/data_module.h"
#include "data/field_table.h"
#include "data/logger.h"
#include "print/list_printing.h"
#include "print/page_setup.h"
#include "report/form_error.h"
#include "report/form_file.h"
#include "report/report.h"
#include "report/shared_printer.h"
#include "reportui/rep_designer.h"
#include "reportui/report_surface.h"
#include "textconv/text_convert.h"

namespace zorel {

// One change of the form, held as the form file's bytes before and after it.
class FormChange : public QUndoCommand {
 public:
  FormChange(TfrmPrnEditor& editor, std::string before, std::string after, int mergeKey)
      : editor_(editor), before_(std::move(before)), after_(std::move(after)), key_(mergeKey) {}
  int id() const override { return key_; }
  bool mergeWith(const QUndoCommand* other) override {
    after_ = static_cast<const FormChange*>(other)->after_;
    return true;
  }
  // A step that cannot be applied leaves the form as it is and drops out of the history.
  void undo() override {
    if (!editor_.Restore(before_, QStringLiteral("Изменение не отменено: %1"))) setObsolete(true);
  }
  void redo() override {
    // The change is already made when the command is pushed.
    if (done_ && !editor_.Restore(after_, QStringLiteral("Изменение не повторено: %1")))
      setObsolete(true);
    done_ = true;
  }

 private:
  TfrmPrnEditor& editor_;
  std::string before_, after_;
  int key_;
  bool done_ = false;
};

namespace {

constexpr int kUserField = 17;
constexpr int kToolBarHeight = 65;
enum MergeKey { kMergeCaption = 1, kMergeWidth = 2 };

QColor ToQColor(RepColor c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
RepColor FromQColor(const QColor& c) {
  return static_cast<RepColor>(c.red() | (c.green() << 8) | (c.blue() << 16));
}

// Report fonts hold their height in pixels at 96 per inch, negative for a character height.
QFont ToQFont(const ReportFont& f) {
  QFont font(f.Name);
  font.setPixelSize(std::max(1, std::abs(f.Height)));
  font.setBold(f.Style & kFsBold);
  font.setItalic(f.Style & kFsItalic);
  font.setUnderline(f.Style & kFsUnderline);
  font.setStrikeOut(f.Style & kFsStrikeOut);
  return font;
}

void TakeQFont(ReportFont& f, const QFont& font) {
  f.Name = font.family();
  const int pixels = font.pixelSize() > 0
                         ? font.pixelSize()
                         : static_cast<int>(std::lround(font.pointSizeF() * 96.0 / 72.0));
  f.Height = -std::clamp(pixels, 1, kMaxFontHeight);
  f.Style = 0;
  if (font.bold()) f.Style |= kFsBold;
  if (font.italic()) f.Style |= kFsItalic;
  if (font.underline()) f.Style |= kFsUnderline;
  if (font.strikeOut()) f.Style |= kFsStrikeOut;
}

QIcon ColorSquare(const QColor& color) {
  QPixmap pixmap(16, 16);
  pixmap.fill(color);
  return QIcon(pixmap);
}

QToolButton* Button(QWidget* parent, const char* name, const QString& text, const QString& hint) {
  auto* b = new QToolButton(parent);
  b->setObjectName(QLatin1String(name));
  b->setText(text);
  b->setToolTip(hint);
  b->setAutoRaise(true);
  return b;
}

QString Mm(double tenths) { return QString::number(tenths / 10, 'f', 1).replace('.', ','); }

}  // namespace

TfrmPrnEditor::TfrmPrnEditor(const Tdm& dm, std::shared_ptr<UserPrompts> prompts,
                             FormPrompts formPrompts, QWidget* parent)
    : QDialog(parent), dm_(dm), prompts_(std::move(prompts)), formPrompts_(std::move(formPrompts)) {
  setObjectName(QStringLiteral("frmPrnEditor"));
  setWindowTitle(QStringLiteral("Редактор печатных форм"));
  Logger().Log("PrnEditor: trying to create form editor");
  BuildTools();
  resize(820, 571);
  Logger().Log("PrnEditor: creating RepDesigner");
  designer_ = std::make_unique<TRepDesigner>();
  Logger().Log("PrnEditor: Setting OnSelectComponent event");
  connect(designer_.get(), &TRepDesigner::SelectComponent, this, &TfrmPrnEditor::ElementSelected);
  connect(designer_.get(), &TRepDesigner::AboutToChange, this, [this] { BeginChange(); });
  connect(designer_.get(), &TRepDesigner::Changed, this, [this] { EndChange(); });
  connect(&undo_, &QUndoStack::indexChanged, this, [this] { AfterUndo(); });
  Logger().Log("PrnEditor: recreating report");
  TakeForm(NewReport(), {});
  currentIndex_ = 0;
  cbField_->setCurrentIndex(0);
}

TfrmPrnEditor::~TfrmPrnEditor() {
  // The undo stack clears itself when it is destroyed and signals the change; no handler may
  // run on an editor whose members are going.
  undo_.disconnect(this);
  designer_.reset();
}

void TfrmPrnEditor::BuildTools() {
  auto* pToolBar = new QFrame(this);
  pToolBar->setObjectName(QStringLiteral("pToolBar"));
  pToolBar->setFixedHeight(kToolBarHeight);
  pToolBar->setFrameShape(QFrame::StyledPanel);
  auto* bar = new QHBoxLayout(pToolBar);
  bar->setContentsMargins(4, 2, 4, 2);

  // The file panel: its colour is the modified mark.
  pFile_ = new QFrame(pToolBar);
  pFile_->setObjectName(QStringLiteral("pFile"));
  pFile_->setAutoFillBackground(true);
  auto* file = new QGridLayout(pFile_);
  file->setContentsMargins(3, 3, 3, 3);
  QStyle* st = style();
  auto* sbNew = Button(pFile_, "sbNew", {}, QStringLiteral("Создать новую форму"));
  sbNew->setIcon(st->standardIcon(QStyle::SP_FileIcon));
  auto* sbOpen = Button(pFile_, "sbOpen", {}, QStringLiteral("Загрузить форму"));
  sbOpen->setIcon(st->standardIcon(QStyle::SP_DialogOpenButton));
  auto* sbSave = Button(pFile_, "sbSave", {}, QStringLiteral("Сохранить форму"));
  sbSave->setIcon(st->standardIcon(QStyle::SP_DialogSaveButton));
  auto* sbSaveAs = Button(pFile_, "sbSaveAs", QStringLiteral("Сохранить как..."),
                          QStringLiteral("Сохранить форму под новым названием"));
  file->addWidget(sbNew, 0, 0, 2, 1);
  file->addWidget(sbOpen, 0, 1);
  file->addWidget(sbSave, 1, 1);
  file->addWidget(sbSaveAs, 0, 2, 2, 1);
  connect(sbNew, &QToolButton::clicked, this, [this] {
    New();
    AttachDesigner();
    designer_->Select(DesignObject::None());
  });
  connect(sbOpen, &QToolButton::clicked, this, &TfrmPrnEditor::Open);
  connect(sbSave, &QToolButton::clicked, this, &TfrmPrnEditor::Save);
  connect(sbSaveAs, &QToolButton::clicked, this, &TfrmPrnEditor::SaveAs);
  bar->addWidget(pFile_);

  // The field panel.
  auto* fields = new QGridLayout;
  cbField_ = new QComboBox(pToolBar);
  cbField_->setObjectName(QStringLiteral("cbField"));
  cbField_->setToolTip(QStringLiteral("Выбор типа вставляемого поля"));
  cbField_->setMaxVisibleItems(20);
  for (int f = 0; f < kPrintFieldCount; ++f) cbField_->addItem(ChooserText(f));
  eInfo_ = new QLineEdit(pToolBar);
  eInfo_->setObjectName(QStringLiteral("eInfo"));
  eInfo_->hide();
  auto* sbCreate = Button(pToolBar, "sbCreate", QStringLiteral("Добавить"),
                          QStringLiteral("Добавить поле в форму"));
  auto* sbFont =
      Button(pToolBar, "sbFont", QStringLiteral("Шрифт"), QStringLiteral("Изменение шрифта"));
  // The font dialog has no colour, so the text's colour has a square of its own beside it.
  textColor_ = Qt::black;
  sbFontColor_ = Button(pToolBar, "sbFontColor", {}, QStringLiteral("Изменение цвета текста"));
  sbFontColor_->setIcon(ColorSquare(textColor_));
  fields->addWidget(cbField_, 0, 0);
  fields->addWidget(eInfo_, 1, 0);
  fields->addWidget(sbCreate, 0, 1, 1, 2);
  fields->addWidget(sbFont, 1, 1);
  fields->addWidget(sbFontColor_, 1, 2);
  connect(sbCreate, &QToolButton::clicked, this, &TfrmPrnEditor::Create);
  connect(sbFont, &QToolButton::clicked, this, &TfrmPrnEditor::ChooseFont);
  connect(sbFontColor_, &QToolButton::clicked, this, &TfrmPrnEditor::ChooseTextColor);
  connect(eInfo_, &QLineEdit::textEdited, this, [this](const QString& text) {
    TRepBand* band = report_->DetailBand();
    if (!band) return;
    for (const auto& label : band->Labels()) {
      if (label->Name.compare(remembered_, Qt::CaseInsensitive) != 0) continue;
      BeginChange();
      label->Caption = text;
      surface_->update();
      EndChange(kMergeCaption);
    }
  });
  bar->addLayout(fields);

  // The frame panel with the print mode and the page button below it.
  auto* framePanel = new QGridLayout;
  const char* sideNames[4] = {"sbFrameLeft", "sbFrameBottom", "sbFrameRigth", "sbFrameTop"};
  const QString sideTexts[4] = {QStringLiteral("Л"), QStringLiteral("Н"), QStringLiteral("П"),
                                QStringLiteral("В")};
  for (int side = 0; side < 4; ++side) {
    sbFrame_[side] =
        Button(pToolBar, sideNames[side], sideTexts[side], QStringLiteral("Параметры границ"));
    sbFrame_[side]->setCheckable(true);
    framePanel->addWidget(sbFrame_[side], 0, side);
    connect(sbFrame_[side], &QToolButton::clicked, this, [this, side] { ToggleFrameSide(side); });
  }
  frameColor_ = Qt::black;
  sbColor_ = Button(pToolBar, "sbColor", {}, QStringLiteral("Изменение цвета границы"));
  sbColor_->setIcon(ColorSquare(frameColor_));
  framePanel->addWidget(sbColor_, 0, 4);
  connect(sbColor_, &QToolButton::clicked, this, &TfrmPrnEditor::ChooseColor);
  seWidth_ = new QSpinBox(pToolBar);
  seWidth_->setObjectName(QStringLiteral("seWidth"));
  seWidth_->setToolTip(QStringLiteral("Изменение ширины границы"));
  seWidth_->setRange(1, 50);
  seWidth_->setValue(1);
  framePanel->addWidget(seWidth_, 0, 5);
  connect(seWidth_, &QSpinBox::valueChanged, this, [this](int value) {
    BeginChange();
    TargetFrame().Width = value;
    surface_->update();
    EndChange(kMergeWidth);
  });
  auto* rgPrintMode = new QGroupBox(pToolBar);
  rgPrintMode->setObjectName(QStringLiteral("rgPrintMode"));
  rgPrintMode->setToolTip(QStringLiteral("Печать одну запись или весь список"));
  rgPrintMode->setFlat(true);
  auto* modes = new QHBoxLayout(rgPrintMode);
  modes->setContentsMargins(0, 0, 0, 0);
  rbSingle_ = new QRadioButton(QStringLiteral("одно"), rgPrintMode);
  rbSingle_->setObjectName(QStringLiteral("rbSingle"));
  rbList_ = new QRadioButton(QStringLiteral("список"), rgPrintMode);
  rbList_->setObjectName(QStringLiteral("rbList"));
  rbList_->setChecked(true);
  modes->addWidget(rbSingle_);
  modes->addWidget(rbList_);
  framePanel->addWidget(rgPrintMode, 1, 0, 1, 4);
  sbPageSetup_ = Button(pToolBar, "sbPageSetup", QStringLiteral("Страница"),
                        QStringLiteral("Параметры отчета"));
  framePanel->addWidget(sbPageSetup_, 1, 4, 1, 2);
  connect(sbPageSetup_, &QToolButton::clicked, this, &TfrmPrnEditor::PageSetup);
  bar->addLayout(framePanel);

  // The print panel.
  auto* pPrint = new QFrame(pToolBar);
  pPrint->setObjectName(QStringLiteral("pPrint"));
  auto* print = new QVBoxLayout(pPrint);
  print->setContentsMargins(2, 0, 2, 0);
  sbPreview_ =
      Button(pPrint, "sbPreview", QStringLiteral("Просмотр"), QStringLiteral("Просмотр отчета"));
  sbPrint_ = Button(pPrint, "sbPrint", QStringLiteral("Печать"), QStringLiteral("Печать отчета"));
  connect(sbPreview_, &QToolButton::clicked, this, &TfrmPrnEditor::Preview);
  connect(sbPrint_, &QToolButton::clicked, this, &TfrmPrnEditor::Print);
  print->addWidget(sbPreview_);
  print->addWidget(sbPrint_);
  bar->addWidget(pPrint);
  bar->addStretch(1);

  scrollEditor_ = new QScrollArea(this);
  scrollEditor_->setObjectName(QStringLiteral("scrollEditor"));
  scrollEditor_->setFrameShape(QFrame::NoFrame);
  surface_ = new ReportSurface;
  scrollEditor_->setWidget(surface_);
  // A label is marked when the current record's text would be cut on paper.
  surface_->printedText = [this](const TRepLabel& label) {
    if (!printList_) return label.Caption;
    return ListPrintLoop(dm_, *printList_).LabelText(label, currentIndex_);
  };

  statusLine_ = new QLabel(this);
  statusLine_->setObjectName(QStringLiteral("statusLine"));
  statusLine_->setFrameShape(QFrame::StyledPanel);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(pToolBar);
  layout->addWidget(scrollEditor_, 1);
  layout->addWidget(statusLine_);
  setMinimumSize(pToolBar->sizeHint().width(), kToolBarHeight + 150);

  auto* undo = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), this);
  connect(undo, &QShortcut::activated, &undo_, &QUndoStack::undo);
  auto* redo = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), this);
  connect(redo, &QShortcut::activated, &undo_, &QUndoStack::redo);
}

QString TfrmPrnEditor::ChooserText(int field) {
  return QString::fromUtf8(PrintFieldCaption(field));
}

QString TfrmPrnEditor::FieldText(std::int32_t position, int field) const {
  if (!printList_) return {};
  return ListPrintLoop(dm_, *printList_).FieldText(position, field);
}

std::unique_ptr<TReport> TfrmPrnEditor::NewReport() {
  Logger().Log("PrnEditor: removing report band");
  Logger().Log("PrnEditor: removing report speadsheet");
  Logger().Log("PrnEditor: creating report speadsheet");
  auto report = std::make_unique<TReport>();
  Logger().Log("PrnEditor: setting report speadsheet events and parameters ...");
  report->ReportTitle = QStringLiteral("Просмотр отчетов");
  report->Font.Charset = kCyrillicCharset;
  Logger().Log("PrnEditor: adding report band");
  report->CreateBand(QStringLiteral("RepBand1"));
  Logger().Log("PrnEditor: make report speadsheet scrollable");
  return report;
}

void TfrmPrnEditor::InstallReport(std::unique_ptr<TReport> report) {
  // The designer lets go of the old report's objects before they are freed.
  const bool attached = designer_ && designer_->Attached();
  if (attached) designer_->Detach();
  surface_->SetReport(report.get());
  report_ = std::move(report);
  if (attached) designer_->Attach(*surface_);
  UpdateStatus();
}

void TfrmPrnEditor::AttachDesigner() {
  if (!designer_->Attached()) designer_->Attach(*surface_);
}

void TfrmPrnEditor::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  AttachDesigner();
}

void TfrmPrnEditor::SetModified(bool modified) {
  formModified_ = modified;
  QPalette palette = pFile_->palette();
  palette.setColor(QPalette::Window,
                   modified ? QColor(Qt::red) : style()->standardPalette().color(QPalette::Button));
  pFile_->setPalette(palette);
  pFile_->update();
  // The form's file and the modified mark in the title, as desktop programs show them.
  const QString name =
      formFileName_.isEmpty() ? QStringLiteral("Новая форма") : QFileInfo(formFileName_).fileName();
  setWindowTitle(name + QStringLiteral("[*] — Редактор печатных форм"));
  setWindowModified(modified);
}

bool TfrmPrnEditor::MayDiscardForm() {
  if (!formModified_ || !prompts_->confirm(this, QStringLiteral("Сохранить изменения ?")))
    return true;
  // A form that could not be saved stays, so that no work is lost.
  return Save();
}

void TfrmPrnEditor::TakeForm(std::unique_ptr<TReport> report, const QString& path) {
  InstallReport(std::move(report));
  formFileName_ = path;
  hasFormFile_ = !path.isEmpty();
  SetModified(false);
  remembered_.clear();
  eInfo_->hide();
  undo_.clear();
}

void TfrmPrnEditor::New() {
  if (MayDiscardForm()) TakeForm(NewReport(), {});
}

void TfrmPrnEditor::Open() {
  const QString name = QFileInfo(formFileName_).fileName();
  const QString path =
      formPrompts_.chooseToOpen(this, QString::fromStdString(dm_.FormsDir()), name);
  if (path.isEmpty()) return;
  // The form in memory stays until the file has been read whole.
  std::unique_ptr<TReport> loaded;
  try {
    loaded = LoadFormFile(path.toStdString());
  } catch (const FormError& e) {
    prompts_->inform(this, QStringLiteral("Не удалось открыть форму %1: %2")
                               .arg(path, QString::fromStdString(e.what())));
    return;
  }
  if (!MayDiscardForm()) return;
  if (!loaded->HasDetail()) loaded->CreateBand(QStringLiteral("RepBand1"));
  TakeForm(std::move(loaded), path);
}

bool TfrmPrnEditor::Save() {
  if (!hasFormFile_) return SaveAs();
  return WriteForm(formFileName_);
}

bool TfrmPrnEditor::SaveAs() {
  const QString name = hasFormFile_ ? QFileInfo(formFileName_).fileName() : QString();
  const QString dir = QString::fromStdString(dm_.FormsDir());
  QDir().mkpath(dir);
  QString path = formPrompts_.chooseToSave(this, dir, name);
  if (path.isEmpty()) return false;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".rpt");
  if (!WriteForm(path)) return false;
  hasFormFile_ = true;
  formFileName_ = path;
  SetModified(false);  // the title names the new file
  return true;
}

bool TfrmPrnEditor::WriteForm(const QString& path) {
  try {
    SaveFormFile(path.toStdString(), *report_);
  } catch (const FormError& e) {
    prompts_->inform(
        this,
        QStringLiteral("Форма не сохранена в %1: %2").arg(path, QString::fromStdString(e.what())));
    return false;
  }
  SetModified(false);
  undo_.setClean();
  const QStringList outside = ElementsOutside();
  saveNote_ = outside.isEmpty() ? QString()
                                : QStringLiteral("За пределами полосы или ширины печати: ") +
                                      outside.join(QStringLiteral(", "));
  UpdateStatus();
  return true;
}

QStringList TfrmPrnEditor::ElementsOutside() const {
  QStringList names;
  const TRepBand* band = report_->DetailBand();
  if (!band) return names;
  const double width = std::min(report_->Page.ColumnWidth(), report_->Page.PrintableWidth());
  for (const auto& label : band->Labels()) {
    const TRepLabel::Measures& m = label->Size;
    if (m.Left < 0 || m.Top < 0 || m.Left + m.Width > width + 0.5 ||
        m.Top + m.Height > band->HeightTenths + 0.5) {
      names << label->Name;
    }
  }
  return names;
}

void TfrmPrnEditor::Create() {
  const int field = cbField_->currentIndex();
  BeginChange();
  auto label =
      std::make_unique<TRepPrnLabel>(report_->UniqueElementName(QChar(PrintFieldLetter(field))));
  label->AutoSize = false;
  // Where the visible part of the scrolled design area begins.
  label->SetBounds(-surface_->x(), -surface_->y(), 100, 50);
  label->Font.Charset = kCyrillicCharset;
  QString caption = FieldText(currentIndex_, field);
  if (caption.trimmed().isEmpty()) caption = ChooserText(field);
  label->Caption = caption;
  report_->DetailBand()->AddLabel(std::move(label));
  surface_->update();
  EndChange();
}

TRepFrame& TfrmPrnEditor::TargetFrame() const {
  const DesignObject s = designer_->Selection();
  if (s.kind == DesignObject::Kind::Label) return s.label->Frame;
  if (s.kind == DesignObject::Kind::Band) return report_->DetailBand()->Frame;
  return report_->Frame;
}

ReportFont& TfrmPrnEditor::TargetFont() const {
  const DesignObject s = designer_->Selection();
  if (s.kind == DesignObject::Kind::Label) return s.label->Font;
  if (s.kind == DesignObject::Kind::Band) return report_->DetailBand()->Font;
  return report_->Font;
}

void TfrmPrnEditor::ChooseFont() {
  const auto font = formPrompts_.chooseFont(this, ToQFont(toolFont_));
  if (!font) return;
  BeginChange();
  TakeQFont(toolFont_, *font);
  // The dialog knows neither the colour nor the charset the form file records: both stay.
  ReportFont& target = TargetFont();
  const int charset = target.Charset;
  const RepColor color = target.Color;
  target = toolFont_;
  target.Charset = charset;
  target.Color = color;
  surface_->update();
  EndChange();
}

void TfrmPrnEditor::ChooseTextColor() {
  const auto color = formPrompts_.chooseColor(this, textColor_);
  if (!color) return;
  BeginChange();
  textColor_ = *color;
  sbFontColor_->setIcon(ColorSquare(textColor_));
  TargetFont().Color = FromQColor(*color);
  toolFont_.Color = TargetFont().Color;
  surface_->update();
  EndChange();
}

void TfrmPrnEditor::ChooseColor() {
  const auto color = formPrompts_.chooseColor(this, frameColor_);
  if (!color) return;
  BeginChange();
  frameColor_ = *color;
  sbColor_->setIcon(ColorSquare(frameColor_));
  TargetFrame().Color = FromQColor(*color);
  surface_->update();
  EndChange();
}

void TfrmPrnEditor::ToggleFrameSide(int side) {
  BeginChange();
  TRepFrame& frame = TargetFrame();
  bool* flags[4] = {&frame.DrawLeft, &frame.DrawBottom, &frame.DrawRight, &frame.DrawTop};
  *flags[side] = !*flags[side];
  sbFrame_[side]->setChecked(*flags[side]);
  surface_->update();
  EndChange();
}

void TfrmPrnEditor::Preview() { RunPrint(true); }

void TfrmPrnEditor::Print() { RunPrint(false); }

void TfrmPrnEditor::RunPrint(bool preview) {
  if (!printList_) return;
  if (!printing_) printing_ = std::make_unique<ListPrinting>(dm_, prompts_, this);
  ListPrintLoop loop(dm_, *printList_);
  loop.Mode = rbSingle_->isChecked() ? PrintMode::Single : PrintMode::List;
  loop.CurrentIndex = currentIndex_;
  if (!printing_->ChooseRange(loop)) return;
  const std::string formPath = QFile::encodeName(formFileName_).toStdString();
  printing_->documentName = formFileName_.isEmpty() ? QStringLiteral("Отчет")
                                                    : QFileInfo(formFileName_).completeBaseName();
  if (preview) {
    printing_->Preview(*report_, loop, formPath);
  } else {
    printing_->Print(*report_, loop, formPath);
  }
  // The hooks point into the loop, which ends here.
  report_->BeforePrint = {};
  report_->OnNeedData = {};
  report_->SupplyLabelText = {};
}

void TfrmPrnEditor::PageSetup() {
  if (pageSetup_ == nullptr) pageSetup_ = new TfrmPageSetup(SharedPrinter(), this);
  pageSetup_->LoadFromPage(report_->Page);
  if (prompts_->runModal(*pageSetup_) != QDialog::Accepted) return;
  BeginChange();
  pageSetup_->StoreToPage(report_->Page);
  surface_->UpdateGeometry();
  designer_->Select(DesignObject::None());
  EndChange();
}

void TfrmPrnEditor::ShowTools(const TRepFrame& frame, const ReportFont& font) {
  const bool sides[4] = {frame.DrawLeft, frame.DrawBottom, frame.DrawRight, frame.DrawTop};
  for (int i = 0; i < 4; ++i) sbFrame_[i]->setChecked(sides[i]);
  frameColor_ = ToQColor(frame.Color);
  sbColor_->setIcon(ColorSquare(frameColor_));
  const QSignalBlocker block(seWidth_);
  seWidth_->setValue(frame.Width);
  toolFont_ = font;
  textColor_ = ToQColor(font.Color);
  sbFontColor_->setIcon(ColorSquare(textColor_));
}

void TfrmPrnEditor::ElementSelected(const DesignObject& object) {
  TRepBand* band = report_->DetailBand();
  if (!remembered_.isEmpty() && !report_->HasComponentNamed(remembered_)) {
    SetModified(true);
    eInfo_->hide();
    remembered_.clear();
  }
  saveNote_.clear();
  if (object.kind == DesignObject::Kind::Label) {
    TRepLabel& label = *object.label;
    ShowTools(label.Frame, label.Font);
    remembered_ = label.Name;
    const bool user = label.Name.startsWith(QChar('r'), Qt::CaseInsensitive);
    eInfo_->setVisible(user);
    if (cbField_->currentIndex() == kUserField) eInfo_->setText(label.Caption);
  } else if (object.kind == DesignObject::Kind::Band && band) {
    ShowTools(band->Frame, band->Font);
    remembered_.clear();
    const TRepPage& page = report_->Page;
    // Margins may leave no room at all; a band is never less than empty.
    const double printable = std::max(0.0, page.Length() - page.BottomMargin() - page.TopMargin());
    if (band->Height() > printable) {
      BeginChange();
      band->SetHeight(std::nearbyint(printable));
      surface_->update();
      EndChange();
    }
    eInfo_->hide();
  } else {
    ShowTools(report_->Frame, report_->Font);
    eInfo_->hide();
  }
  QMetaObject::invokeMethod(
      this, [this] { UpdateStatus(); }, Qt::QueuedConnection);
}

void TfrmPrnEditor::UpdateStatus() { statusLine_->setText(StatusText()); }

QString TfrmPrnEditor::StatusText() const {
  if (!saveNote_.isEmpty()) return saveNote_;
  const QString selection = SelectionText();
  const QStringList cut = surface_->CutLabels();
  if (cut.isEmpty()) return selection;
  const QString note =
      QStringLiteral("Не помещается текст: %1").arg(cut.join(QStringLiteral(", ")));
  return selection.isEmpty() ? note : selection + QStringLiteral("; ") + note;
}

QString TfrmPrnEditor::SelectionText() const {
  if (!designer_ || !report_) return {};
  const DesignObject s = designer_->Selection();
  if (s.kind == DesignObject::Kind::Label) {
    const TRepLabel::Measures& m = s.label->Size;
    return QStringLiteral("%1: слева %2 мм, сверху %3 мм, ширина %4 мм, высота %5 мм")
        .arg(s.label->Name, Mm(m.Left), Mm(m.Top), Mm(m.Width), Mm(m.Height));
  }
  if (s.kind == DesignObject::Kind::Band && report_->HasDetail()) {
    return QStringLiteral("Полоса: ширина %1 мм, высота %2 мм")
        .arg(Mm(report_->Page.ColumnWidth()), Mm(report_->DetailBand()->HeightTenths));
  }
  return {};
}

std::string TfrmPrnEditor::Snapshot() const { return WriteFormBytes(*report_); }

void TfrmPrnEditor::BeginChange() {
  if (restoring_) return;
  before_ = Snapshot();
}

void TfrmPrnEditor::EndChange(int mergeKey) {
  if (restoring_) return;
  std::string after = Snapshot();
  if (after != before_)
    undo_.push(new FormChange(*this, std::move(before_), std::move(after), mergeKey));
  before_.clear();
  SetModified(true);
  UpdateStatus();
}

bool TfrmPrnEditor::Restore(const std::string& bytes, const QString& failure) {
  std::unique_ptr<TReport> report;
  try {
    report = ReadFormBytes(bytes);
  } catch (const FormError& e) {
    // The form stays as it is, and so differs from any saved one.
    undo_.resetClean();
    prompts_->inform(this, failure.arg(QString::fromStdString(e.what())));
    return false;
  }
  const DesignObject s = designer_->Selection();
  const QString selected = s.kind == DesignObject::Kind::Label ? s.label->Name : QString();
  const QScopedValueRollback<bool> restoring(restoring_, true);
  InstallReport(std::move(report));
  if (s.kind == DesignObject::Kind::Band) {
    designer_->Select(DesignObject::Band());
  } else if (!selected.isEmpty()) {
    for (const auto& label : report_->DetailBand()->Labels()) {
      if (label->Name == selected) designer_->Select(DesignObject::Label(label.get()));
    }
  }
  return true;
}

void TfrmPrnEditor::AfterUndo() {
  SetModified(!undo_.isClean());
  UpdateStatus();
}

}  // namespace zorel
