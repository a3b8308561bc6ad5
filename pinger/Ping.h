#pragma once
// mdlPing: one ICMP echo to a host given by name or dotted address, and the
// Windows Sockets 1.1 name lookup behind it.
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
#include <icmpapi.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/Handle.h"

namespace tarvix {

inline constexpr std::string_view kEchoPayload = "Echo This";
inline constexpr std::size_t kEchoDataRoom = 250;
inline constexpr WORD kSocketsVersion = 0x0101;  // 1.1: major in the low byte

// IcmpCloseHandle of iphlpapi, which is loaded on its first use.
void CloseIcmpHandle(HANDLE icmp) noexcept;
// An ICMP handle; IcmpCreateFile reports failure as INVALID_HANDLE_VALUE.
using UniqueIcmpHandle = UniqueAny<InvalidHandlePolicy<CloseIcmpHandle>>;

// The reply buffer of one echo: one ICMP_ECHO_REPLY and room for the echoed
// data, plus how many replies the echo call reported.
class EchoReplyBuffer {
 public:
  static constexpr std::size_t kSize = sizeof(ICMP_ECHO_REPLY) + kEchoDataRoom;

  void Clear() noexcept {
    bytes_.fill(std::byte{0});
    replyCount = 0;
  }
  [[nodiscard]] std::span<std::byte> Bytes() noexcept { return bytes_; }
  // A copy of the reply record at the start of the buffer.
  [[nodiscard]] ICMP_ECHO_REPLY Reply() const noexcept;
  // Answered: at least one reply, and that reply's status is success.
  [[nodiscard]] bool Answered() const noexcept;

  DWORD replyCount = 0;

 private:
  alignas(ICMP_ECHO_REPLY) std::array<std::byte, kSize> bytes_{};
};

// The system calls of pinging, so tests can see and script them.
class PingNetwork {
 public:
  virtual ~PingNetwork() = default;
  // WSAStartup: 0 on success, with the granted version and limits in `data`.
  virtual int StartUp(WORD version, WSADATA& data) noexcept = 0;
  // WSACleanup's own return value: 0, or SOCKET_ERROR.
  virtual int CleanUp() noexcept = 0;
  // gethostbyname: the raw bytes of each address of the answer, in its
  // order; no answer when the name was not found.
  virtual std::optional<std::vector<std::vector<std::uint8_t>>> LookUpHost(
      const std::string& name) noexcept = 0;
  // IcmpCreateFile.
  virtual UniqueIcmpHandle OpenIcmp() noexcept = 0;
  // IcmpSendEcho without request options: the number of replies written to
  // `reply`; when 0, `error` holds GetLastError.
  virtual DWORD Echo(HANDLE icmp, IPAddr address, std::string_view payload,
                     std::span<std::byte> reply, DWORD timeout, DWORD& error) noexcept = 0;
};

// The real calls.
[[nodiscard]] PingNetwork& SystemPingNetwork() noexcept;
// The calls in use: the real ones unless a test has installed others.
[[nodiscard]] PingNetwork& CurrentPingNetwork() noexcept;

// Installs `network` for the lifetime of the guard (tests).
class ScopedPingNetwork {
 public:
  explicit ScopedPingNetwork(PingNetwork& network) noexcept;
  ~ScopedPingNetwork();
  ScopedPingNetwork(const ScopedPingNetwork&) = delete;
  ScopedPingNetwork& operator=(const ScopedPingNetwork&) = delete;

 private:
  PingNetwork* previous_;
};

// One echo to `host` (a name or a dotted address); true only when a reply
// came with success status. Blanks around the host are ignored.
[[nodiscard]] bool PingHost(std::string_view host, DWORD timeout) noexcept;

// One echo to `address`: the round-trip time in ms when a reply came,
// otherwise the failure status negated (never 0); no result, and nothing
// sent, when the address is malformed (see ParseDottedAddress).
[[nodiscard]] std::optional<std::int32_t> SendEcho(std::string_view address,
                                                   EchoReplyBuffer& reply, DWORD timeout) noexcept;

// A text without a dot is looked up as a name (0 when it cannot be resolved);
// a dotted text follows ParseDottedParts: 0 for fewer than four parts, no
// result for a fifth part or a part that is not a number.
[[nodiscard]] std::optional<std::uint32_t> ParseDottedAddress(std::string_view text) noexcept;

// The addresses of `name` as dotted texts, empty when it was not found; no
// list when Windows Sockets cannot be started.
[[nodiscard]] std::optional<std::vector<std::string>> ResolveHostAddresses(
    std::string_view name) noexcept;

// The address an echo to `host` goes to, found as PingHost finds it: a
// dotted address as it stands, a name (dotted or not) through the first
// address of its lookup. No result for an empty host, a name that cannot be
// resolved, or an address that is malformed or 0.
[[nodiscard]] std::optional<std::uint32_t> EchoAddressOf(std::string_view host) noexcept;

// Starts Windows Sockets 1.1; tells the user and answers false when it is not
// usable. Each true answer must be matched by one StopSockets.
[[nodiscard]] bool StartSockets() noexcept;
// Ends one use of Windows Sockets; tells the user when that fails.
void StopSockets() noexcept;

}  // namespace tarvix
