#include "shell/qt/splash_window.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

#include "common/qt/qt_text.h"
#include "shell/startup_order.h"

namespace duvelin {
namespace {

QFont TitleFont() {
  QFont font(QStringLiteral("宋体"));
  font.setPointSize(32);
  font.setBold(true);
  return font;
}

}  // namespace

TForm_show::TForm_show(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), m_progress(new QLabel(this)) {
  setObjectName(QStringLiteral("TForm_show"));
  setFixedSize(kWidth, kHeight);
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Window);
  setWindowOpacity(200.0 / 255.0);

  QFont labelFont(QStringLiteral("宋体"));
  labelFont.setPixelSize(19);
  labelFont.setBold(true);
  m_progress->setFont(labelFont);
  QPalette colours = m_progress->palette();
  colours.setColor(QPalette::WindowText, Qt::red);
  m_progress->setPalette(colours);
  m_progress->setGeometry(64, 200, 329, QFontMetrics(labelFont).height() + 4);
  SetProgressText(kSplashFirstProgress);
  CentreOnScreen();
}

void TForm_show::CentreOnScreen() {
  const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  QRect frame(QPoint(0, 0), size());
  frame.moveCenter(screen->geometry().center());
  move(frame.topLeft());
}

void TForm_show::SetProgressText(std::string_view text) {
  m_history.emplace_back(text);
  m_progress->setText(FromUtf8(text));
  m_progress->repaint();
}

QString TForm_show::ProgressText() const { return m_progress->text(); }

void TForm_show::PaintEffectText(QPainter& painter, QPoint topLeft, const QString& text, Gradient direction) {
  const QFont font = TitleFont();
  const QFontMetrics metrics(font);
  // The position is the top-left of the text cell; a path is laid out on its baseline.
  const QPointF baseline(topLeft.x(), topLeft.y() + metrics.ascent());
  QPainterPath path;
  path.addText(baseline, font, text);
  const QRectF box = path.boundingRect();

  painter.fillPath(path.translated(2, 2), QColor(128, 128, 128));

  const QColor windowColour = palette().color(QPalette::Window);
  QLinearGradient gradient(box.topLeft(), box.topRight());
  gradient.setColorAt(direction == Gradient::LeftToRight ? 0.0 : 1.0, Qt::red);
  gradient.setColorAt(direction == Gradient::LeftToRight ? 1.0 : 0.0, windowColour);
  painter.fillPath(path, gradient);
  painter.strokePath(path, QPen(QColor(128, 0, 0), 1.0));
}

void TForm_show::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  PaintEffectText(painter, QPoint(42, 38), QStringLiteral("Duvelin"), Gradient::LeftToRight);
  PaintEffectText(painter, QPoint(80, 150), QStringLiteral("正在启动……"), Gradient::RightToLeft);
}

}  // namespace duvelin
