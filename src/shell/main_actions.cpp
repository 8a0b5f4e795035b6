#include "shell/main_actions.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "components/hints.h"

namespace zorel {
namespace {

QAction* Item(QMainWindow* window, QMenu* menu, const char* name, const QString& caption,
              const QKeySequence& shortcut = {}, const QString& hint = {}) {
  auto* action = new QAction(caption, window);
  action->setObjectName(QString::fromLatin1(name));
  action->setShortcut(shortcut);
  // Shortcuts work wherever the focus is inside the main window, list windows included.
  action->setShortcutContext(Qt::WindowShortcut);
  if (!hint.isEmpty()) ApplyHint(action, hint);
  if (menu != nullptr) {
    menu->addAction(action);
  } else {
    window->addAction(action);
  }
  return action;
}

QMenu* Menu(QMainWindow* window, const char* name, const QString& caption) {
  QMenu* menu = window->menuBar()->addMenu(caption);
  menu->setObjectName(QString::fromLatin1(name));
  return menu;
}

}  // namespace

MainActions BuildMainMenu(QMainWindow* w) {
  MainActions a{};
  QMenu* file1 = Menu(w, "File1", QStringLiteral("&База"));
  a.FileNewItem = Item(w, file1, "FileNewItem", QStringLiteral("&Вся база"), Qt::CTRL | Qt::Key_N,
                       QStringLiteral("Открыть новое окно со всех базой"));
  a.FileOpenItem = Item(w, file1, "FileOpenItem", QStringLiteral("&Открыть список"),
                        Qt::CTRL | Qt::Key_O, QStringLiteral("Открыть список из файла"));
  a.FileCloseItem = Item(w, file1, "FileCloseItem", QStringLiteral("&Закрыть список"), {},
                         QStringLiteral("Закрыть текущее окно"));
  a.FileSaveItem = Item(w, file1, "FileSaveItem", QStringLiteral("&Сохранить список"),
                        Qt::CTRL | Qt::Key_S, QStringLiteral("Сохранить текущий список"));
  a.FileSaveAsItem = Item(w, file1, "FileSaveAsItem", QStringLiteral("Сохранить список &как ..."),
                          {}, QStringLiteral("Сохранить текущий список в файле с другим именем"));
  file1->addSeparator();
  a.FileAppendItem = Item(w, file1, "FileAppendItem", QStringLiteral("Прибавить список"), {},
                          QStringLiteral("Дополнить список из файла списка"));
  a.FileSubItem = Item(w, file1, "FileSubItem", QStringLiteral("Отнять список"), {},
                       QStringLiteral("Удалить из списка записи, содержащиеся в файле списка"));
  file1->addSeparator();
  a.FileExportItem = Item(w, file1, "FileExportItem", QStringLiteral("Экспорт списка ..."), {},
                          QStringLiteral("Записать текущий список в файл для электронных таблиц"));
  a.FileSummaryItem = Item(w, file1, "FileSummaryItem", QStringLiteral("Сводка по списку"), {},
                           QStringLiteral("Как распределяются предприятия текущего списка"));
  file1->addSeparator();
  a.FileExitItem = Item(w, file1, "FileExitItem", QStringLiteral("В&ыход"), {},
                        QStringLiteral("Завершить работу программы"));

  QMenu* edit1 = Menu(w, "Edit1", QStringLiteral("&Запись"));
  a.CutItem = Item(w, edit1, "CutItem", QStringLiteral("&Удалить "), Qt::SHIFT | Qt::Key_Delete,
                   QStringLiteral("Удалить текущую запись из списка"));
  a.CopyItem = Item(w, edit1, "CopyItem", QStringLiteral("&Копировать"), Qt::CTRL | Qt::Key_Insert,
                    QStringLiteral("Запомнить текущую запись для вставки в другой список"));
  a.PasteItem = Item(w, edit1, "PasteItem", QStringLiteral("&Вставить"), Qt::SHIFT | Qt::Key_Insert,
                     QStringLiteral("Вставить запомненную запись в текущий список"));

  QMenu* n3 = Menu(w, "N3", QStringLiteral("&Поиск"));
  a.MISearch1 = Item(w, n3, "MISearch1", QStringLiteral("По реквизитам"), Qt::Key_F5,
                     QStringLiteral("Поиск предприятий по реквизитам"));
  a.MISearch2 = Item(w, n3, "MISearch2", QStringLiteral("По продукции"), Qt::CTRL | Qt::Key_F5,
                     QStringLiteral("Поиск предприятий по выпускаемой продукции"));
  a.MISearch3 = Item(w, n3, "MISearch3", QStringLiteral("По отраслям"), Qt::SHIFT | Qt::Key_F5,
                     QStringLiteral("Поиск предприятий по отраслям"));

  QMenu* n8 = Menu(w, "N8", QStringLiteral("Сервис"));
  a.SendSingle = Item(w, n8, "SendSingle", QStringLiteral("Почта по адресу"), Qt::Key_F7,
                      QStringLiteral("|Послать почту по текущему адресу"));
  a.SendList = Item(w, n8, "SendList", QStringLiteral("Почта по списку"), Qt::SHIFT | Qt::Key_F7,
                    QStringLiteral("Послать почту по всем адресам из текущего списка"));
  a.SendSingle->setEnabled(false);
  a.SendList->setEnabled(false);

  QMenu* n7 = Menu(w, "N7", QStringLiteral("П&араметры"));
  a.ParamHint = Item(w, nullptr, "ParamHint", QStringLiteral("Полные имена"), Qt::CTRL | Qt::Key_H,
                     QStringLiteral("Отображение подсказок для длинных наименований"));
  a.ParamInfo = Item(w, n7, "ParamInfo", QStringLiteral("Реквизиты"), Qt::CTRL | Qt::Key_A,
                     QStringLiteral("Отображение панели с реквизитами предприятия"));
  a.ParamItem = Item(w, n7, "ParamItem", QStringLiteral("Продукция"), Qt::CTRL | Qt::Key_B,
                     QStringLiteral("Отображение панели с информацией о продукции"));
  a.ParamReklama = Item(w, n7, "ParamReklama", QStringLiteral("Реклама"), {},
                        QStringLiteral("Отображение панели с рекламой"));
  a.ParamReklama->setVisible(false);
  for (QAction* option : {a.ParamHint, a.ParamInfo, a.ParamItem, a.ParamReklama}) {
    option->setCheckable(true);
    option->setChecked(true);
  }

  QMenu* n10 = Menu(w, "N10", QStringLiteral("Пе&чать"));
  a.FilePrinterSetup = Item(w, n10, "FilePrinterSetup", QStringLiteral("Установки принтера"), {},
                            QStringLiteral("Выбор и настройка принтера"));
  a.FileFormEdit = Item(w, n10, "FileFormEdit", QStringLiteral("Редактор форм"),
                        Qt::CTRL | Qt::Key_E, QStringLiteral("Редактор форм для печати списков"));
  a.FilePrint = Item(w, n10, "FilePrint", QStringLiteral("Печать ..."));

  a.WindowMenu = Menu(w, "Window1", QStringLiteral("&Окно"));
  a.WindowCascadeItem =
      Item(w, a.WindowMenu, "WindowCascadeItem", QStringLiteral("&Друг за другом"), {},
           QStringLiteral("Расположить окна друг за другом"));
  a.WindowTileItem = Item(w, a.WindowMenu, "WindowTileItem", QStringLiteral("&Все видимы"), {},
                          QStringLiteral("Расположить окна так, чтобы все были видны"));
  a.WindowArrangeItem =
      Item(w, a.WindowMenu, "WindowArrangeItem", QStringLiteral("В&ыравнять иконки"), {},
           QStringLiteral("Выровнять значки свёрнутых окон"));
  a.WindowMinimizeItem =
      Item(w, a.WindowMenu, "WindowMinimizeItem", QStringLiteral("&Свернуть все"), {},
           QStringLiteral("Свернуть все окна"));

  QMenu* help1 = Menu(w, "Help1", QStringLiteral("&Помощь"));
  a.HelpContents = Item(w, help1, "N5", QStringLiteral("Справка"), {},
                        QStringLiteral("Открыть оглавление справки"));
  help1->addSeparator();
  a.HelpAboutItem = Item(w, help1, "HelpAboutItem", QStringLiteral("&О программе"), {},
                         QStringLiteral("Сведения о программе"));
  return a;
}

}  // namespace zorel
