#include "optimizer/MtuFinder.h"

#include <icmpapi.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "base/LateLibrary.h"
#include "ui/MessagePump.h"
#include "pinger/Ping.h"

namespace tarvix {
namespace {

// One echo with the don't-fragment flag, sent from a worker thread while this
// thread serves the window's messages.
class IcmpDontFragmentProbe final : public mtu::EchoProbe {
 public:
  IcmpDontFragmentProbe(HANDLE icmp, IPAddr address, const std::function<bool()>& cancelled,
                        const std::function<void(int)>& trying)
      : icmp_(icmp), address_(address), cancelled_(cancelled), trying_(trying) {}

  mtu::EchoAnswer Send(int payload) override {
    std::atomic<bool> done{false};
    mtu::EchoAnswer answer = mtu::EchoAnswer::NoAnswer;
    std::thread echo([&] {
      answer = EchoOnce(payload);
      done.store(true);
    });
    while (!done.load()) {
      ProcessPendingMessages(1);
      // A quit waiting in the queue would wake the wait at once: sleep instead.
      MSG quit;
      if (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) {
        Sleep(15);
      } else {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 15, QS_ALLINPUT);
      }
    }
    echo.join();
    return answer;
  }

  bool Cancelled() override { return cancelled_ && cancelled_(); }

  void Trying(int payload) override {
    if (trying_) trying_(payload);
    ProcessPendingMessages(1);
  }

 private:
  mtu::EchoAnswer EchoOnce(int payload) const noexcept {
    try {
      std::vector<char> request(static_cast<std::size_t>(payload), 'T');
      // Room for the reply record, the echoed data and an ICMP error's
      // quoted header.
      std::vector<unsigned char> reply(sizeof(ICMP_ECHO_REPLY) + request.size() + 64);
      IP_OPTION_INFORMATION options{};
      options.Ttl = 128;
      options.Flags = IP_FLAG_DF;
      const auto send = IpHelperLibrary().Function<decltype(&IcmpSendEcho)>("IcmpSendEcho");
      if (send == nullptr) return mtu::EchoAnswer::NoAnswer;
      SetLastError(ERROR_SUCCESS);
      const DWORD replies = send(icmp_, address_, request.data(), static_cast<WORD>(request.size()), &options,
                                         reply.data(), static_cast<DWORD>(reply.size()), kMtuEchoTimeoutMs);
      DWORD status = GetLastError();
      if (replies != 0) {
        ICMP_ECHO_REPLY header;
        std::memcpy(&header, reply.data(), sizeof(header));
        status = header.Status;
      }
      if (replies != 0 && status == IP_SUCCESS) return mtu::EchoAnswer::Reply;
      if (status == IP_PACKET_TOO_BIG) return mtu::EchoAnswer::FragmentationNeeded;
      return mtu::EchoAnswer::NoAnswer;
    } catch (...) {
      return mtu::EchoAnswer::NoAnswer;
    }
  }

  HANDLE icmp_;
  IPAddr address_;
  const std::function<bool()>& cancelled_;
  const std::function<void(int)>& trying_;
};

}  // namespace

std::optional<int> InterfaceMtuTowards(IPAddr address) noexcept {
  try {
    const auto bestInterface = IpHelperLibrary().Function<decltype(&GetBestInterface)>("GetBestInterface");
    const auto adapters = IpHelperLibrary().Function<decltype(&GetAdaptersAddresses)>("GetAdaptersAddresses");
    if (bestInterface == nullptr || adapters == nullptr) return std::nullopt;
    DWORD index = 0;
    if (bestInterface(address, &index) != NO_ERROR) return std::nullopt;
    constexpr ULONG kFlags = GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
    ULONG size = 16 * 1024;
    std::vector<unsigned char> buffer;
    ULONG result = ERROR_BUFFER_OVERFLOW;
    for (int attempt = 0; attempt < 3 && result == ERROR_BUFFER_OVERFLOW; ++attempt) {
      buffer.assign(size, 0);
      result = adapters(AF_INET, kFlags, nullptr,
                                    reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()), &size);
    }
    if (result != NO_ERROR) return std::nullopt;
    for (auto* adapter = reinterpret_cast<const IP_ADAPTER_ADDRESSES*>(buffer.data()); adapter != nullptr;
         adapter = adapter->Next) {
      // No IPv4 datagram is larger than 65535 bytes, whatever an adapter
      // (such as the loopback one) reports.
      if (adapter->IfIndex == index && adapter->Mtu > 0) return static_cast<int>(std::min<ULONG>(adapter->Mtu, 65535));
    }
    return std::nullopt;
  } catch (...) {
    return std::nullopt;
  }
}

MtuMeasurement MeasureLargestMtu(std::string_view host, const std::function<bool()>& cancelled,
                                 const std::function<void(int)>& trying) {
  const DWORD started = GetTickCount();
  MtuMeasurement measurement;
  const auto finish = [&](MtuMeasurement::Status status) {
    measurement.status = status;
    measurement.milliseconds = GetTickCount() - started;
    return measurement;
  };
  const std::optional<std::uint32_t> address = EchoAddressOf(host);
  if (!address) return finish(MtuMeasurement::Status::NoHost);
  measurement.address = *address;
  // 127.x.x.x, first byte first in memory.
  if ((*address & 0xFFu) == 127u) return finish(MtuMeasurement::Status::ThisComputer);
  const std::optional<int> bound = InterfaceMtuTowards(*address);
  if (!bound) return finish(MtuMeasurement::Status::NoInterface);
  measurement.interfaceMtu = *bound;
  const auto open = IpHelperLibrary().Function<decltype(&IcmpCreateFile)>("IcmpCreateFile");
  const UniqueIcmpHandle icmp(open != nullptr ? open() : INVALID_HANDLE_VALUE);
  if (!icmp.valid()) return finish(MtuMeasurement::Status::NoIcmp);
  IcmpDontFragmentProbe probe(icmp.get(), *address, cancelled, trying);
  measurement.outcome = mtu::SearchLargestMtu(probe, *bound);
  return finish(MtuMeasurement::Status::Measured);
}

std::string MeasurementText(const MtuMeasurement& measurement) {
  switch (measurement.status) {
    case MtuMeasurement::Status::Measured:
      return mtu::OutcomeText(measurement.outcome);
    case MtuMeasurement::Status::NoHost:
      return "The host cannot be found; check its name.";
    case MtuMeasurement::Status::ThisComputer:
      return "That host is this computer; choose one on your line.";
    case MtuMeasurement::Status::NoInterface:
      return "No network adapter leads to this host.";
    case MtuMeasurement::Status::NoIcmp:
      return "Windows cannot send echo requests here.";
  }
  return {};
}

}  // namespace tarvix
