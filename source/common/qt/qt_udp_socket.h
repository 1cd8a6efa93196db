// The UdpSocket and HostResolver of the program on Qt Network. The socket listens on every
// local IPv4 interface and hands each arriving datagram, whole, to its handler from the main
// thread's event loop; the resolver asks the system's host-name lookup and answers the first
// IPv4 address in dotted form.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "common/udp_socket.h"

class QUdpSocket;

namespace duvelin {

class QtUdpSocket final : public UdpSocket {
 public:
  // The receive buffer of the pronunciation lookup's listener.
  static constexpr size_t kDefaultReceiveBufferSize = 1024;

  // A datagram longer than `receiveBufferSize` reaches the handler cut to that size; the rest
  // of it is dropped, never delivered as a datagram of its own.
  explicit QtUdpSocket(size_t receiveBufferSize = kDefaultReceiveBufferSize);
  ~QtUdpSocket() override;
  QtUdpSocket(const QtUdpSocket&) = delete;
  QtUdpSocket& operator=(const QtUdpSocket&) = delete;

  // The port is held exclusively: a port another socket has already fails.
  Status Bind(uint16_t port) override;
  Status SendTo(const std::string& address, uint16_t port, std::string_view datagram) override;
  void SetDatagramHandler(DatagramHandler handler) override;

  // The local port while bound (also the one picked for a send before any Bind), else 0.
  uint16_t LocalPort() const;

 private:
  void ReadPending();

  size_t m_receiveBufferSize;
  std::unique_ptr<QUdpSocket> m_socket;
  DatagramHandler m_handler;
  // A handler may destroy the socket; the read loop checks this after every call.
  std::shared_ptr<char> m_alive = std::make_shared<char>(0);
};

class QtHostResolver final : public HostResolver {
 public:
  // Blocks for the system's lookup (QHostInfo::fromName).
  Result<std::string> ResolveIpv4(const std::string& host) override;
};

}  // namespace duvelin
