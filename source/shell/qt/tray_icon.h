// The notification-area icon of the program while it sits in the tray. Every activation of the
// icon is posted to the main window as MSG_TRAY_NOTIFY carrying the mouse message it stands for,
// so the work runs from the message loop. Where the desktop has no notification area the icon
// is still added and removed (IsAdded), it just never appears nor is clicked.
#pragma once

#include <QObject>
#include <QSystemTrayIcon>

#include <cstdint>

#include "common/private_messages.h"

namespace duvelin {

class TrayIcon final : public QObject {
 public:
  explicit TrayIcon(MessagePoster& poster, QObject* parent = nullptr);

  void Add(const QIcon& icon, const QString& tip);
  void Remove();
  bool IsAdded() const { return m_added; }
  QSystemTrayIcon& Icon() { return *m_icon; }

  // The mouse message of an activation: a click 513, a double click 515, the context request
  // 516; 0 for the others, which post nothing.
  static intptr_t MouseMessageFor(QSystemTrayIcon::ActivationReason reason);

 private:
  MessagePoster& m_poster;
  QSystemTrayIcon* m_icon = nullptr;
  bool m_added = false;
};

}  // namespace duvelin
