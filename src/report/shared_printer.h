// The program's one printer: the printer chosen with "Установки принтера" is the one every
// print goes to. Created on first use, on the interface thread, and kept until the end.
#pragma once

class QPrinter;

namespace zorel {

QPrinter& SharedPrinter();

}  // namespace zorel
