#include "shell/about_box.h"

#include <QDate>
#include <QGuiApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace zorel {
namespace {

// The program's emblem: a workshop under a rising sun, drawn once for each box.
QPixmap Emblem() {
  QPixmap pixmap(240, 180);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, 180);
  sky.setColorAt(0, QColor(255, 214, 140));
  sky.setColorAt(0.6, QColor(250, 160, 90));
  sky.setColorAt(1, QColor(120, 60, 60));
  p.fillRect(pixmap.rect(), sky);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 245, 200));
  p.drawEllipse(QPointF(150, 95), 42, 42);
  QPainterPath works;
  works.moveTo(0, 180);
  works.lineTo(0, 120);
  works.lineTo(40, 100);
  works.lineTo(40, 120);
  works.lineTo(80, 100);
  works.lineTo(80, 120);
  works.lineTo(120, 100);
  works.lineTo(120, 70);
  works.lineTo(132, 70);
  works.lineTo(132, 120);
  works.lineTo(180, 120);
  works.lineTo(180, 55);
  works.lineTo(192, 55);
  works.lineTo(192, 120);
  works.lineTo(240, 120);
  works.lineTo(240, 180);
  works.closeSubpath();
  p.setBrush(QColor(60, 40, 50));
  p.drawPath(works);
  p.setBrush(QColor(255, 220, 120));
  for (int x = 10; x < 230; x += 22) p.drawRect(QRectF(x, 135, 10, 8));
  QFont f = p.font();
  f.setPixelSize(34);
  f.setBold(true);
  p.setFont(f);
  p.setPen(QColor(255, 250, 235));
  p.drawText(QRect(0, 140, 240, 40), Qt::AlignCenter, QStringLiteral("Зорель"));
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
