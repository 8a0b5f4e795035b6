// The program's own icon (a directory of enterprises under a works at dawn), drawn as SVG and
// built into the program; it is also installed for the desktop entry.
#pragma once

#include <QIcon>

namespace zorel {

QIcon ProgramIcon();

}  // namespace zorel
