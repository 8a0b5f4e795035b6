// What the widget tests of the shell share: a base written into a temporary folder with its
// data module, prompts answered by the test, a main window shown over the base, and a main()
// that runs the tests under the program's own application object (so exceptions reaching the
// event loop are caught and recorded instead of shown).
#pragma once

#include <QAction>
#include <QMdiSubWindow>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "components/user_prompts.h"
#include "data/data_module.h"
#include "shell/application.h"
#include "shell/child_window.h"
#include "shell/main_window.h"
#include "support/sample_base.h"
#include "support/temp_dir.h"

namespace zorel::test_support {

// Messages the exception handler would have shown.
inline QStringList& ShownExceptions() {
  static QStringList shown;
  return shown;
}

// The sample base, or n plain enterprises named "Предприятие <i>".
inline BaseSource NumberedBase(int n) {
  BaseSource b = SampleBase();
  b.enterprises.clear();
  for (int i = 0; i < n; ++i) {
    EnterpriseSource e;
    e.name = W("Предприятие ") + std::to_string(i);
    e.orgForm = static_cast<std::int8_t>(1 + i % 4);
    e.year = static_cast<std::int16_t>(1900 + i % 100);
    e.staff = i;
    b.enterprises.push_back(e);
  }
  return b;
}

class GuiBase {
 public:
  explicit GuiBase(const BaseSource& source = SampleBase()) {
    WriteDatabase(dir_ / "db", source);
    std::filesystem::create_directories(dir_.path() / "lists");
    Open();
  }
  Tdm& dm() { return *dm_; }
  const TempDir& dir() const { return dir_; }
  std::string DbDir() const { return dir_ / "db"; }
  QString ListPath(const QString& name) const {
    return QString::fromStdString(dir_ / ("lists/" + name.toStdString()));
  }
  // Closes the data module (the remark store compacts its file) and opens it again.
  void Reopen() {
    dm_.reset();
    Open();
  }
  void Close() { dm_.reset(); }

 private:
  void Open() { dm_ = std::make_unique<Tdm>(dir_ / "db"); }
  TempDir dir_;
  std::unique_ptr<Tdm> dm_;
};

// Answers for the prompts and a record of what was asked.
struct PromptLog {
  bool answerYes = false;
  QString fileToOpen;
  QString fileToSave;
  QStringList questions;
  QStringList informations;
  QStringList openDirs;
  QStringList saveDirs;
  QStringList saveNames;
};

inline std::shared_ptr<UserPrompts> ScriptedPrompts(const std::shared_ptr<PromptLog>& log) {
  auto p = std::make_shared<UserPrompts>();
  p->confirm = [log](QWidget*, const QString& q) {
    log->questions.append(q);
    return log->answerYes;
  };
  p->inform = [log](QWidget*, const QString& text) { log->informations.append(text); };
  p->chooseListToOpen = [log](QWidget*, const QString& dir) {
    log->openDirs.append(dir);
    return log->fileToOpen;
  };
  p->chooseListToSave = [log](QWidget*, const QString& dir, const QString& name) {
    log->saveDirs.append(dir);
    log->saveNames.append(name);
    return log->fileToSave;
  };
  p->chooseFileToSave = [log](QWidget*, const QString&, const QString& path, const QString&) {
    log->saveNames.append(path);
    return log->fileToSave;
  };
  return p;
}

// A main window shown over a base, with its first (whole-base) list window open. Closing it
// closes every list window; modified ones are answered No unless the test says otherwise.
class Shell {
 public:
  explicit Shell(const BaseSource& source = SampleBase()) : base(source) {
    form = std::make_unique<TMainForm>(base.dm(), QStringLiteral("Зорель 2003"));
    form->SetPrompts(ScriptedPrompts(log));
    form->resize(1000, 700);
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get())) throw std::runtime_error("not exposed");
    if (!QTest::qWaitFor([this] { return form->ListWindows().size() == 1; })) {
      throw std::runtime_error("no first list window");
    }
  }
  ~Shell() {
    if (form) form->close();
  }
  TMDIChild* Active() const { return form->ActiveChild(); }
  QAction* Action(const char* name) const {
    return form->findChild<QAction*>(QString::fromLatin1(name));
  }
  void CloseForm() {
    form->close();
    form.reset();
  }
  // The application's idle moment, as the event dispatcher reports it.
  void Idle() const { form->ProcessOnIdle(); }

  GuiBase base;
  std::shared_ptr<PromptLog> log = std::make_shared<PromptLog>();
  std::unique_ptr<TMainForm> form;
};

template <class T>
T* Find(QWidget* parent, const char* name) {
  return parent->findChild<T*>(QString::fromLatin1(name));
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace zorel::test_support

#define ZOREL_GUI_TEST_MAIN(TestObject)                                                          \
  int main(int argc, char** argv) {                                                              \
    zorel::Application app(argc, argv);                                                          \
    app.SetExceptionView(                                                                        \
        [](const QString& message) { zorel::test_support::ShownExceptions().append(message); }); \
    TestObject test;                                                                             \
    return QTest::qExec(&test, argc, argv);                                                      \
  }
