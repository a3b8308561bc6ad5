// The largest-MTU search against a fake path: every path MTU from 576 up to
// the interface's, hosts that never answer, routers that say "fragmentation
// needed" and routers that drop large packets without a word, a cancel in the
// middle, and never more than a dozen requests.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "optimizer/MtuSearch.h"

namespace tarvix::mtu {
namespace {

// A path whose smallest link is `pathMtu`; larger packets get `tooBig`.
class FakePath final : public EchoProbe {
 public:
  explicit FakePath(int pathMtu, EchoAnswer tooBig = EchoAnswer::FragmentationNeeded)
      : pathMtu_(pathMtu), tooBig_(tooBig) {}

  EchoAnswer Send(int payload) override {
    sent.push_back(payload);
    if (silent) return EchoAnswer::NoAnswer;
    return payload + kEchoHeaders <= pathMtu_ ? EchoAnswer::Reply : tooBig_;
  }
  bool Cancelled() override { return cancelAfter >= 0 && static_cast<int>(sent.size()) >= cancelAfter; }
  void Trying(int payload) override { announced.push_back(payload); }

  bool silent = false;
  int cancelAfter = -1;  // cancel once this many requests were sent
  std::vector<int> sent;
  std::vector<int> announced;

 private:
  int pathMtu_;
  EchoAnswer tooBig_;
};

TEST(MtuSearch, FindsEveryPathMtuBelowAnEthernetAdapterExactly) {
  for (const EchoAnswer tooBig : {EchoAnswer::FragmentationNeeded, EchoAnswer::NoAnswer}) {
    for (int path = kSmallestMtu; path <= 1500; ++path) {
      FakePath fake(path, tooBig);
      const MtuOutcome outcome = SearchLargestMtu(fake, 1500);
      ASSERT_EQ(outcome.kind, MtuOutcome::Kind::Found) << path;
      ASSERT_EQ(outcome.mtu, path);
      ASSERT_TRUE(outcome.exact) << path;
      ASSERT_LE(outcome.requests, kMaxRequests) << path;
      ASSERT_EQ(outcome.requests, static_cast<int>(fake.sent.size()));
      ASSERT_EQ(fake.announced, fake.sent) << "each request is announced before it is sent";
      if (path == 1500) {
        EXPECT_EQ(outcome.limit, MtuOutcome::Limit::Interface);
        EXPECT_EQ(outcome.requests, 1) << "the adapter's own size is tried first";
      } else {
        EXPECT_EQ(outcome.limit, tooBig == EchoAnswer::NoAnswer ? MtuOutcome::Limit::BlackHole
                                                                 : MtuOutcome::Limit::FragmentationNeeded);
      }
    }
  }
}

TEST(MtuSearch, FindsTheAdapterSizeAndCommonLinksOnEveryAdapterUpTo9000) {
  // Whatever the adapter, a path as large as the adapter takes one request.
  for (const int adapter : {576, 1006, 1280, 1400, 1492, 1500, 4352, 4470, 7981, 9000}) {
    FakePath fake(9000);
    const MtuOutcome outcome = SearchLargestMtu(fake, adapter);
    EXPECT_EQ(outcome.mtu, adapter);
    EXPECT_TRUE(outcome.exact);
    EXPECT_EQ(outcome.limit, MtuOutcome::Limit::Interface);
    EXPECT_EQ(outcome.requests, 1);
  }
  // Behind a jumbo adapter: every path up to 1500 is still exact in a dozen.
  for (int path = kSmallestMtu; path <= 1500; ++path) {
    FakePath fake(path);
    const MtuOutcome outcome = SearchLargestMtu(fake, 9000);
    ASSERT_EQ(outcome.mtu, path);
    ASSERT_TRUE(outcome.exact) << path;
    ASSERT_LE(outcome.requests, kMaxRequests) << path;
  }
  FakePath ethernet(1500);
  EXPECT_EQ(SearchLargestMtu(ethernet, 9000).requests, 3) << "9000, then 1500 and 1501";
}

TEST(MtuSearch, NeverClaimsMoreThanGotThroughOnWideAdapters) {
  // Above 1501 a 9000-byte adapter leaves too many sizes for a dozen
  // halvings: the answer is the largest size that came back, never larger
  // than the path, and says whether it is exact.
  for (int path = 1502; path < 9000; ++path) {
    FakePath fake(path, EchoAnswer::NoAnswer);
    const MtuOutcome outcome = SearchLargestMtu(fake, 9000);
    ASSERT_EQ(outcome.kind, MtuOutcome::Kind::Found);
    ASSERT_LE(outcome.mtu, path);
    ASSERT_GE(outcome.mtu, path - 15) << "nine halvings of 7498 sizes";
    ASSERT_TRUE(!outcome.exact || outcome.mtu == path) << path << ": exact means proven";
    ASSERT_LE(outcome.requests, kMaxRequests);
  }
}

TEST(MtuSearch, TellsASilentHostFromAPathThatDropsLargePackets) {
  for (const int adapter : {576, 1500, 9000}) {
    FakePath silent(1500);
    silent.silent = true;
    const MtuOutcome none = SearchLargestMtu(silent, adapter);
    EXPECT_EQ(none.kind, MtuOutcome::Kind::NoAnswer) << adapter;
    EXPECT_LE(none.requests, kMaxRequests);
    EXPECT_EQ(silent.sent.back(), kSmallPayload) << "the last request is the small one";

    FakePath narrow(300, EchoAnswer::NoAnswer);  // a black hole for everything from 301 bytes
    const MtuOutcome small = SearchLargestMtu(narrow, adapter);
    EXPECT_EQ(small.kind, MtuOutcome::Kind::TooSmallPath) << adapter;
    EXPECT_LE(small.requests, kMaxRequests);
    EXPECT_GE(small.mtu, kSmallestMtu);
  }
}

TEST(MtuSearch, CancelStopsBeforeTheNextRequestAndKeepsWhatGotThrough) {
  FakePath fake(1400);
  fake.cancelAfter = 4;
  const MtuOutcome outcome = SearchLargestMtu(fake, 1500);
  EXPECT_EQ(outcome.kind, MtuOutcome::Kind::Cancelled);
  EXPECT_EQ(outcome.requests, 4);
  EXPECT_EQ(fake.sent.size(), 4u);
  EXPECT_GT(outcome.mtu, 0);
  EXPECT_LE(outcome.mtu, 1400);

  FakePath before(1400);
  before.cancelAfter = 0;
  const MtuOutcome none = SearchLargestMtu(before, 1500);
  EXPECT_EQ(none.kind, MtuOutcome::Kind::Cancelled);
  EXPECT_EQ(none.mtu, 0);
  EXPECT_TRUE(before.sent.empty());
}

TEST(MtuSearch, AnAdapterBelow576IsNotSearched) {
  FakePath fake(1500);
  EXPECT_EQ(SearchLargestMtu(fake, 575).kind, MtuOutcome::Kind::BadBound);
  EXPECT_TRUE(fake.sent.empty());
}

TEST(MtuSearch, TextsForTheUser) {
  EXPECT_EQ(TryingText(1472), "Trying 1472 bytes\xE2\x80\xA6");
  MtuOutcome found;
  found.kind = MtuOutcome::Kind::Found;
  found.mtu = 1400;
  found.exact = true;
  found.limit = MtuOutcome::Limit::FragmentationNeeded;
  EXPECT_EQ(OutcomeText(found), "Largest MTU: 1400 bytes; larger got \"fragmentation needed\".");
  found.limit = MtuOutcome::Limit::BlackHole;
  found.exact = false;
  EXPECT_EQ(OutcomeText(found), "MTU at least 1400 bytes; larger ones vanish (black hole).");
  found.limit = MtuOutcome::Limit::Interface;
  found.exact = true;
  EXPECT_EQ(OutcomeText(found), "Largest MTU: 1400 bytes (your network adapter's own).");
  EXPECT_EQ(MssForMtu(1400), 1360);
}

}  // namespace
}  // namespace tarvix::mtu
