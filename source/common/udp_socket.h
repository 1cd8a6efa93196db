// Datagrams as the pronunciation lookup uses them: bind a local port, send one datagram to an
// IPv4 address, receive datagrams on the main thread; and the host-name lookup that turns the
// service's name into a dotted address. The program implements both with Qt Network; tests
// use fakes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "common/result.h"

namespace duvelin {

class UdpSocket {
 public:
  // Runs on the main thread for every datagram that arrives, with its bytes whole (at most
  // the receive buffer's size).
  using DatagramHandler = std::function<void(std::string datagram)>;

  virtual ~UdpSocket() = default;

  // Listens on `port` of every local interface; an error when the port cannot be had. A
  // socket that is bound already is closed first.
  virtual Status Bind(uint16_t port) = 0;
  // Sends one datagram to a dotted IPv4 address; an error when it could not be sent.
  virtual Status SendTo(const std::string& address, uint16_t port, std::string_view datagram) = 0;
  virtual void SetDatagramHandler(DatagramHandler handler) = 0;
};

class HostResolver {
 public:
  virtual ~HostResolver() = default;
  // The first IPv4 address of `host`, as four decimal bytes with dots ("127.0.0.1"); an error
  // when the name cannot be resolved. May block: it is called once, at start.
  virtual Result<std::string> ResolveIpv4(const std::string& host) = 0;
};

}  // namespace duvelin
