#include "shell/program_start.h"

#include <QTimer>

#include "components/user_prompts.h"
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
  splash->ShowSplash();

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

  splash->SetSplashMessage(QString());
  splash.reset();

  program->mainForm->SetHelpFile(ChooseHelpFile());
  // What the base cannot serve is said once, when the window is up.
  TMainForm* form = program->mainForm.get();
  Tdm* dm = program->dm.get();
  QTimer::singleShot(0, form, [form, dm] {
    for (const std::string& notice : dm->TakeNotices()) {
      form->Prompts()->inform(form, QString::fromStdString(notice));
    }
  });
  return program;
}

}  // namespace zorel
