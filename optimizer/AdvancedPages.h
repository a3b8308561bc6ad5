#pragma once
// The fixed texts of the advanced editor's pages: explanations and
// recommendations, page by page. Captions of frames, check boxes and
// buttons keep "&&" for a shown "&"; these texts go to labels, which show
// every character as it is.
#include <string_view>

namespace tarvix::advanced::text {

// Page 0: connection type.
inline constexpr std::string_view kConnectionQuestion = "How do you connect to the internet?";
inline constexpr std::string_view kConnectionHint =
    "Your answer sets the values that the next pages recommend.";

// Page 1: MTU and MSS.
inline constexpr std::string_view kMtuExplanation =
    "The MTU (Maximum Transmission Unit) is the largest packet your connection carries in one piece; "
    "the MSS (Maximum Segment Size) is the data inside it, the MTU less 40 bytes of headers.";
inline constexpr std::string_view kMtuCaption = "MTU :";
inline constexpr std::string_view kMssCaption = "MSS :";
inline constexpr std::string_view kMtuRecommended = "Recommended MTU size";
inline constexpr std::string_view kMssRecommended = "Recommended MSS size";
inline constexpr std::string_view kFindMtuCaption = "Find largest MTU";
inline constexpr std::string_view kFindMtuCancel = "Cancel";
inline constexpr std::string_view kMtuHostCaption = "Host :";
inline constexpr std::string_view kFindMtuHint = "Measures your line to the host and fills in both boxes.";

// Page 2: black-hole detection and path MTU discovery.
inline constexpr std::string_view kBlackHoleExplanation =
    "Black-hole routers silently drop packets too large for them; detection makes Windows retry with "
    "smaller ones.";
inline constexpr std::string_view kBlackHoleRecommended =
    "Recommended to be DISABLED since it imposes extra transmission overhead.";
inline constexpr std::string_view kDiscoveryExplanation =
    "Path MTU discovery finds the largest packet that passes every router on the way.";
inline constexpr std::string_view kDiscoveryRecommended = "Recommended to be.";
inline constexpr std::string_view kDiscoveryRecommendedValue = "ENABLED";

// Page 3: the receive window.
inline constexpr std::string_view kRwinExplanation =
    "The receive window (RWIN) is how much data may arrive before your computer has to acknowledge it. "
    "It should be an even multiple of the MSS:";
inline constexpr std::string_view kRwinMss = "MSS";
inline constexpr std::string_view kRwinMultiplier = "Multiplier";
inline constexpr std::string_view kRwinScaleFactor = "Scale Factor";
inline constexpr std::string_view kRwinResult = "RWIN";
inline constexpr std::string_view kRwinRecommended = "Recommended RWIN size  : ";

// Page 4: TTL and the browser's connections.
inline constexpr std::string_view kTtlExplanation =
    "The value of TTL (Time To Live) defines how long a packet can stay active before it is discarded.";
inline constexpr std::string_view kTtlCaption = "TTL :";
inline constexpr std::string_view kTtlRecommended = "Recommended TTL  :";
inline constexpr std::string_view kTtlRecommendedValue = "64 Seconds";
inline constexpr std::string_view kHttpExplanation =
    "How many connections the web browser opens at once to one HTTP 1.0 or HTTP 1.1 server.";
inline constexpr std::string_view kHttp10Caption = "HTTP 1.0 :";
inline constexpr std::string_view kHttp11Caption = "HTTP 1.1 :";
inline constexpr std::string_view kHttp10Recommended = "Recommended value for HTTP 1.0  :";
inline constexpr std::string_view kHttp11Recommended = "Recommended value for HTTP 1.1  :";
inline constexpr std::string_view kHttpRecommendedValue = "20";

// Page 5: keep-alive.
inline constexpr std::string_view kKeepAliveExplanation =
    "Keep Alive Time is how long a connection may stay idle before Windows checks that the other side is "
    "still there; Keep Alive Interval is the wait between unanswered checks.";
inline constexpr std::string_view kKeepAliveTimeCaption = "Keep Alive Time :";
inline constexpr std::string_view kKeepAliveIntervalCaption = "Keep Alive Interval :";
inline constexpr std::string_view kKeepAliveTimeRecommended = "Recommended Keep Alive Time :";
inline constexpr std::string_view kKeepAliveTimeRecommendedValue = "7200000 milliseconds.";
inline constexpr std::string_view kKeepAliveIntervalRecommended = "Recommended Keep Alive Interval  :";
inline constexpr std::string_view kKeepAliveIntervalRecommendedValue = "1000 milliseconds.";

// Page 6: SYN flood protection and the NDI cache.
inline constexpr std::string_view kSynExplanation =
    "A SYN flood fills your computer with half-open connections until it cannot accept real ones.";
inline constexpr std::string_view kSynQuestion = "What will be your decision?";
inline constexpr std::string_view kSynLevel0 = "0 - (default) - typical protection against SYN attacks.";
inline constexpr std::string_view kSynLevel1 = "1 - better protection against SYN attacks.";
inline constexpr std::string_view kSynLevel2 = "2 - (recommended) - best protection against SYN attacks.";
inline constexpr std::string_view kNdiRecommended = "NDI recommended Value";
inline constexpr std::string_view kNdiCaption = "(NDI cache size)";
inline constexpr std::string_view kNdiExplanation =
    "16 is appropriate for modem use, 32 is used for all other types of connections.";

// Page 7: ICMP redirects.
inline constexpr std::string_view kIcmpExplanation =
    "ICMP redirect packets tell your computer to send its traffic through another router. An attacker can "
    "send many of them, and processing them all can stall the computer.";
inline constexpr std::string_view kIcmpRecommended = "Recommended to be DISABLED.";

}  // namespace tarvix::advanced::text
