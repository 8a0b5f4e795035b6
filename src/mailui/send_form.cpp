#include "mailui/send_form.h"

#include <QComboBox>
#include <QDateTime>
#include <QFocusEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <utility>

#include "components/user_prompts.h"
#include "data/logger.h"
#include "mail/mail_fields.h"
#include "mailui/password_store.h"

namespace zorel {
namespace {

const QString kPortDigits = QStringLiteral("Порт должен состоять только из цифр !!!");
const QString kTimeOutDigits = QStringLiteral("Таймаут должен состоять только из цифр !!!");
const QString kPauseDigits = QStringLiteral("Пауза должна состоять только из цифр !!!");
const QString kSecurityNames[] = {QStringLiteral("Без шифрования"), QStringLiteral("STARTTLS"),
                                  QStringLiteral("TLS")};

template <typename T>
T* Named(T* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

std::optional<int> Integer(const QString& text) {
  bool ok = false;
  const int n = text.toInt(&ok);
  return ok ? std::optional<int>(n) : std::nullopt;
}

}  // namespace

TfrmSend::TfrmSend(const Tdm& dm, QSettings& settings, std::shared_ptr<UserPrompts> prompts,
                   OpenUnsentFn openUnsent, QWidget* parent)
    : QDialog(parent),
      dm_(dm),
      settings_(settings),
      prompts_(std::move(prompts)),
      openUnsent_(std::move(openUnsent)) {
  setObjectName(QStringLiteral("frmSend"));
  setWindowTitle(QStringLiteral("Рассылка почты"));
  BuildControls();
  ShowMailPage();
  ReadSettings();
  SetSending(false);
  UpdateAttachmentButtons();
  MailSubject_->setFocus();
}

TfrmSend::~TfrmSend() { WriteSettings(); }

void TfrmSend::BuildControls() {
  auto* top = new QVBoxLayout(this);
  pages_ = Named(new QTabWidget(this), "PageControl1");
  pages_->setTabPosition(QTabWidget::South);
  top->addWidget(pages_);

  tsMail_ = Named(new QWidget, "tsMail");
  auto* mail = new QVBoxLayout(tsMail_);
  Panel8_ = Named(new QWidget, "Panel8");
  auto* details = new QFormLayout(Panel8_);
  details->setContentsMargins(0, 0, 0, 0);
  SMTPServer_ = Named(new QLineEdit, "SMTPServer");
  details->addRow(QStringLiteral("Адрес почтового SMTP сервера (сервера отправки сообщений):"),
                  SMTPServer_);
  auto* row = new QHBoxLayout;
  SMTPPort_ = Named(new QLineEdit, "SMTPPort");
  row->addWidget(new QLabel(QStringLiteral("Порт:")));
  row->addWidget(SMTPPort_);
  row->addWidget(new QLabel(QStringLiteral("Тип сообщения:")));
  rbText_ = Named(new QRadioButton(QStringLiteral("Обычный текст")), "rbText");
  rbHTML_ = Named(new QRadioButton(QStringLiteral("HTML")), "rbHTML");
  row->addWidget(rbText_);
  row->addWidget(rbHTML_);
  row->addWidget(new QLabel(QStringLiteral("Кодировка:")));
  cbCharSet_ = Named(new QComboBox, "cbCharSet");
  for (const char* c : kCharSets) cbCharSet_->addItem(QString::fromLatin1(c));
  row->addWidget(cbCharSet_);
  row->addWidget(new QLabel(QStringLiteral("Таймаут (сек):")));
  MailTimeOut_ = Named(new QLineEdit, "MailTimeOut");
  MailTimeOut_->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), MailTimeOut_));
  MailTimeOut_->setToolTip(QStringLiteral(
      "Таймаут ожидания ответа \nот почтового сервера\n(0 -  бесконечное ожидание)"));
  row->addWidget(MailTimeOut_);
  details->addRow(row);
  auto* secure = new QHBoxLayout;
  cbSecurity_ = Named(new QComboBox, "cbSecurity");
  for (const QString& s : kSecurityNames) cbSecurity_->addItem(s);
  secure->addWidget(new QLabel(QStringLiteral("Шифрование:")));
  secure->addWidget(cbSecurity_);
  secure->addWidget(new QLabel(QStringLiteral("Имя для входа:")));
  MailUser_ = Named(new QLineEdit, "MailUser");
  secure->addWidget(MailUser_);
  secure->addWidget(new QLabel(QStringLiteral("Пауза между письмами (сек):")));
  MailPause_ = Named(new QLineEdit, "MailPause");
  MailPause_->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), MailPause_));
  secure->addWidget(MailPause_);
  details->addRow(secure);
  MailFrom_ = Named(new QLineEdit, "MailFrom");
  details->addRow(QStringLiteral("Электронный адрес отправителя:"), MailFrom_);
  mail->addWidget(Panel8_);

  auto* subject = new QHBoxLayout;
  subject->addWidget(new QLabel(QStringLiteral("Тема письма:")));
  MailSubject_ = Named(new QLineEdit, "MailSubject");
  lastText_ = MailSubject_;
  subject->addWidget(MailSubject_);
  btnDetails_ = Named(new QPushButton(QStringLiteral("Детали")), "btnDetails");
  btnDetails_->setCheckable(true);
  subject->addWidget(btnDetails_);
  mail->addLayout(subject);
  auto* bodyRow = new QHBoxLayout;
  bodyRow->addWidget(new QLabel(QStringLiteral("Текст письма:")), 1);
  auto* fields = Named(new QToolButton, "btnFields");
  fields->setText(QStringLiteral("Вставить поле"));
  fields->setToolTip(QStringLiteral(
      "Поле записи адресата в теме или тексте: у каждого адресата заменяется его текстом"));
  fields->setPopupMode(QToolButton::InstantPopup);
  auto* fieldMenu = new QMenu(fields);
  for (const QString& mark : MailFieldMarks()) {
    fieldMenu->addAction(mark, this, [this, mark] { InsertField(mark); });
  }
  fields->setMenu(fieldMenu);
  bodyRow->addWidget(fields);
  btnPreview_ = Named(new QPushButton(QStringLiteral("Просмотр")), "btnPreview");
  btnPreview_->setToolTip(QStringLiteral("Письмо текущему предприятию"));
  btnPreview_->setAutoDefault(false);
  bodyRow->addWidget(btnPreview_);
  mail->addLayout(bodyRow);
  MailBody_ = Named(new QPlainTextEdit, "MailBody");
  mail->addWidget(MailBody_, 1);
  mail->addWidget(new QLabel(QStringLiteral("Присоединить файлы из списка:")));
  auto* files = new QHBoxLayout;
  MailAttachments_ = Named(new QListWidget, "MailAttachments");
  MailAttachments_->setSortingEnabled(true);
  files->addWidget(MailAttachments_, 1);
  auto* fileButtons = new QVBoxLayout;
  btnAddFile_ = Named(new QPushButton(QStringLiteral("Добавить файл")), "btnAddFile");
  btnDeleteFile_ = Named(new QPushButton(QStringLiteral("Удалить из списка")), "btnDeleteFile");
  btnClearAttachments_ =
      Named(new QPushButton(QStringLiteral("Очистить список")), "btnClearAttachments");
  for (QPushButton* b : {btnAddFile_, btnDeleteFile_, btnClearAttachments_}) {
    b->setAutoDefault(false);
    fileButtons->addWidget(b);
  }
  fileButtons->addStretch();
  files->addLayout(fileButtons);
  mail->addLayout(files);
  pages_->addTab(tsMail_, QStringLiteral("Почта"));

  tsLog_ = Named(new QWidget, "tsLog");
  auto* log = new QVBoxLayout(tsLog_);
  reLog_ = Named(new QPlainTextEdit, "reLog");
  reLog_->setReadOnly(true);
  reLog_->setLineWrapMode(QPlainTextEdit::NoWrap);
  reLog_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  reLog_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  log->addWidget(reLog_);
  btnClearLog_ = Named(new QPushButton(QStringLiteral("Очистить журнал")), "Button1");
  btnClearLog_->setAutoDefault(false);
  log->addWidget(btnClearLog_, 0, Qt::AlignLeft);
  pages_->addTab(tsLog_, QStringLiteral("Журнал"));

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  btnSend_ = Named(new QPushButton(QStringLiteral("Отправить")), "btnSend");
  btnSend_->setDefault(true);
  btnClose_ = Named(new QPushButton(QStringLiteral("Закрыть")), "btnClose");
  btnCancel_ = Named(new QPushButton(QStringLiteral("Прервать")), "btnCancel");
  for (QPushButton* b : {btnSend_, btnClose_, btnCancel_}) buttons->addWidget(b);
  btnClose_->setAutoDefault(false);
  btnCancel_->setAutoDefault(false);
  top->addLayout(buttons);
  sbSend_ = Named(new QStatusBar(this), "sbSend");
  sbSend_->setSizeGripEnabled(false);
  top->addWidget(sbSend_);

  connect(btnSend_, &QPushButton::clicked, this, &TfrmSend::btnSendClick);
  connect(btnClose_, &QPushButton::clicked, this, &QDialog::reject);
  connect(btnCancel_, &QPushButton::clicked, this, &TfrmSend::btnCancelClick);
  connect(btnAddFile_, &QPushButton::clicked, this, &TfrmSend::btnAddFileClick);
  connect(btnDeleteFile_, &QPushButton::clicked, this, &TfrmSend::btnDeleteFileClick);
  connect(btnClearAttachments_, &QPushButton::clicked, this, &TfrmSend::btnClearAttachmentsClick);
  connect(btnDetails_, &QPushButton::toggled, this, &TfrmSend::btnDetailsClick);
  connect(btnClearLog_, &QPushButton::clicked, reLog_, &QPlainTextEdit::clear);
  connect(btnPreview_, &QPushButton::clicked, this, &TfrmSend::btnPreviewClick);
  MailSubject_->installEventFilter(this);
  MailBody_->installEventFilter(this);
  connect(MailAttachments_, &QListWidget::itemSelectionChanged, this,
          &TfrmSend::UpdateAttachmentButtons);
  connect(MailAttachments_, &QListWidget::currentItemChanged, this,
          &TfrmSend::UpdateAttachmentButtons);
  for (QLineEdit* e : {SMTPPort_, MailTimeOut_, MailPause_}) {
    e->installEventFilter(this);
    // Room for a port number, and for as many seconds, with the frame and margins.
    e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("655350")) + 16);
  }
}

