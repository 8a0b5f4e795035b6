// The desktop program: zorel [/debug] [--db DIR]. A database that cannot be opened ends the
// program with its message and exit code 1; a bad command line ends it with exit code 2.
#include <QFileInfo>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>

#include "data/logger.h"
#include "shell/application.h"
#include "shell/main_window.h"
#include "shell/program_start.h"

int main(int argc, char** argv) {
  zorel::StartLogging(argc, argv);
  zorel::Application app(argc, argv);
  const QString exeName = QFileInfo(QString::fromLocal8Bit(argv[0])).completeBaseName();
  // Settings live in <configuration folder>/<exe>/<exe>.ini; a default-constructed QSettings
  // reaches them.
  QSettings::setDefaultFormat(QSettings::IniFormat);
  QCoreApplication::setOrganizationName(exeName);
  QCoreApplication::setApplicationName(exeName);
  app.SetTitle(QStringLiteral("Зорель"));

  QString error;
  const auto options = zorel::ParseStartOptions(app.arguments().mid(1), &error);
  if (!options) {
    QMessageBox::critical(nullptr, app.Title(), error);
    return 2;
  }
  const auto program = zorel::StartProgram(app, *options, &error);
  if (!program) {
    QMessageBox::critical(nullptr, app.Title(), error);
    return 1;
  }
  // Without a window manager "maximized" means nothing: fill the screen's free area first.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    program->mainForm->setGeometry(screen->availableGeometry());
  }
  program->mainForm->showMaximized();
  return app.exec();
}
