#pragma once
// The search for the largest packet that reaches a host in one piece: echo
// requests with the don't-fragment flag, the payload size halved in on
// between one that got through and one that did not, below the MTU of the
// local interface (no larger packet leaves the machine unfragmented). Pure:
// the echoes go through EchoProbe, so the search runs against a fake path in
// tests and against IcmpSendEcho in the program.
#include <cstdint>
#include <string>

namespace tarvix::mtu {

// An echo request's IPv4 and ICMP headers: MTU = payload + 28.
inline constexpr int kEchoHeaders = 28;
// The IPv4 and TCP headers: MSS = MTU - 40.
inline constexpr int kTcpHeaders = 40;
// The smallest MTU the search looks for: every IPv4 host takes 576-byte
// datagrams, and the editor's dial-up setting is 576.
inline constexpr int kSmallestMtu = 576;
// Ethernet's MTU: behind a larger (jumbo) interface, the first size tried
// after the interface's own.
inline constexpr int kEthernetMtu = 1500;
// A payload that crosses any path: used once, when nothing from 576 bytes up
// came back, to tell a silent host from a path that drops every large packet.
inline constexpr int kSmallPayload = 32;
// No search sends more echo requests than this.
inline constexpr int kMaxRequests = 12;

// What one echo request with the don't-fragment flag brought back.
enum class EchoAnswer {
  Reply,                // the host answered: this size passes
  FragmentationNeeded,  // a router (or this machine) said the packet is too big
  NoAnswer,             // nothing within the time-out
};

class EchoProbe {
 public:
  virtual ~EchoProbe() = default;
  // Sends one echo request carrying `payload` bytes with don't-fragment set.
  virtual EchoAnswer Send(int payload) = 0;
  // Asked before every request: true stops the search.
  [[nodiscard]] virtual bool Cancelled() = 0;
  // Told the payload of each request before it is sent (progress).
  virtual void Trying(int /*payload*/) {}
};

struct MtuOutcome {
  enum class Kind {
    Found,        // mtu holds the largest size that got through
    NoAnswer,     // the host answered nothing at all, small packets neither
    TooSmallPath, // small echoes come back, but none of 576 bytes or more
    Cancelled,    // the user stopped it; mtu holds the largest size known to pass, or 0
    BadBound,     // the interface MTU is below 576: nothing to search
  };
  // What stopped the next larger size (Found): the interface itself, a
  // "fragmentation needed" answer, or silence (a black hole).
  enum class Limit { Interface, FragmentationNeeded, BlackHole };

  Kind kind = Kind::NoAnswer;
  int mtu = 0;         // bytes, headers included
  bool exact = false;  // Found: mtu + 1 was tried and failed (or mtu is the interface's)
  Limit limit = Limit::Interface;
  int requests = 0;    // echo requests sent
};

// Searches the largest MTU up to `interfaceMtu` with at most kMaxRequests
// requests. The interface's own size is tried first (it is the answer on
// most lines); then, on a jumbo interface, Ethernet's 1500 and 1501; then
// halves. While nothing has come back one request is held back for the small
// echo that tells a silent host from a black hole. When the requests run out
// before the sizes meet (only on interfaces far above 1500), the largest size
// that got through is the answer, marked not exact.
[[nodiscard]] MtuOutcome SearchLargestMtu(EchoProbe& probe, int interfaceMtu);

// The MSS that goes with an MTU.
[[nodiscard]] constexpr int MssForMtu(int mtu) noexcept { return mtu - kTcpHeaders; }

// "Trying 1472 bytes…" (UTF-8).
[[nodiscard]] std::string TryingText(int payload);
// One line for the user about the outcome, in UTF-8.
[[nodiscard]] std::string OutcomeText(const MtuOutcome& outcome);

}  // namespace tarvix::mtu
