#include "FakePingNetwork.h"

#include <cstring>

namespace tarvix::testing {

int FakePingNetwork::StartUp(WORD version, WSADATA& data) noexcept {
  int result = startUpResult;
  if (forwardToSystem) {
    result = SystemPingNetwork().StartUp(version, data);
  } else if (result == 0) {
    data = WSADATA{};
    data.wVersion = grantedVersion;
    data.wHighVersion = 0x0202;
    data.iMaxSockets = maxSockets;
  }
  if (result == 0) ++startUps;
  return result;
}

int FakePingNetwork::CleanUp() noexcept {
  ++cleanUps;
  return forwardToSystem ? SystemPingNetwork().CleanUp() : cleanUpResult;
}

std::optional<std::vector<std::vector<std::uint8_t>>> FakePingNetwork::LookUpHost(
    const std::string& name) noexcept {
  lookups.push_back(name);
  socketsAtLookup.push_back(SocketsInUse());
  if (forwardToSystem) return SystemPingNetwork().LookUpHost(name);
  const auto found = hosts.find(name);
  if (found == hosts.end()) return std::nullopt;
  return found->second;
}

UniqueIcmpHandle FakePingNetwork::OpenIcmp() noexcept {
  // A real handle either way: opening one sends nothing.
  return SystemPingNetwork().OpenIcmp();
}

DWORD FakePingNetwork::Echo(HANDLE icmp, IPAddr address, std::string_view payload,
                            std::span<std::byte> reply, DWORD timeout, DWORD& error) noexcept {
  echoes.push_back({address, std::string(payload), reply.size(), timeout});
  echoHandleValid.push_back(icmp != INVALID_HANDLE_VALUE && icmp != nullptr);
  socketsAtEcho.push_back(SocketsInUse());
  if (duringEcho) duringEcho();
  if (forwardToSystem) return SystemPingNetwork().Echo(icmp, address, payload, reply, timeout, error);
  if (writeReply && reply.size() >= sizeof(ICMP_ECHO_REPLY)) {
    ICMP_ECHO_REPLY record{};
    record.Address = address;
    record.Status = echoStatus;
    record.RoundTripTime = echoRoundTrip;
    std::memcpy(reply.data(), &record, sizeof(record));
  }
  error = echoReplies == 0 ? echoError : ERROR_SUCCESS;
  return echoReplies;
}

}  // namespace tarvix::testing
