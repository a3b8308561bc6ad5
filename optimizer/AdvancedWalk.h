#pragma once
// frmNormalMode without its window: the eight pages' tables, the numbers as
// the editor reads and writes them, the range validators, the receive-window
// computation and the page walk (Next, Back, Finish). The window keeps one
// AdvancedWalk per load, passes each user action to it and shows what it
// holds; the walk writes the fields of the parameter set it was given.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "optimizer/NetworkParameters.h"

namespace tarvix::advanced {

// ---------------------------------------------------------------- numbers

// A decimal number with optional sign, decimal point and exponent, blanks
// around it allowed ("12", " -3.5 ", "1e3", ".5", "7."). An empty text, a
// text with anything else in it, and a number too large for a double are not.
[[nodiscard]] bool IsNumber(std::string_view text) noexcept;
// The number that the text begins with, after leading blanks; 0 when it
// begins with none ("12abc" is 12, "abc" is 0).
[[nodiscard]] double LeadingNumber(std::string_view text) noexcept;
// The nearest whole number, halves to the even neighbour (2.5 is 2, 3.5 is
// 4), held to the 32-bit range; not-a-number gives 0.
[[nodiscard]] std::int32_t RoundToLong(double value) noexcept;
// A double as decimal text, fraction digits included: up to 15 significant
// digits without trailing zeros ("2904", "643.2"), E notation from 1E+15.
[[nodiscard]] std::string NumberText(double value);

// ---------------------------------------------------------------- tables

inline constexpr int kPageCount = 8;
// currWizardPage after Finish.
inline constexpr int kFinishedPage = 8;

inline constexpr std::array<std::string_view, kPageCount> kPageCaptions = {
    "Step 1 of 8 : Connection type",
    "Step 2 of 8 : MTU Settings",
    "Step 3 of 8 : Other MTU Settings",
    "Step 4 of 8 : RWIN Settings",
    "Step 5 of 8 : TTL && IE Optimization",
    "Step 6 of 8 :  Keep Alive Settigns",
    "Step 7 of 8 :  SYN Flood Attack Settings && NDI Cache",
    "Step 8 of 8 : ICMP Redirect Attack Setting",
};

inline constexpr std::string_view kNextCaption = "Next>>";
inline constexpr std::string_view kFinishCaption = "Finish";
inline constexpr std::string_view kBackCaption = "<<Back";

struct ConnectionType {
  std::string_view caption;
  std::int32_t mtu;
  std::string_view mtuLabel;
  std::int32_t mss;
  std::string_view mssLabel;
  std::int32_t multiplier;  // of the receive window
};

inline constexpr std::array<ConnectionType, 4> kConnectionTypes = {{
    {"Dial Up Connection (Modem).", 576, "576 Byte", 536, "536 Byte", 3},
    {"Cable Modem.", 1500, "1500 Byte", 1460, "1460 Byte", 44},
    {"Digital  Subscriber Line (DSL).", 1492, "1492 Byte", 1452, "1452Byte", 44},
    {"LAN Connection(Ethernet).", 1500, "1500 Byte", 1460, "1460 Byte", 44},
}};

inline constexpr std::array<std::string_view, 7> kNdiItems = {"0", "2", "4", "8", "16", "32", "64"};

// The largest TCP receive window with window scaling.
inline constexpr double kLargestWindow = 1073741823.0;
inline constexpr std::string_view kScaleFactor = "4";

// The text boxes of the pages.
enum class Box : int {
  MTU,                // txtMTUValue
  MSS,                // txtMSSValue
  MSSRWIN,            // txtMSSRWINValue (display only)
  Multiplier,         // txtMultiplier
  ScaleFactor,        // txtScaleFactor (display only)
  RWIN,               // txtRWIN (display only)
  TTL,                // txtTTLValue
  HTTP10,             // txtHTTP10Value
  HTTP11,             // txtHTTP11Value
  KeepAliveTime,      // txtKeepAliveTimeValue
  KeepAliveInterval,  // txtKeepAliveIntervalValue
  SYN,                // txtSYNValue (stepped by its up-down control)
  Count
};
inline constexpr std::size_t kBoxCount = static_cast<std::size_t>(Box::Count);

enum class Check : int {
  BlackHole,     // chkBlackHoleValue "Enable It?"
  MTUDiscovery,  // chkMTUDisconver "Disable it??"
  ICMP,          // chkICMPValue "Enable It?"
  Count
};
inline constexpr std::size_t kCheckCount = static_cast<std::size_t>(Check::Count);

// A box whose typing is checked against the field it edits.
struct RangeRule {
  Box box;
  std::int32_t NetworkParameterSet::*field;
  double lowest;
  double highest;
};

inline constexpr std::array<RangeRule, 7> kRangeRules = {{
    {Box::MTU, &NetworkParameterSet::MTU, 0, 2147483647},
    {Box::MSS, &NetworkParameterSet::MSS, 0, 2147483647},
    {Box::TTL, &NetworkParameterSet::TTL, 1, 255},  // D4.8: a TTL of 0 or 256 cannot be sent
    {Box::HTTP10, &NetworkParameterSet::MSCPS0, 4, 2147483647},
    {Box::HTTP11, &NetworkParameterSet::MSCPS1, 2, 2147483647},
    {Box::KeepAliveTime, &NetworkParameterSet::KeepAliveTime, 0, 2147483647},
    {Box::KeepAliveInterval, &NetworkParameterSet::KeepAliveInterval, 0, 2147483647},
}};

// The rule of `box`; nullptr for a box without one.
[[nodiscard]] const RangeRule* RangeRuleFor(Box box) noexcept;

// What a validated box must show instead of `text`, or nothing when `text`
// stands: a text that is not a number, or whose number lies outside the
// rule's range, is replaced by the decimal text of the field's current value
// (held to the range, so that the replacement always stands in its turn).
[[nodiscard]] std::optional<std::string> RangeCorrection(const RangeRule& rule, std::string_view text,
                                                         const NetworkParameterSet& set);

// The receive window MSS × multiplier × scale factor, in double precision,
// as the decimal text that txtRWIN shows.
[[nodiscard]] std::string WindowProduct(std::int32_t mss, std::string_view multiplier, std::string_view scaleFactor);

// ---------------------------------------------------------------- the walk

enum class NextResult {
  Ignored,   // Next is disabled
  Moved,     // a new page is shown
  Finished,  // the values are stored: apply them and return to the movie
};

class AdvancedWalk {
 public:
  // Form_Load: every control at its initial text, page 0 shown, Back
  // disabled, the first NDI item selected (so NDI becomes 0).
  // `connectionType` is the choice the window kept from an earlier opening
  // (0 at the first); page 0 shows it chosen.
  AdvancedWalk(NetworkParameterSet& parameters, int connectionType) noexcept;

