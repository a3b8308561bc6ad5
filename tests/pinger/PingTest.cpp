#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakePingNetwork.h"
#include "pinger/Ping.h"
#include "support/FakePlatform.h"

namespace tarvix {
namespace {

using testing::FakePingNetwork;
using testing::FakePlatform;
using testing::Ipv4;

constexpr DWORD kTimeout = 10000;

struct PingFixture : ::testing::Test {
  FakePlatform platform;
  FakePingNetwork network;

  void ExpectBalanced() {
    EXPECT_EQ(network.startUps, network.cleanUps);
    EXPECT_TRUE(platform.messages.empty());
  }
  std::vector<IPAddr> EchoAddresses() const {
    std::vector<IPAddr> addresses;
    for (const auto& echo : network.echoes) addresses.push_back(echo.address);
    return addresses;
  }
};

using PingHostTest = PingFixture;

TEST_F(PingHostTest, DottedAddressIsSentAsIsWithoutLookup) {
  EXPECT_TRUE(PingHost("10.0.0.1", kTimeout));
  EXPECT_TRUE(network.lookups.empty());
  ASSERT_EQ(network.echoes.size(), 1u);
  const auto& echo = network.echoes[0];
  EXPECT_EQ(echo.address, Ipv4(10, 0, 0, 1));
  EXPECT_EQ(echo.payload, "Echo This");
  EXPECT_EQ(echo.replySize, sizeof(ICMP_ECHO_REPLY) + 250);
  EXPECT_EQ(echo.timeout, kTimeout);
  EXPECT_TRUE(network.echoHandleValid[0]);
  EXPECT_EQ(network.socketsAtEcho, std::vector<int>{1});
  ExpectBalanced();
}

TEST_F(PingHostTest, AddressPartsAreTakenModulo256AndBlanksIgnored) {
  EXPECT_TRUE(PingHost("300.1.2.3", kTimeout));
  EXPECT_TRUE(PingHost(" \t10.0.0.1  ", kTimeout));
  EXPECT_EQ(EchoAddresses(), (std::vector<IPAddr>{Ipv4(44, 1, 2, 3), Ipv4(10, 0, 0, 1)}));
  EXPECT_TRUE(network.lookups.empty());
  ExpectBalanced();
}

TEST_F(PingHostTest, ShortAddressesGoToZeroWithoutLookup) {
  network.echoReplies = 0;
  network.writeReply = false;
  network.echoError = ERROR_INVALID_NETNAME;  // what the system answers for 0.0.0.0
  EXPECT_FALSE(PingHost("1.2.3", kTimeout));
  EXPECT_FALSE(PingHost("123.word", kTimeout));
  EXPECT_EQ(EchoAddresses(), (std::vector<IPAddr>{0, 0}));
  EXPECT_TRUE(network.lookups.empty());
  ExpectBalanced();
}

TEST_F(PingHostTest, MalformedAddressesSendNothing) {
  for (const char* host : {"1.2.3.4.5", "1.2.3.x", "1..3.4", "10.0.0.1."}) {
    EXPECT_FALSE(PingHost(host, kTimeout)) << host;
  }
  EXPECT_TRUE(network.echoes.empty());
  EXPECT_TRUE(network.lookups.empty());
  EXPECT_EQ(network.startUps, 4);
  ExpectBalanced();
}

TEST_F(PingHostTest, BlankHostsDoNotStartSockets) {
  for (const char* host : {"", "   ", "\t \t"}) EXPECT_FALSE(PingHost(host, kTimeout));
  EXPECT_EQ(network.startUps, 0);
  EXPECT_EQ(network.cleanUps, 0);
  EXPECT_TRUE(network.echoes.empty());
}

TEST_F(PingHostTest, MixedFirstPartIsLookedUpAndFirstAddressPinged) {
  network.hosts["3abc.example"] = {{127, 0, 0, 1}, {10, 9, 8, 7}};
  EXPECT_TRUE(PingHost("3abc.example", kTimeout));
  EXPECT_EQ(network.lookups, std::vector<std::string>{"3abc.example"});
  EXPECT_EQ(network.socketsAtLookup, std::vector<int>{2});  // nested inside the ping's own
  EXPECT_EQ(EchoAddresses(), std::vector<IPAddr>{Ipv4(127, 0, 0, 1)});
  ExpectBalanced();
}

TEST_F(PingHostTest, UnresolvedOrEmptyNamesAreNotPinged) {
  network.hosts["empty.example"] = {};
  EXPECT_FALSE(PingHost("3abc.invalid", kTimeout));
  EXPECT_FALSE(PingHost("empty.example", kTimeout));
  EXPECT_EQ(network.lookups, (std::vector<std::string>{"3abc.invalid", "empty.example"}));
  EXPECT_TRUE(network.echoes.empty());
  ExpectBalanced();
}

TEST_F(PingHostTest, NameWithoutDotIsResolvedByTheAddressParser) {
  network.hosts["localhost"] = {{127, 0, 0, 1}};
  EXPECT_TRUE(PingHost("localhost", kTimeout));
  EXPECT_EQ(network.lookups, std::vector<std::string>{"localhost"});
  EXPECT_EQ(network.socketsAtLookup, std::vector<int>{2});
  EXPECT_EQ(EchoAddresses(), std::vector<IPAddr>{Ipv4(127, 0, 0, 1)});

  // An unknown one goes to address 0, where only a real success would count.
  network.echoReplies = 0;
  network.writeReply = false;
  EXPECT_FALSE(PingHost("nosuchhost", kTimeout));
  EXPECT_EQ(EchoAddresses(), (std::vector<IPAddr>{Ipv4(127, 0, 0, 1), 0}));
  ExpectBalanced();
}

// How the echo call's outcome becomes SendEcho's number and PingHost's answer.
struct StatusCase {
  const char* what;
  DWORD replies;
  bool writeReply;
  ULONG status;
  DWORD error;
  std::int32_t sendEcho;
  bool answered;
};

TEST_F(PingHostTest, ReplyStatusMapping) {
  const StatusCase cases[] = {
      {"success", 1, true, IP_SUCCESS, 0, 7, true},
      {"timed out", 0, true, IP_REQ_TIMED_OUT, IP_REQ_TIMED_OUT, -IP_REQ_TIMED_OUT, false},
      {"unreachable reply", 1, true, IP_DEST_HOST_UNREACHABLE, 0, 7, false},
      {"unreachable, no reply", 0, true, IP_DEST_HOST_UNREACHABLE, 0, -IP_DEST_HOST_UNREACHABLE, false},
      // Nothing written: the cleared status 0 must not read as success.
      {"failed, nothing written", 0, false, IP_SUCCESS, IP_REQ_TIMED_OUT, -IP_REQ_TIMED_OUT, false},
      {"failed, no reason", 0, false, IP_SUCCESS, 0, -IP_GENERAL_FAILURE, false},
      {"success status, zero replies", 0, true, IP_SUCCESS, 0, -IP_GENERAL_FAILURE, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    network.echoReplies = c.replies;
    network.writeReply = c.writeReply;
    network.echoStatus = c.status;
    network.echoError = c.error;
    EchoReplyBuffer reply;
    EXPECT_EQ(SendEcho("127.0.0.1", reply, kTimeout), c.sendEcho);
    EXPECT_EQ(reply.replyCount, c.replies);
    EXPECT_EQ(reply.Answered(), c.answered);
    EXPECT_EQ(PingHost("127.0.0.1", kTimeout), c.answered);
  }
  ExpectBalanced();
}

TEST_F(PingHostTest, SendEchoForgetsAnEarlierReply) {
  EchoReplyBuffer reply;
  ASSERT_EQ(SendEcho("127.0.0.1", reply, kTimeout), 7);
  ASSERT_TRUE(reply.Answered());
  network.echoReplies = 0;
  network.writeReply = false;
  EXPECT_LT(*SendEcho("127.0.0.1", reply, kTimeout), 0);
  EXPECT_FALSE(reply.Answered());
  EXPECT_EQ(reply.Reply().Status, 0u);
  EXPECT_FALSE(SendEcho("1.2.3.4.5", reply, kTimeout).has_value());
  EXPECT_EQ(network.echoes.size(), 2u);
}

using SocketsTest = PingFixture;

TEST_F(SocketsTest, StartupFailureIsReportedAndNothingSent) {
  network.startUpResult = WSASYSNOTREADY;
  EXPECT_FALSE(PingHost("10.0.0.1", kTimeout));
  EXPECT_FALSE(ResolveHostAddresses("localhost").has_value());
  EXPECT_EQ(ParseDottedAddress("localhost"), 0u);
  EXPECT_TRUE(network.echoes.empty());
  EXPECT_TRUE(network.lookups.empty());
  EXPECT_EQ(network.cleanUps, 0);
  ASSERT_EQ(platform.messages.size(), 3u);
  EXPECT_EQ(platform.messages[0].text,
            "Windows Sockets for 32 bit Windows environments is not successfully responding.");
  EXPECT_EQ(platform.messages[0].title, "Tarvix");
  EXPECT_EQ(platform.messages[0].flags, static_cast<UINT>(MB_OK));
}

TEST_F(SocketsTest, GrantedVersionBelow11IsRefusedAndStopped) {
  struct {
    WORD granted;
    const char* text;
  } const refused[] = {
      {0x0001, "Windows Sockets Version 1.0 is not supported by Windows Sockets for 32 bit Windows environments."},
      {0x0100, "Windows Sockets Version 0.1 is not supported by Windows Sockets for 32 bit Windows environments."},
  };
  for (const auto& r : refused) {
    platform.messages.clear();
    network.grantedVersion = r.granted;
    EXPECT_FALSE(StartSockets());
    EXPECT_EQ(network.SocketsInUse(), 0);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, r.text);
    EXPECT_EQ(platform.messages[0].flags, static_cast<UINT>(MB_OK | MB_ICONWARNING));
  }
  platform.messages.clear();
  for (const WORD granted : {WORD{0x0101}, WORD{0x0201}, WORD{0x0002}, WORD{0x0202}}) {
    network.grantedVersion = granted;
    EXPECT_TRUE(StartSockets()) << granted;
    StopSockets();
  }
  ExpectBalanced();
}

TEST_F(SocketsTest, NoSocketsIsRefusedAndStopped) {
  network.maxSockets = 0;
  EXPECT_FALSE(PingHost("10.0.0.1", kTimeout));
  EXPECT_TRUE(network.echoes.empty());
  EXPECT_EQ(network.SocketsInUse(), 0);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text, "This application requires a minimum of 1 supported sockets.");
  EXPECT_EQ(platform.messages[0].flags, static_cast<UINT>(MB_OK | MB_ICONWARNING));
}

TEST_F(SocketsTest, CleanupFailureIsReportedForEachStop) {
  network.cleanUpResult = SOCKET_ERROR;
  network.hosts["host.example"] = {{127, 0, 0, 1}};
  EXPECT_TRUE(PingHost("10.0.0.1", kTimeout));
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text, "Windows Sockets error -1 occurred in Cleanup.");
  EXPECT_EQ(platform.messages[0].flags, static_cast<UINT>(MB_OK | MB_ICONWARNING));
  EXPECT_TRUE(PingHost("host.example", kTimeout));  // the lookup stops once more
  EXPECT_EQ(platform.messages.size(), 3u);
  EXPECT_EQ(network.startUps, network.cleanUps);
}

