// One PingHost("127.0.0.1", 10000) against one bare IcmpSendEcho to
// 127.0.0.1 on an ICMP handle opened beforehand. PingHost adds what the
// keep-alive pinger pays on every ping besides the echo itself: starting and
// stopping Windows Sockets, opening and closing its own ICMP handle, the
// message-pumping passes between the steps and the address parsing. The
// middle rows measure those parts alone. Loopback only.
#include "pinger/Ping.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "ui/MessagePump.h"
#include "support/FakePlatform.h"

namespace {

constexpr int kRounds = 41;
constexpr DWORD kTimeout = 10000;
constexpr IPAddr kLoopback = 0x0100007F;  // 127.0.0.1, first part first in memory
// A ping of a dotted address serves pending messages at six points, three
// passes each: before and after the sockets start, before the echo, inside
// SendEcho before and after the call, and before the sockets stop.
constexpr int kPumpPoints = 6;
constexpr int kPassesPerPoint = 3;

using Clock = std::chrono::steady_clock;

double Microseconds(Clock::time_point start) {
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// One echo on an open handle; false unless a reply of success status came.
bool BareEcho(HANDLE icmp) {
  char request[] = "Echo This";
  alignas(ICMP_ECHO_REPLY) unsigned char reply[sizeof(ICMP_ECHO_REPLY) + tarvix::kEchoDataRoom] = {};
  const DWORD replies = IcmpSendEcho(icmp, kLoopback, request, 9, nullptr, reply, sizeof(reply), kTimeout);
  ICMP_ECHO_REPLY record;
  std::memcpy(&record, reply, sizeof(record));
  return replies > 0 && record.Status == IP_SUCCESS;
}

}  // namespace

int main() {
  // Sockets problems would show message boxes; here they are recorded and reported.
  tarvix::testing::FakePlatform platform;
  MSG msg;
  PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the thread's message queue, as in the program

  const HANDLE icmp = IcmpCreateFile();
  if (icmp == INVALID_HANDLE_VALUE) {
    std::printf("IcmpCreateFile failed (%lu)\n", GetLastError());
    return 1;
  }
  // One of each first: the first calls load and start what they need.
  if (!BareEcho(icmp) || !tarvix::PingHost("127.0.0.1", kTimeout)) {
    std::printf("127.0.0.1 did not answer; nothing to measure\n");
    IcmpCloseHandle(icmp);
    return 1;
  }

  std::vector<double> bare, withHandle, sockets, pumping, pingHost;
  bool allAnswered = true;
  // Interleaved, so that a slow stretch of the machine hits every row alike.
  for (int round = 0; round < kRounds; ++round) {
    auto start = Clock::now();
    allAnswered = BareEcho(icmp) && allAnswered;
    bare.push_back(Microseconds(start));

    start = Clock::now();
    const HANDLE own = IcmpCreateFile();
    allAnswered = BareEcho(own) && allAnswered;
    IcmpCloseHandle(own);
    withHandle.push_back(Microseconds(start));

    start = Clock::now();
    WSADATA data{};
    if (WSAStartup(tarvix::kSocketsVersion, &data) == 0) WSACleanup();
    sockets.push_back(Microseconds(start));

    start = Clock::now();
    for (int point = 0; point < kPumpPoints; ++point) tarvix::ProcessPendingMessages(kPassesPerPoint);
    pumping.push_back(Microseconds(start));

    start = Clock::now();
    allAnswered = tarvix::PingHost("127.0.0.1", kTimeout) && allAnswered;
    pingHost.push_back(Microseconds(start));
  }
  IcmpCloseHandle(icmp);

  if (!allAnswered || !platform.messages.empty()) {
    std::printf("a ping went unanswered or the sockets layer complained (%zu messages)\n",
                platform.messages.size());
    return 1;
  }
  const double bareMedian = Median(bare);
  const double pingMedian = Median(pingHost);
  std::printf("ping of 127.0.0.1, median of %d rounds:\n", kRounds);
  std::printf("  bare IcmpSendEcho (handle already open)      %9.1f us\n", bareMedian);
  std::printf("  IcmpCreateFile + IcmpSendEcho + close        %9.1f us\n", Median(withHandle));
  std::printf("  WSAStartup(1.1) + WSACleanup alone           %9.1f us\n", Median(sockets));
  std::printf("  message pumping alone (%d x %d passes)         %9.1f us\n", kPumpPoints, kPassesPerPoint,
              Median(pumping));
  std::printf("  PingHost(\"127.0.0.1\", 10000)                %9.1f us\n", pingMedian);
  std::printf("overhead of PingHost over the bare echo         %9.1f us\n", pingMedian - bareMedian);
  std::printf("ratio PingHost / bare IcmpSendEcho              %9.2f\n", pingMedian / bareMedian);
  std::printf("BENCH|PingHost(127.0.0.1)|%.1f|us|bare IcmpSendEcho|%.1f\n", pingMedian, bareMedian);
  return 0;
}
