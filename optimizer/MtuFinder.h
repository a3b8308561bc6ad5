#pragma once
// "Find largest MTU": the search of MtuSearch run with real echo requests
// (IcmpSendEcho with the don't-fragment flag) to a host, below the MTU of the
// local interface that routes to it (GetBestInterface, GetAdaptersAddresses).
// Runs on the user-interface thread; each echo waits on a worker thread while
// the window's messages are served, so the window answers and can cancel.
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "optimizer/MtuSearch.h"

namespace tarvix {

// How long one echo waits for its answer.
inline constexpr DWORD kMtuEchoTimeoutMs = 1000;

struct MtuMeasurement {
  enum class Status {
    Measured,     // outcome holds the search's result
    NoHost,       // the host is empty, cannot be resolved or is malformed
    ThisComputer, // a loopback address: its "MTU" says nothing about the line
    NoInterface,  // no interface routes to the host, or its MTU is unknown
    NoIcmp,       // the echo service could not be opened
  };
  Status status = Status::NoHost;
  std::uint32_t address = 0;  // as the echo call takes it
  int interfaceMtu = 0;
  mtu::MtuOutcome outcome;
  DWORD milliseconds = 0;  // the whole measurement
};

// The MTU of the interface that routes to `address`; nothing when Windows
// names no interface or does not list its MTU.
[[nodiscard]] std::optional<int> InterfaceMtuTowards(IPAddr address) noexcept;

// Measures towards `host` (a name or a dotted address, as the pinger takes
// it). `cancelled` is asked before every request, `trying` told the payload
// of each; both run on the calling thread.
using MtuMeasurer = std::function<MtuMeasurement(std::string_view host, const std::function<bool()>& cancelled,
                                                 const std::function<void(int)>& trying)>;
[[nodiscard]] MtuMeasurement MeasureLargestMtu(std::string_view host, const std::function<bool()>& cancelled,
                                               const std::function<void(int)>& trying);

// One line for the user about a measurement (UTF-8).
[[nodiscard]] std::string MeasurementText(const MtuMeasurement& measurement);

}  // namespace tarvix
