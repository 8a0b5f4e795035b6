#include "shell/about_box.h"

#include <QDate>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "shell/program_icon.h"

namespace zorel {
namespace {

// The program's emblem: its icon, centred in the picture's frame.
QPixmap Emblem() {
  QPixmap pixmap(240, 180);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  const int side = 176;
  p.drawPixmap((pixmap.width() - side) / 2, (pixmap.height() - side) / 2,
               ProgramIcon().pixmap(side, side));
  return pixmap;
}

QLabel* Line(QWidget* parent, const QString& text, int top, int height = 15, bool bold = false) {
  auto* label = new QLabel(text, parent);
  label->setGeometry(4, top, parent->width() - 8, height);
  label->setAlignment(Qt::AlignCenter);
  QFont f = label->font();
  f.setPixelSize(11);
  f.setBold(bold);
  label->setFont(f);
  return label;
}

}  // namespace

QString VersionText(const char* version) {
  static const QRegularExpression pattern(QStringLiteral("^(\\d+)\\.(\\d+)\\.(\\d+)"));
  const auto m = pattern.match(QString::fromLatin1(version != nullptr ? version : ""));
  if (!m.hasMatch()) return QStringLiteral("Версия ");
  return QStringLiteral("Версия %1.%2.%3")
      .arg(m.captured(1).toInt())
      .arg(m.captured(2).toInt())
      .arg(m.captured(3).toInt());
}

QString BaseDateText(std::int32_t baseDay) {
  if (baseDay == 0 || baseDay == 1) return {};
  const QDate date = QDate(1899, 12, 30).addDays(baseDay);
  // Days carry no time of day, so the date stands alone.
  return QStringLiteral("Дата формирования данных : ") +
         date.toString(QStringLiteral("dd.MM.yyyy"));
}

TAboutBox::TAboutBox(const QString& productName, std::int32_t baseDay, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("AboutBox"));
  setWindowTitle(QStringLiteral("О программе ..."));
  setFixedSize(303, 415);

  auto* panel = new QFrame(this);
  panel->setObjectName(QStringLiteral("Panel1"));
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel->setGeometry(11, 6, 281, 381);

  auto* icon = new QLabel(panel);
  icon->setObjectName(QStringLiteral("ProgramIcon"));
  icon->setGeometry(20, 6, 240, 180);
  icon->setScaledContents(true);
  icon->setPixmap(Emblem());

  QLabel* name = Line(panel, productName, 190, 18, true);
  name->setObjectName(QStringLiteral("ProductName"));
  QFont big = name->font();
  big.setPixelSize(14);
  name->setFont(big);
  Line(panel, VersionText(ZOREL_VERSION), 209)->setObjectName(QStringLiteral("lVersion"));
  Line(panel, BaseDateText(baseDay), 225)->setObjectName(QStringLiteral("lInfoDate"));

  auto* publisher = new QFrame(panel);
  publisher->setFrameStyle(QFrame::Box | QFrame::Plain);
  publisher->setGeometry(10, 244, 261, 52);
  Line(publisher, QStringLiteral("Издательство"), 3);
  Line(publisher, QStringLiteral("«Северный Вектор»"), 18, 15, true);
  Line(publisher, QStringLiteral("тел. (0152) 70-11-42"), 33);

  Line(panel, QStringLiteral("Автор программы: Кирилл Зарецкий"), 302);
  Line(panel, QStringLiteral("Эл. почта: zorel-dev@severny-vektor.example"), 318);
  Line(panel, QStringLiteral("Сообщения: 400 712 358"), 334);
  Line(panel, QStringLiteral("1998 – 2003"), 352);

  lMessage_ = new QLabel(this);
  lMessage_->setObjectName(QStringLiteral("lMessage"));
  lMessage_->setGeometry(13, 389, 276, 23);
  lMessage_->setAlignment(Qt::AlignCenter);
  OKButton_ = new QPushButton(QStringLiteral("OK"), this);
  OKButton_->setObjectName(QStringLiteral("OKButton"));
  OKButton_->setGeometry(11, 389, 281, 23);
  OKButton_->setDefault(true);
  connect(OKButton_, &QPushButton::clicked, this, &QDialog::accept);

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
}

void TAboutBox::ShowSplash() {
  show();
  // The window system (and a window manager) map a new window when they get to it, and a
  // window is painted only once it is on the screen: wait for that, so the picture and the
  // first message are there before the work they announce starts.
  QElapsedTimer waited;
  waited.start();
  QTimer wake;
  wake.start(20);
  while (windowHandle() != nullptr && !windowHandle()->isExposed() && waited.elapsed() < 3000) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents |
                                    QEventLoop::ExcludeUserInputEvents);
  }
  repaint();
}

void TAboutBox::SetSplashMessage(const QString& text) {
  lMessage_->setText(text);
  repaint();
}

void TAboutBox::HideOkButton() { OKButton_->hide(); }

}  // namespace zorel