TEST_F(SocketsTest, LookupListsEveryAddressInOrder) {
  network.hosts["multi.example"] = {{10, 0, 0, 2}, {192, 168, 200, 1}};
  EXPECT_EQ(ResolveHostAddresses("multi.example"),
            (std::vector<std::string>{"10.0.0.2", "192.168.200.1"}));
  EXPECT_EQ(ResolveHostAddresses("missing.example"), std::vector<std::string>{});
  EXPECT_EQ(ParseDottedAddress("multi"), 0u);
  network.hosts["multi"] = network.hosts["multi.example"];
  EXPECT_EQ(ParseDottedAddress("multi"), Ipv4(10, 0, 0, 2));
  EXPECT_EQ(ParseDottedAddress(""), 0u);  // not looked up: that would be this machine
  EXPECT_EQ(network.lookups, (std::vector<std::string>{"multi.example", "missing.example", "multi", "multi"}));
  ExpectBalanced();
}

// Counts the messages that reach a message-only window.
class CountingWindow {
 public:
  static constexpr UINT kMessage = WM_APP + 40;
  CountingWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TarvixPingTestCounter";
    RegisterClassA(&wc);
    hwnd_ = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            wc.hInstance, nullptr);
  }
  ~CountingWindow() { DestroyWindow(hwnd_); }
  CountingWindow(const CountingWindow&) = delete;
  CountingWindow& operator=(const CountingWindow&) = delete;
  [[nodiscard]] HWND get() const noexcept { return hwnd_; }
  static inline int count = 0;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kMessage) {
      ++count;
      return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
  }
  HWND hwnd_ = nullptr;
};

