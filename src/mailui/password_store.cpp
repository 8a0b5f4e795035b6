#include "mailui/password_store.h"

#ifdef ZOREL_KEYCHAIN
#include <qt6keychain/keychain.h>

#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#endif

namespace zorel {

#ifdef ZOREL_KEYCHAIN
namespace {

const QString kService = QStringLiteral("Зорель: почтовый сервер");
constexpr int kStoreWaitMs = 10000;  // a store that does not answer is treated as none

QString KeyOf(const QString& server, const QString& user) { return user + u'@' + server; }

// Runs the job to its end; false when it failed or the store did not answer in time.
bool Finish(QKeychain::Job* job) {
  QPointer<QKeychain::Job> guard(job);
  QEventLoop loop;
  bool ok = false;
  QObject::connect(job, &QKeychain::Job::finished, &loop, [&](QKeychain::Job* done) {
    ok = done->error() == QKeychain::NoError;
    loop.quit();
  });
  QTimer::singleShot(kStoreWaitMs, &loop, &QEventLoop::quit);
  job->start();
  loop.exec();
  if (guard) QObject::disconnect(guard, nullptr, &loop, nullptr);
  return ok;
}

}  // namespace

std::optional<QString> StoredPassword(const QString& server, const QString& user) {
  auto* job = new QKeychain::ReadPasswordJob(kService);
  job->setKey(KeyOf(server, user));
  QString password;
  QObject::connect(job, &QKeychain::Job::finished, job, [&password](QKeychain::Job* done) {
    password = static_cast<QKeychain::ReadPasswordJob*>(done)->textData();
  });
  if (!Finish(job) || password.isEmpty()) return std::nullopt;
  return password;
}

void StorePassword(const QString& server, const QString& user, const QString& password) {
  auto* job = new QKeychain::WritePasswordJob(kService);
  job->setKey(KeyOf(server, user));
  job->setTextData(password);
  Finish(job);
}

void ForgetPassword(const QString& server, const QString& user) {
  auto* job = new QKeychain::DeletePasswordJob(kService);
  job->setKey(KeyOf(server, user));
  Finish(job);
}

#else

std::optional<QString> StoredPassword(const QString&, const QString&) { return std::nullopt; }
void StorePassword(const QString&, const QString&, const QString&) {}
void ForgetPassword(const QString&, const QString&) {}

#endif

}  // namespace zorel
