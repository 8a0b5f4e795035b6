// The login's password in the desktop's secret store, when the program was built with one and a
// store answers; otherwise nothing is kept and the dialog asks for it on each run. The password
// never goes into the settings file.
#pragma once

#include <QString>
#include <optional>

namespace zorel {

std::optional<QString> StoredPassword(const QString& server, const QString& user);
void StorePassword(const QString& server, const QString& user, const QString& password);
void ForgetPassword(const QString& server, const QString& user);

}  // namespace zorel
