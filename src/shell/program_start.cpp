#include "shell/program_start.h"

#include <QThread>

#include "data/data_module.h"
#include "shell/about_box.h"
#include "shell/application.h"
#include "shell/main_window.h"

namespace zorel {

Program::Program() = default;

Program::~Program() {
  mainForm.reset();
  dm.reset();
}

std::unique_ptr<Program> StartProgram(Application& app, const StartOptions& options,
                                      QString* error) {
  app.SetTitle(QStringLiteral("Зорель"));
  auto splash = std::make_unique<TAboutBox>(app.Title(), 0);
  splash->SetSplashMessage(QStringLiteral("Загрузка базовой библиотеки ..."));
  splash->HideOkButton();
  splash->show();
  // The event loop is not running yet: let the window system put the splash on the screen.
  QCoreApplication::processEvents();
  splash->repaint();

  auto program = std::make_unique<Program>();
  try {
    program->dm = std::make_unique<Tdm>(options.dbDir.toStdString());
  } catch (const std::exception& e) {
    if (error != nullptr) *error = QString::fromStdString(e.what());
    return nullptr;
  }
  app.SetTitle(QString::fromStdString(program->dm->TitleWithEdition(app.Title().toStdString())));
  splash->repaint();

  splash->SetSplashMessage(QStringLiteral("Загрузка программы ..."));
  app.SetHintPause(100);
  app.SetHintHidePause(999999999);

  splash->SetSplashMessage(QStringLiteral("Загрузка главной формы ..."));
  program->mainForm = std::make_unique<TMainForm>(*program->dm, app.Title());

  splash->SetSplashMessage(QStringLiteral("Загрузка дополнительных систем ..."));
  QThread::msleep(100);

  splash->SetSplashMessage(QString());
  splash.reset();

  program->mainForm->SetHelpFile(ChooseHelpFile());
  return program;
}

}  // namespace zorel
