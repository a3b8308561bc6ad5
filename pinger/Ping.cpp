#include "pinger/Ping.h"

#include <cstring>
#include <exception>

#include "base/LateLibrary.h"
#include "base/Text.h"
#include "base/Platform.h"
#include "ui/MessagePump.h"
#include "pinger/HostAddress.h"

namespace tarvix {
namespace {

// Winsock and the ICMP calls come from DLLs loaded on the first ping; a
// missing DLL or export answers as the call itself fails.
template <typename Fn>
[[nodiscard]] Fn Winsock(const char* name) noexcept {
  return WinsockLibrary().Function<Fn>(name);
}

template <typename Fn>
[[nodiscard]] Fn IpHelper(const char* name) noexcept {
  return IpHelperLibrary().Function<Fn>(name);
}

class SystemNetwork final : public PingNetwork {
 public:
  int StartUp(WORD version, WSADATA& data) noexcept override {
    const auto startUp = Winsock<decltype(&WSAStartup)>("WSAStartup");
    return startUp != nullptr ? startUp(version, &data) : WSASYSNOTREADY;
  }

  int CleanUp() noexcept override {
    const auto cleanUp = Winsock<decltype(&WSACleanup)>("WSACleanup");
    return cleanUp != nullptr ? cleanUp() : SOCKET_ERROR;
  }

  std::optional<std::vector<std::vector<std::uint8_t>>> LookUpHost(
      const std::string& name) noexcept override {
    try {
      const auto lookUp = Winsock<decltype(&gethostbyname)>("gethostbyname");
      if (lookUp == nullptr) return std::nullopt;
      const hostent* entry = lookUp(name.c_str());
      if (entry == nullptr) return std::nullopt;
      // The answer lives in Winsock's own per-thread storage; copy it out.
      std::vector<std::vector<std::uint8_t>> addresses;
      const auto length = static_cast<std::size_t>(entry->h_length > 0 ? entry->h_length : 0);
      for (char** item = entry->h_addr_list; item != nullptr && *item != nullptr; ++item) {
        const auto* first = reinterpret_cast<const std::uint8_t*>(*item);
        addresses.emplace_back(first, first + length);
      }
      return addresses;
    } catch (...) {
      return std::nullopt;
    }
  }

  UniqueIcmpHandle OpenIcmp() noexcept override {
    const auto open = IpHelper<decltype(&IcmpCreateFile)>("IcmpCreateFile");
    return UniqueIcmpHandle(open != nullptr ? open() : INVALID_HANDLE_VALUE);
  }

  DWORD Echo(HANDLE icmp, IPAddr address, std::string_view payload, std::span<std::byte> reply,
             DWORD timeout, DWORD& error) noexcept override {
    // IcmpSendEcho takes the request data through a non-const pointer.
    char request[64] = {};
    const auto size = static_cast<WORD>(payload.size() < sizeof(request) ? payload.size() : sizeof(request));
    std::memcpy(request, payload.data(), size);
    const auto send = IpHelper<decltype(&IcmpSendEcho)>("IcmpSendEcho");
    if (send == nullptr) {
      error = ERROR_PROC_NOT_FOUND;
      return 0;
    }
    SetLastError(ERROR_SUCCESS);
    const DWORD replies = send(icmp, address, request, size, nullptr, reply.data(),
                               static_cast<DWORD>(reply.size()), timeout);
    error = replies == 0 ? GetLastError() : ERROR_SUCCESS;
    return replies;
  }
};

SystemNetwork g_system;
PingNetwork* g_current = &g_system;

// Between the steps of a ping the pending input, paint and timer messages are
// served this many times, so that a slow ping does not freeze the program.
constexpr int kPasses = 3;

// Matches a successful StartSockets with one StopSockets on every way out.
class SocketsSession {
 public:
  SocketsSession() noexcept : started_(StartSockets()) {}
  ~SocketsSession() {
    if (started_) StopSockets();
  }
  SocketsSession(const SocketsSession&) = delete;
  SocketsSession& operator=(const SocketsSession&) = delete;
  [[nodiscard]] bool started() const noexcept { return started_; }

