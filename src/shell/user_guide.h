// The bundled Russian user guide (HTML), which "Справка" shows in the help window when no
// help file is at hand. It lies in share/zorel/guide/ beside the program's folder (installed:
// <prefix>/bin and <prefix>/share) or inside it (the build tree).
#pragma once

#include <QString>

namespace zorel {

// The guide's index.html for a program in programDir; empty when neither place holds it.
QString UserGuidePath(const QString& programDir);

}  // namespace zorel