void TfrmSend::ReadSettings() {
  settings_.beginGroup(QStringLiteral("Mail"));
  const auto integer = [&](const char* key, int fallback) {
    return Integer(settings_.value(QLatin1String(key)).toString()).value_or(fallback);
  };
  const auto boolean = [&](const char* key, bool fallback) {
    return settings_.value(QLatin1String(key), fallback).toBool();
  };
  const MailJob defaults;
  SMTPServer_->setText(settings_.value(QStringLiteral("Server")).toString());
  SMTPPort_->setText(QString::number(integer("ServerPort", defaults.port)));
  (boolean("PlainText", true) ? rbText_ : rbHTML_)->setChecked(true);
  const int charset = integer("CharSet", 0);
  cbCharSet_->setCurrentIndex(charset >= 0 && charset < cbCharSet_->count() ? charset : 0);
  MailTimeOut_->setText(QString::number(integer("TimeOut", defaults.timeOutSeconds)));
  MailFrom_->setText(settings_.value(QStringLiteral("Sender")).toString());
  lastDir_ = settings_.value(QStringLiteral("LastDir")).toString();
  btnDetails_->setChecked(boolean("ViewDetails", true));
  Panel8_->setVisible(btnDetails_->isChecked());
  testMode_ = boolean("TestInProgress", false);
  if (testMode_) testAddress_ = settings_.value(QStringLiteral("TestMailAddress")).toString();
  const int security = integer("Security", 0);
  cbSecurity_->setCurrentIndex(security >= 0 && security < cbSecurity_->count() ? security : 0);
  MailUser_->setText(settings_.value(QStringLiteral("User")).toString());
  MailPause_->setText(QString::number(std::max(0, integer("Pause", 0))));
  settings_.endGroup();
}