 private:
  bool started_;
};

// Checks what WSAStartup granted; tells the user what is missing.
bool GrantedSocketsUsable(const WSADATA& data) {
  const unsigned major = LOBYTE(data.wVersion);
  const unsigned minor = HIBYTE(data.wVersion);
  if (major < 1 || (major == 1 && minor < 1)) {
    ShowProgramMessage("Windows Sockets Version " + std::to_string(major) + "." +
                           std::to_string(minor) +
                           " is not supported by Windows Sockets for 32 bit Windows environments.",
                       MB_OK | MB_ICONWARNING);
    return false;
  }
  if (data.iMaxSockets < 1) {
    ShowProgramMessage("This application requires a minimum of 1 supported sockets.",
                       MB_OK | MB_ICONWARNING);
    return false;
  }
  return true;
}

bool PingHostChecked(std::string_view hostText, DWORD timeout) {
  std::string host(text::TrimBlanks(hostText));
  if (host.empty()) return false;

  ProcessPendingMessages(kPasses);
  const SocketsSession sockets;
  if (!sockets.started()) return false;
  ProcessPendingMessages(kPasses);

  if (host.find('.') != std::string::npos) {
    ProcessPendingMessages(kPasses);
    if (IsDottedName(host)) {
      ProcessPendingMessages(kPasses);
      const auto addresses = ResolveHostAddresses(host);
      ProcessPendingMessages(kPasses);
      if (!addresses || addresses->empty()) return false;
      host = addresses->front();
    }
  }

  ProcessPendingMessages(kPasses);
  EchoReplyBuffer reply;
  const bool sent = SendEcho(host, reply, timeout).has_value();
  ProcessPendingMessages(kPasses);
  return sent && reply.Answered();
}

}  // namespace

void CloseIcmpHandle(HANDLE icmp) noexcept {
  if (const auto close = IpHelper<decltype(&IcmpCloseHandle)>("IcmpCloseHandle")) close(icmp);
}

ICMP_ECHO_REPLY EchoReplyBuffer::Reply() const noexcept {
  ICMP_ECHO_REPLY reply;
  std::memcpy(&reply, bytes_.data(), sizeof(reply));
  return reply;
}

bool EchoReplyBuffer::Answered() const noexcept {
  return replyCount > 0 && Reply().Status == IP_SUCCESS;
}

PingNetwork& SystemPingNetwork() noexcept { return g_system; }

PingNetwork& CurrentPingNetwork() noexcept { return *g_current; }

ScopedPingNetwork::ScopedPingNetwork(PingNetwork& network) noexcept : previous_(g_current) {
  g_current = &network;
}

ScopedPingNetwork::~ScopedPingNetwork() { g_current = previous_; }

bool PingHost(std::string_view host, DWORD timeout) noexcept {
  try {
    return PingHostChecked(host, timeout);
  } catch (...) {
    return false;
  }
}

std::optional<std::int32_t> SendEcho(std::string_view addressText, EchoReplyBuffer& reply,
                                     DWORD timeout) noexcept {
  reply.Clear();
  const auto address = ParseDottedAddress(addressText);
  if (!address) return std::nullopt;

  PingNetwork& network = CurrentPingNetwork();
  const UniqueIcmpHandle icmp = network.OpenIcmp();
  DWORD error = icmp.valid() ? ERROR_SUCCESS : GetLastError();
  ProcessPendingMessages(kPasses);
  if (icmp.valid()) {
    reply.replyCount = network.Echo(icmp.get(), *address, kEchoPayload, reply.Bytes(), timeout, error);
  }
  const ICMP_ECHO_REPLY header = reply.Reply();
  std::int32_t result = 0;
  if (reply.replyCount != 0) {
    result = static_cast<std::int32_t>(header.RoundTripTime);
  } else {
    // A failed call may write no reply at all; its status would then read as
    // 0, success, so the call's own error stands in for it.
    DWORD status = header.Status;
    if (status == IP_SUCCESS) status = error;
    if (status == IP_SUCCESS) status = IP_GENERAL_FAILURE;
    result = -static_cast<std::int32_t>(status & 0x7FFFFFFFu);
  }
  ProcessPendingMessages(kPasses);
  return result;
}

std::optional<std::uint32_t> ParseDottedAddress(std::string_view text) noexcept {
  if (text.find('.') != std::string_view::npos) return ParseDottedParts(text);
  if (text.empty()) return 0u;  // the empty name would be this machine's own
  const auto addresses = ResolveHostAddresses(text);
  if (!addresses || addresses->empty()) return 0u;
  return ParseDottedParts(addresses->front()).value_or(0u);
}

std::optional<std::uint32_t> EchoAddressOf(std::string_view hostText) noexcept {
  try {
    std::string host(text::TrimBlanks(hostText));
    if (host.empty()) return std::nullopt;
    if (IsDottedName(host)) {
      const auto addresses = ResolveHostAddresses(host);
      if (!addresses || addresses->empty()) return std::nullopt;
      host = addresses->front();
    }
    const auto address = ParseDottedAddress(host);
    if (!address || *address == 0) return std::nullopt;
    return address;
  } catch (...) {
    return std::nullopt;
  }
}

std::optional<std::vector<std::string>> ResolveHostAddresses(std::string_view name) noexcept {
  try {
    const SocketsSession sockets;
    if (!sockets.started()) return std::nullopt;
    std::vector<std::string> addresses;
    const auto answer = CurrentPingNetwork().LookUpHost(std::string(name));
    if (answer) {
      for (const auto& bytes : *answer) addresses.push_back(FormatAddressBytes(bytes));
    }
    return addresses;
  } catch (...) {
    return std::nullopt;
  }
}

bool StartSockets() noexcept {
  PingNetwork& network = CurrentPingNetwork();
  WSADATA data{};
  if (network.StartUp(kSocketsVersion, data) != 0) {
    ShowProgramMessage(
        "Windows Sockets for 32 bit Windows environments is not successfully responding.", MB_OK);
    return false;
  }
  bool usable = false;
  try {
    usable = GrantedSocketsUsable(data);
  } catch (...) {
  }
  if (!usable) static_cast<void>(network.CleanUp());
  return usable;
}

void StopSockets() noexcept {
  const int result = CurrentPingNetwork().CleanUp();
  if (result != 0) {
    try {
      ShowProgramMessage("Windows Sockets error " + std::to_string(result) + " occurred in Cleanup.",
                         MB_OK | MB_ICONWARNING);
    } catch (...) {
    }
  }
}

}  // namespace tarvix
