#include "common/qt/qt_message_poster.h"

#include <QCoreApplication>

namespace duvelin {

QEvent::Type PrivateMessageEvent::EventType() {
  static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

void QtMessagePoster::Post(MessageTarget target, PrivateMessage message) {
  auto receiver = m_receivers.find(target);
  if (receiver == m_receivers.end() || receiver->second.isNull()) return;
  QCoreApplication::postEvent(receiver->second.data(), new PrivateMessageEvent(message));
}

}  // namespace duvelin
