#include "shell/program_icon.h"

namespace zorel {

QIcon ProgramIcon() { return QIcon(QStringLiteral(":/zorel/zorel.svg")); }

}  // namespace zorel
