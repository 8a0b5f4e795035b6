// An SMTP peer on loopback inside the test process, playing a script of lines: "S:text" is
// sent, "C:text" must be the client's next line, "C:<data>" takes the message up to the "."
// line. "S:<close>" drops the connection, "S:<silent>" stops answering, "S:<stop-reading>"
// stops reading what the client sends, "S:<call>" calls OnCall (a user's action while the
// client waits), "S:<pause N>" waits N milliseconds. A new connection gets the script from where
// it stands. It runs while the client under test waits, since those waits run the event loop.
#pragma once

#include <QByteArray>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <functional>

namespace zorel::test_support {

class ScriptedServer : public QObject {
 public:
  explicit ScriptedServer(const QStringList& script) : script_(script) {
    server_.listen(QHostAddress::LocalHost);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
      peer_ = server_.nextPendingConnection();
      input_.clear();
      inData_ = silent_ = false;
      connect(peer_, &QTcpSocket::readyRead, this, &ScriptedServer::Read);
      Play();
    });
  }
  std::function<void()> OnCall;
  quint16 Port() const { return server_.serverPort(); }
  // What did not go by the script: empty when the client said exactly the expected lines.
  const QString& Mismatch() const { return mismatch_; }
  // The bytes of each message between DATA and ".", as sent (dot-stuffed).
  const QList<QByteArray>& Messages() const { return messages_; }
  bool Finished() const { return at_ >= script_.size(); }

 private:
  void Play() {
    while (at_ < script_.size() && script_[at_].startsWith(u"S:")) {
      const QString line = script_[at_++].mid(2);
      if (line == u"<close>") {
        peer_->disconnectFromHost();
        return;
      }
      if (line == u"<silent>") {
        silent_ = true;
        return;
      }
      if (line == u"<stop-reading>") {
        reading_ = false;
        peer_->setReadBufferSize(1);
        return;
      }
      if (line.startsWith(u"<pause ")) {
        QTimer::singleShot(line.mid(7).chopped(1).toInt(), this, &ScriptedServer::Play);
        return;
      }
      if (line == u"<call>") {
        if (OnCall) OnCall();
        continue;
      }
      peer_->write(line.toUtf8() + "\r\n");
    }
  }

  void Read() {
    if (!reading_) return;
    input_ += peer_->readAll();
    for (qsizetype lf; (lf = input_.indexOf('\n')) >= 0;) {
      const QByteArray line = input_.left(lf + 1);
      input_.remove(0, lf + 1);
      if (silent_) continue;
      if (inData_) {
        if (line == ".\r\n") {
          inData_ = false;
          Play();
        } else {
          messages_.back() += line;
        }
        continue;
      }
      const QString expected = at_ < script_.size() ? script_[at_] : QStringLiteral("<end>");
      ++at_;
      if (expected == u"C:<data>") {
        inData_ = true;
        messages_.append(line);
        if (line == ".\r\n") {
          messages_.back().clear();
          inData_ = false;
          Play();
        }
        continue;
      }
      const QString got = QString::fromUtf8(line.chopped(line.endsWith("\r\n") ? 2 : 1));
      if (expected != QStringLiteral("C:") + got && mismatch_.isEmpty()) {
        mismatch_ = QStringLiteral("expected %1, got C:%2").arg(expected, got);
      }
      Play();
    }
  }

  QTcpServer server_;
  QTcpSocket* peer_ = nullptr;
  QStringList script_;
  qsizetype at_ = 0;
  QByteArray input_;
  QList<QByteArray> messages_;
  QString mismatch_;
  bool inData_ = false, silent_ = false, reading_ = true;
};

// A loopback port that nothing listens on any more.
inline quint16 ClosedPort() {
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost);
  return probe.serverPort();
}

}  // namespace zorel::test_support
