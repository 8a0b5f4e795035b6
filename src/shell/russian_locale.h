// The program speaks Russian in numbers, dates and sizes whatever the environment says: Qt's
// own dialogs (the file dialogs' sizes and dates) format through the system locale, which Qt
// reads from the locale variables of the environment.
#pragma once

namespace zorel {

// Points the locale variables of every category but the character type at Russian and makes
// Russian Qt's default locale. Runs before the application object is made, which reads them.
void UseRussianLocale();

// After the application object has set the C library's locale from the environment: numbers
// in C library calls keep the point, whatever locale the system has installed.
void KeepCNumbers();

}  // namespace zorel