// Booleans as 1 and 0, as the settings file has always held them.
void TfrmSend::WriteSettings() {
  settings_.beginGroup(QStringLiteral("Mail"));
  settings_.setValue(QStringLiteral("Server"), SMTPServer_->text());
  settings_.setValue(QStringLiteral("ServerPort"), SMTPPort_->text());
  settings_.setValue(QStringLiteral("PlainText"), rbText_->isChecked() ? 1 : 0);
  settings_.setValue(QStringLiteral("CharSet"), cbCharSet_->currentIndex());
  settings_.setValue(QStringLiteral("TimeOut"), MailTimeOut_->text());
  settings_.setValue(QStringLiteral("Sender"), MailFrom_->text());
  settings_.setValue(QStringLiteral("LastDir"), lastDir_);
  settings_.setValue(QStringLiteral("ViewDetails"), btnDetails_->isChecked() ? 1 : 0);
  settings_.setValue(QStringLiteral("TestMailAddress"), testMode_ ? testAddress_ : QString());
  settings_.setValue(QStringLiteral("Security"), cbSecurity_->currentIndex());
  settings_.setValue(QStringLiteral("User"), MailUser_->text());
  settings_.setValue(QStringLiteral("Pause"), MailPause_->text());
  settings_.endGroup();
  settings_.sync();
}

void TfrmSend::SetRecipients(const QString& text, std::int32_t current) {
  recipients_ = ParseRecordListText(text.toStdString());
  current_ = current;
}