TEST_F(PingHostTest, PendingMessagesRunBeforeAndAfterTheEcho) {
  CountingWindow window;
  ASSERT_NE(window.get(), nullptr);
  CountingWindow::count = 0;
  int seenAtEcho = -1;
  network.duringEcho = [&] {
    seenAtEcho = CountingWindow::count;
    PostMessageA(window.get(), CountingWindow::kMessage, 0, 0);
  };
  ASSERT_TRUE(PostMessageA(window.get(), CountingWindow::kMessage, 0, 0));
  EXPECT_TRUE(PingHost("10.0.0.1", kTimeout));
  EXPECT_EQ(seenAtEcho, 1);
  EXPECT_EQ(CountingWindow::count, 2);
}

TEST_F(PingHostTest, QuitRequestSurvivesThePing) {
  CountingWindow window;
  CountingWindow::count = 0;
  PostMessageA(window.get(), CountingWindow::kMessage, 0, 0);
  PostQuitMessage(3);
  EXPECT_TRUE(PingHost("10.0.0.1", kTimeout));
  EXPECT_EQ(CountingWindow::count, 1);
  MSG msg{};
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 3u);
}

// The real system, loopback only.
TEST(PingLoopback, LoopbackAddressAndLocalhostAnswer) {
  FakePlatform platform;
  EXPECT_TRUE(PingHost("127.0.0.1", kTimeout));
  EXPECT_TRUE(PingHost("localhost", kTimeout));
  EchoReplyBuffer reply;
  const auto rtt = SendEcho("127.0.0.1", reply, kTimeout);
  ASSERT_TRUE(rtt.has_value());
  EXPECT_GE(*rtt, 0);
  EXPECT_EQ(reply.replyCount, 1u);
  EXPECT_EQ(reply.Reply().Status, static_cast<ULONG>(IP_SUCCESS));
  EXPECT_EQ(reply.Reply().Address, Ipv4(127, 0, 0, 1));
  EXPECT_EQ(ParseDottedAddress("localhost"), Ipv4(127, 0, 0, 1));
  EXPECT_TRUE(platform.messages.empty());
}

