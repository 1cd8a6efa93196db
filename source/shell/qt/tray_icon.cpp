#include "shell/qt/tray_icon.h"

namespace duvelin {

TrayIcon::TrayIcon(MessagePoster& poster, QObject* parent)
    : QObject(parent), m_poster(poster), m_icon(new QSystemTrayIcon(this)) {
  connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
    if (!m_added) return;
    if (const intptr_t mouseMessage = MouseMessageFor(reason))
      m_poster.Post(MessageTarget::MainWindow, {MSG_TRAY_NOTIFY, 0, mouseMessage});
  });
}

void TrayIcon::Add(const QIcon& icon, const QString& tip) {
  m_icon->setIcon(icon);
  m_icon->setToolTip(tip);
  m_added = true;
  if (QSystemTrayIcon::isSystemTrayAvailable()) m_icon->show();
}

void TrayIcon::Remove() {
  m_added = false;
  m_icon->hide();
}

intptr_t TrayIcon::MouseMessageFor(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
    case QSystemTrayIcon::Trigger: return TRAY_LEFT_DOWN;
    case QSystemTrayIcon::DoubleClick: return TRAY_LEFT_DOUBLE_CLICK;
    case QSystemTrayIcon::Context: return TRAY_RIGHT_DOWN;
    case QSystemTrayIcon::MiddleClick:
    case QSystemTrayIcon::Unknown: break;
  }
  return 0;
}

}  // namespace duvelin