void TfrmSend::ClearLog() { reLog_->clear(); }

void TfrmSend::ShowMailPage() { pages_->setCurrentWidget(tsMail_); }

bool TfrmSend::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) sbSend_->clearMessage();
  return QDialog::event(event);
}

void TfrmSend::Report(const QString& text, bool box, bool log) {
  if (log) reLog_->appendPlainText(text);
  if (box) {
    prompts_->titledBox(this, windowTitle(), text);
  } else {
    sbSend_->showMessage(text);
  }
  Logger().Log(("SendMail: " + text).toStdString());
}

void TfrmSend::Finished() {
  prompts_->titledInform(this, QStringLiteral("Почтовая рассылка"),
                         QStringLiteral("Рассылка закончена"));
}

void TfrmSend::SetSending(bool sending) {
  sending_ = sending;
  btnSend_->setEnabled(!sending);
  btnClose_->setVisible(!sending);
  btnCancel_->setVisible(sending);
}

// Only leaving the field is checked: the window losing the focus to a box (the check's own box
// among them) is not, so one mistake shows one box.
bool TfrmSend::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn && (watched == MailSubject_ || watched == MailBody_)) {
    lastText_ = static_cast<QWidget*>(watched);
  }
  if (event->type() == QEvent::FocusOut && !checkingField_) {
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    const std::pair<QLineEdit*, const QString*> digitFields[] = {
        {SMTPPort_, &kPortDigits}, {MailTimeOut_, &kTimeOutDigits}, {MailPause_, &kPauseDigits}};
    QLineEdit* edit = nullptr;
    const QString* message = nullptr;
    for (const auto& [field, text] : digitFields) {
      if (watched == field) {
        edit = field;
        message = text;
      }
    }
    if (edit && !Integer(edit->text()) && !sending_ && reason != Qt::ActiveWindowFocusReason &&
        reason != Qt::PopupFocusReason) {
      checkingField_ = true;
      Report(*message, true, false);
      checkingField_ = false;
      QTimer::singleShot(0, edit, [edit] { edit->setFocus(); });
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TfrmSend::reject() {
  if (sending_) {
    btnCancelClick();
    return;
  }
  QDialog::reject();
}

std::optional<MailJob> TfrmSend::JobFromControls() {
  MailJob job;
  const auto port = Integer(SMTPPort_->text());
  if (!port || *port < 0 || *port > 65535) {
    Report(kPortDigits, true, false);
    return std::nullopt;
  }
  const auto timeOut = Integer(MailTimeOut_->text());
  if (!timeOut || *timeOut < 0 || *timeOut > kMaxTimeOutSeconds) {
    Report(kTimeOutDigits, true, false);
    return std::nullopt;
  }
  const auto pause = Integer(MailPause_->text());
  if (!pause || *pause < 0 || *pause > kMaxPauseSeconds) {
    Report(kPauseDigits, true, false);
    return std::nullopt;
  }
  job.server = SMTPServer_->text();
  job.port = static_cast<quint16>(*port);
  job.timeOutSeconds = *timeOut;
  job.pauseSeconds = *pause;
  job.from = MailFrom_->text();
  job.subject = MailSubject_->text();
  const QString body = MailBody_->toPlainText();
  if (!body.isEmpty()) job.bodyLines = body.split(u'\n');
  job.html = rbHTML_->isChecked();
  job.charset = cbCharSet_->currentText();
  for (int i = 0; i < MailAttachments_->count(); ++i) {
    job.attachments.append(MailAttachments_->item(i)->text());
  }
  job.testMode = testMode_;
  job.testAddress = testAddress_;
  job.security = static_cast<MailSecurity>(cbSecurity_->currentIndex());
  job.user = MailUser_->text();
  passwordStored_ = false;
  if (!job.user.isEmpty() && job.security != MailSecurity::None) {
    const auto stored = StoredPassword(job.server, job.user);
    passwordStored_ = stored.has_value();
    job.password = stored ? *stored
                          : prompts_->password(this, QStringLiteral("Вход на почтовый сервер"),
                                               QStringLiteral("Пароль для %1:").arg(job.user));
  }
  const JobProblem problem = CheckJob(job);
  if (problem.kind != JobProblem::None) {
    Report(problem.text, true, true);
    return std::nullopt;
  }
  return job;
}

void TfrmSend::btnSendClick() {
  if (sending_) return;
  pages_->setCurrentWidget(tsLog_);
  SetSending(true);
  const auto job = JobFromControls();
  if (!job) {
    SetSending(false);
    return;
  }
  MailRun run(dm_, *this);
  run_ = &run;
  const RunResult result = run.Run(*job, recipients_);
  run_ = nullptr;
  if (!job->user.isEmpty() && job->security != MailSecurity::None) {
    if (result.established && !passwordStored_)
      StorePassword(job->server, job->user, job->password);
    if (result.loginRefused && passwordStored_) ForgetPassword(job->server, job->user);
  }
  SetSending(false);
  if (!result.unsent.empty()) OfferUnsent(result.unsent);
}

void TfrmSend::OfferUnsent(const RecordList& unsent) {
  if (!openUnsent_) return;
  const QString question =
      QStringLiteral("Не отправлено писем: %1. Открыть этих адресатов новым списком ?")
          .arg(unsent.size());
  if (!prompts_->ask(this, question)) return;
  openUnsent_(
      unsent,
      QStringLiteral("Не отправлено (%1)")
          .arg(QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"))));
}

// At the cursor of the subject or the text, whichever had the focus last.
void TfrmSend::InsertField(const QString& mark) {
  if (lastText_ == MailBody_) {
    MailBody_->insertPlainText(mark);
  } else {
    MailSubject_->insert(mark);
  }
  lastText_->setFocus();
}

void TfrmSend::btnPreviewClick() {
  const std::int32_t record =
      current_ >= 0 ? current_ : (recipients_.empty() ? -1 : recipients_.front());
  if (record < 0) return;
  const QString body = MailBody_->toPlainText();
  const MailTexts texts(MailSubject_->text(), body.isEmpty() ? QStringList() : body.split(u'\n'));
  QDialog preview(this);
  preview.setObjectName(QStringLiteral("frmPreview"));
  preview.setWindowTitle(QStringLiteral("Просмотр письма"));
  auto* column = new QVBoxLayout(&preview);
  auto* text = Named(new QPlainTextEdit(MailPreview(dm_, texts, record)), "mPreview");
  text->setReadOnly(true);
  column->addWidget(text);
  auto* close = new QPushButton(QStringLiteral("Закрыть"));
  connect(close, &QPushButton::clicked, &preview, &QDialog::accept);
  column->addWidget(close, 0, Qt::AlignRight);
  preview.resize(560, 420);
  prompts_->runModal(preview);
}

void TfrmSend::btnCancelClick() {
  if (!sending_ || !prompts_->ask(this, QStringLiteral("Прервать рассылку почты ?"))) return;
  if (run_) run_->Cancel();
  SetSending(false);
}

void TfrmSend::btnAddFileClick() {
  const QStringList chosen =
      prompts_->chooseFiles(this, QStringLiteral("Присоединить файл(ы)"), lastDir_);
  if (chosen.isEmpty()) return;
  QStringList items = chosen;
  for (int i = 0; i < MailAttachments_->count(); ++i)
    items.append(MailAttachments_->item(i)->text());
  MailAttachments_->clear();
  MailAttachments_->addItems(items);
  UpdateAttachmentButtons();
}

void TfrmSend::btnDeleteFileClick() {
  delete MailAttachments_->currentItem();
  UpdateAttachmentButtons();
}

void TfrmSend::btnClearAttachmentsClick() {
  MailAttachments_->clear();
  UpdateAttachmentButtons();
}

void TfrmSend::UpdateAttachmentButtons() {
  const bool any = MailAttachments_->count() > 0;
  btnClearAttachments_->setEnabled(any);
  btnDeleteFile_->setEnabled(any && MailAttachments_->currentItem() != nullptr);
}

// Shown details get the room they need, however narrow the dialog opened without them.
void TfrmSend::btnDetailsClick(bool down) {
  Panel8_->setVisible(down);
  if (!down || !isVisible()) return;
  layout()->activate();
  resize(size().expandedTo(sizeHint()));
}

void SendMail(QWidget* parent, const Tdm& dm, const QString& recipients, std::int32_t current,
              std::shared_ptr<UserPrompts> prompts, OpenUnsentFn openUnsent) {
  Logger().Log("SendMail: checking send form.");
  try {
    QSettings settings;
    TfrmSend form(dm, settings, prompts, std::move(openUnsent), parent);
    form.SetRecipients(recipients, current);
    form.ClearLog();
    form.ShowMailPage();
    Logger().Log("SendMail: displaying send form.");
    prompts->runModal(form);
    Logger().Log("SendMail: completed.");
  } catch (const std::exception& e) {
    prompts->tell(parent, MessageIcon::Critical,
                  QStringLiteral("\n\nОшибка создания формы отправки почты:\n\n<") +
                      QString::fromStdString(e.what()) + u'>');
  }
}

}  // namespace zorel
