// Private messages on Qt's event queue: Post wraps the message in a PrivateMessageEvent and
// posts it to the object registered for its target, which handles it later, on the main thread,
// in its event(). A message to a target that has no window yet is dropped.
#pragma once

#include <QEvent>
#include <QObject>
#include <QPointer>

#include <map>

#include "common/private_messages.h"

namespace duvelin {

class PrivateMessageEvent final : public QEvent {
 public:
  explicit PrivateMessageEvent(PrivateMessage message) : QEvent(EventType()), m_message(message) {}

  static QEvent::Type EventType();
  const PrivateMessage& Message() const { return m_message; }

 private:
  PrivateMessage m_message;
};

class QtMessagePoster final : public MessagePoster {
 public:
  void Register(MessageTarget target, QObject* receiver) { m_receivers[target] = receiver; }
  void Post(MessageTarget target, PrivateMessage message) override;

 private:
  std::map<MessageTarget, QPointer<QObject>> m_receivers;
};

}  // namespace duvelin
