// The program's start-up order: the about box as splash screen with its loading messages, the
// data module (which opens the database and adds the base's edition to the title), the main
// window, then the help file. The caller shows the main window and runs the event loop.
#pragma once

#include <QString>
#include <memory>

#include "shell/start_options.h"

namespace zorel {

class Tdm;
class Application;
class TMainForm;

struct Program {
  Program();
  ~Program();  // the main window goes first, then the data module closes the base
  std::unique_ptr<Tdm> dm;
  std::unique_ptr<TMainForm> mainForm;
};

// Null, with the data module's message in error, when the database cannot be opened.
std::unique_ptr<Program> StartProgram(Application& app, const StartOptions& options,
                                      QString* error);

}  // namespace zorel