  // optConnType_Click: an index outside 0 to 3 changes nothing.
  void ChooseConnectionType(int index) noexcept;
  // cmdNextPage_Click.
  NextResult Next();
  // cmdPrevPage_Click; nothing while Back is disabled.
  void Back() noexcept;
  // The box's text as it now stands (typing, the up-down control): runs the
  // box's change handler, which may put another text in its place.
  void TextChanged(Box box, std::string_view text);
  // A check box's new state (chkBlackHoleValue_Click and its kin).
  void CheckChanged(Check check, bool checked) noexcept;
  // cmbNDI_Click with the index of the chosen item; others change nothing.
  void SelectNdi(int index) noexcept;
  // The apply after Finish wrote nothing (no backup could be made): the
  // walk is back on page 7 with Finish enabled, so it can be tried again.
  void FinishFailed() noexcept;

  [[nodiscard]] int CurrentPage() const noexcept { return currWizardPage_; }
  [[nodiscard]] int VisiblePage() const noexcept { return visiblePage_; }
  [[nodiscard]] int ConnectionTypeIndex() const noexcept { return connectionType_; }
  [[nodiscard]] const std::string& Text(Box box) const noexcept { return texts_[Index(box)]; }
  [[nodiscard]] bool Checked(Check check) const noexcept { return checks_[static_cast<std::size_t>(check)]; }
  [[nodiscard]] int NdiIndex() const noexcept { return ndiIndex_; }
  [[nodiscard]] std::string_view NextCaption() const noexcept { return nextCaption_; }
  [[nodiscard]] bool NextEnabled() const noexcept { return nextEnabled_; }
  [[nodiscard]] bool BackEnabled() const noexcept { return backEnabled_; }
  [[nodiscard]] const std::string& MtuRecommendation() const noexcept { return mtuRecommendation_; }  // lblMTURecValue
  [[nodiscard]] const std::string& MssRecommendation() const noexcept { return mssRecommendation_; }  // lblMSSRecVaklue
  [[nodiscard]] const std::string& RwinRecommendation() const noexcept { return rwinRecommendation_; }  // lblRWINRecValue

 private:
  [[nodiscard]] static std::size_t Index(Box box) noexcept { return static_cast<std::size_t>(box); }
  [[nodiscard]] const ConnectionType& Type() const noexcept {
    return kConnectionTypes[static_cast<std::size_t>(connectionType_)];
  }
  // Sets a box's text as the program does; its change handler runs when the
  // text differs from what the box held.
  void Assign(Box box, std::string text);
  void OnChange(Box box);
  void MultiplierChanged();
  void EnterPage(int page);
  void Finish();

  NetworkParameterSet& parameters_;
  int connectionType_ = 0;
  int currWizardPage_ = 0;
  int visiblePage_ = 0;
  std::array<std::string, kBoxCount> texts_;
  std::array<bool, kCheckCount> checks_{};
  int ndiIndex_ = 0;
  std::string_view nextCaption_ = kNextCaption;
  bool nextEnabled_ = true;
  bool backEnabled_ = false;
  std::string mtuRecommendation_;
  std::string mssRecommendation_;
  std::string rwinRecommendation_;
};

}  // namespace tarvix::advanced
