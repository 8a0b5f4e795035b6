// TfrmSend ("Рассылка почты"): one message, subject, text and attachments, sent separately to
// every record of a list over one SMTP connection, with a log of what happened. Settings of
// section "Mail" are read on creation and written on destruction. Every reported line also
// goes to the diagnostic log as "SendMail: " + text.
#pragma once

#include <QDialog>
#include <QSettings>
#include <functional>
#include <memory>

#include "data/record_list.h"
#include "mail/mail_run.h"

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QTabWidget;
class QWidget;

namespace zorel {

class Tdm;
struct UserPrompts;

// Opens the recipients that were not sent as a new list window with the given caption.
using OpenUnsentFn = std::function<void(RecordList records, const QString& caption)>;

class TfrmSend : public QDialog, private MailReporter {
  Q_OBJECT

 public:
  TfrmSend(const Tdm& dm, QSettings& settings, std::shared_ptr<UserPrompts> prompts,
           OpenUnsentFn openUnsent, QWidget* parent = nullptr);
  ~TfrmSend() override;

  // One decimal record number per line; current is the enterprise the preview shows (-1: the
  // first recipient).
  void SetRecipients(const QString& text, std::int32_t current = -1);
  void ClearLog();
  void ShowMailPage();
  bool Sending() const { return sending_; }

  void Report(const QString& text, bool box, bool log) override;

 protected:
  bool event(QEvent* event) override;  // each activation empties the status bar
  void reject() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private slots:
  void btnSendClick();
  void btnCancelClick();
  void btnAddFileClick();
  void btnDeleteFileClick();
  void btnClearAttachmentsClick();
  void btnDetailsClick(bool down);
  void btnPreviewClick();

 private:
  void BuildControls();
  void ReadSettings();
  void WriteSettings();
  void SetSending(bool sending);
  void UpdateAttachmentButtons();
  void Finished() override;
  // The job from the controls, or nothing after reporting why not.
  std::optional<MailJob> JobFromControls();
  void OfferUnsent(const RecordList& unsent);
  void InsertField(const QString& mark);

  const Tdm& dm_;
  QSettings& settings_;
  std::shared_ptr<UserPrompts> prompts_;
  OpenUnsentFn openUnsent_;
  RecordList recipients_;
  std::int32_t current_ = -1;
  bool sending_ = false;
  bool testMode_ = false;
  QString testAddress_;
  QString lastDir_;
  bool passwordStored_ = false;  // this run's password came from the secret store
  bool checkingField_ = false;   // a field's check is showing its box
  MailRun* run_ = nullptr;

  QTabWidget* pages_;
  QWidget *tsMail_, *tsLog_, *Panel8_;
  QLineEdit *SMTPServer_, *SMTPPort_, *MailTimeOut_, *MailFrom_, *MailSubject_, *MailUser_,
      *MailPause_;
  QRadioButton *rbText_, *rbHTML_;
  QComboBox *cbCharSet_, *cbSecurity_;
  QPushButton *btnDetails_, *btnAddFile_, *btnDeleteFile_, *btnClearAttachments_;
  QPlainTextEdit* MailBody_;
  QWidget* lastText_;  // the subject or the text, whichever had the focus last
  QPushButton* btnPreview_;
  QListWidget* MailAttachments_;
  QPlainTextEdit* reLog_;
  QPushButton *btnSend_, *btnClose_, *btnCancel_, *btnClearLog_;
  QStatusBar* sbSend_;
};

// The entry of the main window's two mail commands: shows the dialog modally for the records
// and destroys it afterwards. A failure to create or show it is told in an error box.
void SendMail(QWidget* parent, const Tdm& dm, const QString& recipients, std::int32_t current,
              std::shared_ptr<UserPrompts> prompts, OpenUnsentFn openUnsent);

}  // namespace zorel
