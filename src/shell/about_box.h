// TAboutBox: the "О программе ..." dialog, which also serves as the splash screen during
// start-up (its OK button hidden, a message line reporting the loading steps).
#pragma once

#include <QDialog>
#include <cstdint>

class QLabel;
class QPushButton;

namespace zorel {

// "Версия " and major.minor.release of a "major.minor.release[.build]" text; only "Версия "
// when the text holds no such version.
QString VersionText(const char* version);
// "Дата формирования данных : " and the date of a day number (day 0 = 30 December 1899);
// empty for the days 0 and 1, which stand for a missing date.
QString BaseDateText(std::int32_t baseDay);

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  // productName: the main window's caption, or the application title while there is none.
  TAboutBox(const QString& productName, std::int32_t baseDay, QWidget* parent = nullptr);

  // Shows the box and returns once it is on the screen and painted (or after three seconds
  // without a window system's answer).
  void ShowSplash();
  // Shows the text in the message line and repaints at once.
  void SetSplashMessage(const QString& text);
  void HideOkButton();

 private:
  QLabel* lMessage_;
  QPushButton* OKButton_;
};

}  // namespace zorel
