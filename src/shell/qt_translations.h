// Qt's own Russian texts for the stock dialogs and buttons (file dialogs, message box buttons,
// context menus of edit fields), read from Qt's translations folder.
#pragma once

class QCoreApplication;

namespace zorel {

// Installs the translator for "qtbase_ru" on app; false when the file cannot be read (the stock
// texts then stay English).
bool LoadQtTranslations(QCoreApplication& app);

}  // namespace zorel