TEST(PingLoopback, NameThatCannotResolveIsNotAnswered) {
  FakePlatform platform;
  // The reserved top-level name .invalid never resolves, so nothing is sent.
  EXPECT_EQ(ResolveHostAddresses("no-such-host.invalid"), std::vector<std::string>{});
  EXPECT_FALSE(PingHost("no-such-host.invalid", kTimeout));
  EXPECT_FALSE(PingHost("3abc.no-such-host.invalid", kTimeout));
  EXPECT_TRUE(platform.messages.empty());
}

TEST(PingLoopback, RealCallsBalanceOnEveryPath) {
  FakePlatform platform;
  FakePingNetwork network;
  network.forwardToSystem = true;
  EXPECT_TRUE(PingHost("127.0.0.1", kTimeout));
  EXPECT_TRUE(PingHost("localhost", kTimeout));
  EXPECT_FALSE(PingHost("tarvix-no-such-host.invalid", kTimeout));
  EXPECT_FALSE(PingHost("127.0.0.1.5", kTimeout));
  EXPECT_FALSE(PingHost("  ", kTimeout));
  EXPECT_EQ(network.lookups, (std::vector<std::string>{"localhost", "tarvix-no-such-host.invalid"}));
  EXPECT_EQ(network.socketsAtLookup, (std::vector<int>{2, 2}));
  ASSERT_EQ(network.echoes.size(), 2u);
  EXPECT_EQ(network.echoes[0].address, Ipv4(127, 0, 0, 1));
  EXPECT_EQ(network.echoes[1].address, Ipv4(127, 0, 0, 1));
  EXPECT_EQ(network.startUps, 6);
  EXPECT_EQ(network.cleanUps, 6);
  EXPECT_TRUE(platform.messages.empty());
}

}  // namespace
}  // namespace tarvix
