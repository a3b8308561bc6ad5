#pragma once
// A recording stand-in for the calls of pinging. By default it answers as
// scripted below and sends nothing; with `forwardToSystem` it passes every call
// to the real system and records it (tests ping only 127.0.0.1/localhost).
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "pinger/Ping.h"

namespace tarvix::testing {

struct EchoCall {
  IPAddr address = 0;
  std::string payload;
  std::size_t replySize = 0;
  DWORD timeout = 0;
};

class FakePingNetwork final : public PingNetwork {
 public:
  FakePingNetwork() : installed_(*this) {}

  bool forwardToSystem = false;

  // WSAStartup: its result and what it grants.
  int startUpResult = 0;
  WORD grantedVersion = 0x0101;
  unsigned short maxSockets = 32767;
  int cleanUpResult = 0;

  // Names that resolve, with their addresses as raw bytes; others are not found.
  std::map<std::string, std::vector<std::vector<std::uint8_t>>> hosts;

  // The echo: replies reported, and the record written when writeReply.
  DWORD echoReplies = 1;
  bool writeReply = true;
  ULONG echoStatus = IP_SUCCESS;
  ULONG echoRoundTrip = 7;
  DWORD echoError = ERROR_SUCCESS;
  // Runs inside each echo call, as the blocking wait would let things happen.
  std::function<void()> duringEcho;

  // What happened.
  int startUps = 0;     // successful ones
  int cleanUps = 0;
  std::vector<std::string> lookups;
  std::vector<EchoCall> echoes;
  std::vector<bool> echoHandleValid;
  // Sockets in use when each lookup and echo ran.
  std::vector<int> socketsAtLookup;
  std::vector<int> socketsAtEcho;

  [[nodiscard]] int SocketsInUse() const noexcept { return startUps - cleanUps; }

  int StartUp(WORD version, WSADATA& data) noexcept override;
  int CleanUp() noexcept override;
  std::optional<std::vector<std::vector<std::uint8_t>>> LookUpHost(const std::string& name) noexcept override;
  UniqueIcmpHandle OpenIcmp() noexcept override;
  DWORD Echo(HANDLE icmp, IPAddr address, std::string_view payload, std::span<std::byte> reply,
             DWORD timeout, DWORD& error) noexcept override;

 private:
  ScopedPingNetwork installed_;
};

// The address value of a.b.c.d, a first in memory.
[[nodiscard]] constexpr IPAddr Ipv4(unsigned a, unsigned b, unsigned c, unsigned d) noexcept {
  return static_cast<IPAddr>(a | (b << 8) | (c << 16) | (d << 24));
}

}  // namespace tarvix::testing
