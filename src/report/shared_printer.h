// The program's one printer: the printer chosen with "Установки принтера" is the one every
// print goes to. Created on first use, on the interface thread, and kept until the end.
#pragma once

class QPrinter;

namespace zorel {

QPrinter& SharedPrinter();

// Whether the shared printer can print: a printer is installed, or it writes a file.
bool PrinterAvailable();
// What to say when it cannot.
inline constexpr const char* kNoPrinterMessage =
    "Не установлен ни один принтер, печатать некуда.\n\nУстановите принтер в системе или "
    "сохраните отчет в файл кнопкой \"Сохранить в PDF ...\" окна просмотра.";

}  // namespace zorel
