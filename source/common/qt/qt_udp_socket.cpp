#include "common/qt/qt_udp_socket.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QNetworkDatagram>
#include <QUdpSocket>

#include "common/qt/qt_text.h"

namespace duvelin {

QtUdpSocket::QtUdpSocket(size_t receiveBufferSize)
    : m_receiveBufferSize(receiveBufferSize), m_socket(std::make_unique<QUdpSocket>()) {
  QObject::connect(m_socket.get(), &QUdpSocket::readyRead, m_socket.get(), [this] { ReadPending(); });
}

QtUdpSocket::~QtUdpSocket() {
  // The port is given up at once; the Qt object goes from the loop, as this may run inside
  // its own readyRead.
  QObject::disconnect(m_socket.get(), nullptr, nullptr, nullptr);
  m_socket->close();
  m_socket.release()->deleteLater();
}

Status QtUdpSocket::Bind(uint16_t port) {
  if (m_socket->state() != QAbstractSocket::UnconnectedState) m_socket->close();
  // Without ShareAddress or ReuseAddressHint no SO_REUSEADDR is set, so a port that another
  // socket holds is refused instead of shared.
  if (!m_socket->bind(QHostAddress::AnyIPv4, port, QAbstractSocket::DontShareAddress))
    return Error{"cannot listen on UDP port " + std::to_string(port) + ": " + ToUtf8(m_socket->errorString())};
  return Status::Ok();
}

Status QtUdpSocket::SendTo(const std::string& address, uint16_t port, std::string_view datagram) {
  QHostAddress target;
  if (!target.setAddress(FromUtf8(address)) || target.protocol() != QAbstractSocket::IPv4Protocol)
    return Error{"not an IPv4 address: \"" + address + "\""};
  const QByteArray bytes(datagram.data(), static_cast<qsizetype>(datagram.size()));
  const qint64 written = m_socket->writeDatagram(bytes, target, port);
  if (written != bytes.size())
    return Error{"cannot send a datagram to " + address + ":" + std::to_string(port) + ": " +
                 ToUtf8(m_socket->errorString())};
  return Status::Ok();
}

void QtUdpSocket::SetDatagramHandler(DatagramHandler handler) { m_handler = std::move(handler); }

uint16_t QtUdpSocket::LocalPort() const {
  return m_socket->state() == QAbstractSocket::BoundState ? m_socket->localPort() : 0;
}

void QtUdpSocket::ReadPending() {
  const std::weak_ptr<char> alive = m_alive;
  while (m_socket->hasPendingDatagrams()) {
    const QNetworkDatagram datagram = m_socket->receiveDatagram(static_cast<qint64>(m_receiveBufferSize));
    // A pending error (say, an ICMP answer) reads as no datagram: stop rather than spin.
    if (!datagram.isValid()) break;
    if (!m_handler) continue;
    const QByteArray bytes = datagram.data();
    // The handler may replace itself while it runs: call a copy.
    DatagramHandler handler = m_handler;
    handler(std::string(bytes.constData(), static_cast<size_t>(bytes.size())));
    if (alive.expired()) return;
  }
}

Result<std::string> QtHostResolver::ResolveIpv4(const std::string& host) {
  const QHostInfo info = QHostInfo::fromName(FromUtf8(host));
  if (info.error() != QHostInfo::NoError)
    return Error{"cannot resolve \"" + host + "\": " + ToUtf8(info.errorString())};
  for (const QHostAddress& address : info.addresses()) {
    bool isIpv4 = false;
    const quint32 ipv4 = address.toIPv4Address(&isIpv4);  // also IPv4 written as IPv6 (::ffff:a.b.c.d)
    if (isIpv4) return ToUtf8(QHostAddress(ipv4).toString());
  }
  return Error{"\"" + host + "\" has no IPv4 address"};
}

}  // namespace duvelin
