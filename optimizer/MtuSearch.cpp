#include "optimizer/MtuSearch.h"

#include <algorithm>
#include <optional>

namespace tarvix::mtu {
namespace {

// The state of one search: the largest MTU known to pass and the smallest
// known to fail, with the answer that failed it.
class Search {
 public:
  Search(EchoProbe& probe, int interfaceMtu) : probe_(probe), bound_(interfaceMtu), bad_(interfaceMtu + 1) {}

  MtuOutcome Run() {
    if (bound_ < kSmallestMtu) return Finish(MtuOutcome::Kind::BadBound);
    if (!Try(bound_)) return Cancel();
    if (good_ == 0 && bound_ > kEthernetMtu) {
      // Behind a jumbo interface the path is most often Ethernet's.
      if (!Try(kEthernetMtu)) return Cancel();
      if (good_ == kEthernetMtu && !Try(kEthernetMtu + 1)) return Cancel();
    }
    while (bad_ - Floor() > 1 && requests_ < kMaxRequests - Reserve()) {
      if (!Try(Floor() + (bad_ - Floor()) / 2)) return Cancel();
    }
    if (good_ > 0) return Found();
    if (requests_ >= kMaxRequests) return Finish(MtuOutcome::Kind::NoAnswer);
    // Nothing from 576 bytes up came back: does anything?
    const std::optional<EchoAnswer> small = Send(kSmallPayload);
    if (!small) return Cancel();
    return Finish(*small == EchoAnswer::Reply ? MtuOutcome::Kind::TooSmallPath : MtuOutcome::Kind::NoAnswer);
  }

 private:
  // Below the smallest size searched, "known to pass" is 575.
  [[nodiscard]] int Floor() const noexcept { return std::max(good_, kSmallestMtu - 1); }
  // Until anything comes back, one request stays free for the small echo.
  [[nodiscard]] int Reserve() const noexcept { return good_ > 0 ? 0 : 1; }

  std::optional<EchoAnswer> Send(int payload) {
    if (probe_.Cancelled()) return std::nullopt;
    probe_.Trying(payload);
    ++requests_;
    return probe_.Send(payload);
  }

  // One request for `mtu`; false when the user cancelled first.
  bool Try(int mtu) {
    const std::optional<EchoAnswer> answer = Send(mtu - kEchoHeaders);
    if (!answer) return false;
    if (*answer == EchoAnswer::Reply) {
      good_ = std::max(good_, mtu);
    } else if (mtu < bad_) {
      bad_ = mtu;
      badAnswer_ = *answer;
    }
    return true;
  }

  MtuOutcome Found() const {
    MtuOutcome outcome = Finish(MtuOutcome::Kind::Found);
    outcome.mtu = good_;
    outcome.exact = bad_ == good_ + 1;
    if (bad_ > bound_) {
      outcome.limit = MtuOutcome::Limit::Interface;
    } else {
      outcome.limit = badAnswer_ == EchoAnswer::FragmentationNeeded ? MtuOutcome::Limit::FragmentationNeeded
                                                                     : MtuOutcome::Limit::BlackHole;
    }
    return outcome;
  }

  MtuOutcome Cancel() const {
    MtuOutcome outcome = Finish(MtuOutcome::Kind::Cancelled);
    outcome.mtu = good_;
    return outcome;
  }

  MtuOutcome Finish(MtuOutcome::Kind kind) const {
    MtuOutcome outcome;
    outcome.kind = kind;
    outcome.requests = requests_;
    // The smallest size that failed, for the message about a path that
    // carries only small packets.
    if (kind == MtuOutcome::Kind::TooSmallPath) outcome.mtu = bad_;
    return outcome;
  }

  EchoProbe& probe_;
  int bound_;
  int good_ = 0;
  int bad_;
  EchoAnswer badAnswer_ = EchoAnswer::NoAnswer;
  int requests_ = 0;
};

}  // namespace

MtuOutcome SearchLargestMtu(EchoProbe& probe, int interfaceMtu) { return Search(probe, interfaceMtu).Run(); }

std::string TryingText(int payload) { return "Trying " + std::to_string(payload) + " bytes\xE2\x80\xA6"; }

std::string OutcomeText(const MtuOutcome& outcome) {
  // One line under the button: at most about 58 characters.
  const std::string mtu = std::to_string(outcome.mtu);
  switch (outcome.kind) {
    case MtuOutcome::Kind::Found: {
      const std::string size = (outcome.exact ? "Largest MTU: " : "MTU at least ") + mtu + " bytes";
      switch (outcome.limit) {
        case MtuOutcome::Limit::Interface:
          return size + " (your network adapter's own).";
        case MtuOutcome::Limit::FragmentationNeeded:
          return size + "; larger got \"fragmentation needed\".";
        case MtuOutcome::Limit::BlackHole:
          return size + "; larger ones vanish (black hole).";
      }
      return size + ".";
    }
    case MtuOutcome::Kind::NoAnswer:
      return "The host does not answer at all, not even small packets.";
    case MtuOutcome::Kind::TooSmallPath:
      return "Only small packets come back; " + mtu + " bytes and more vanish.";
    case MtuOutcome::Kind::Cancelled:
      return outcome.mtu > 0 ? "Cancelled; " + mtu + " bytes got through." : "Cancelled.";
    case MtuOutcome::Kind::BadBound:
      return "The network adapter's MTU is below 576 bytes.";
  }
  return {};
}

}  // namespace tarvix::mtu
