#include <gtest/gtest.h>

#include <array>

#include "backup/BackupFormat.h"

namespace tarvix::backup {
namespace {

// A file in the original layout: numbers only, CR LF line ends.
std::string Nt7File(const std::vector<std::string>& tail = {}) {
  std::vector<std::string> lines = {"#2026-12-07#", "#14:05:09#", "7",
                                    "\"System\\CurrentControlSet\\Services\\Tcpip\\Parameters\""};
  const char* names[] = {"SackOpts", "Tcp1323Opts", "TcpMaxDupAcks", "DefaultReceiveWindow", "DefaultTTL",
                         "GlobalMaxTcpWindowSize", "TcpWindowSize", "EnablePMTUBHDetect", "EnablePMTUDiscovery",
                         "KeepAliveTime", "KeepAliveInterval", "SYNAttackProtect", "EnableICMPRedirects"};
  for (const char* name : names) {
    lines.push_back("\"" + std::string(name) + "\"");
    lines.push_back("1");
  }
  for (const char* line : {"\"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\"",
                           "\"MaxConnectionsPer1_0Server\"", "4", "\"MaxConnectionsPerServer\"", "2",
                           "\"System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize\"", "\"\"", "0"}) {
    lines.push_back(line);
  }
  lines.insert(lines.end(), tail.begin(), tail.end());
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

const std::vector<std::string> kInterfaceGroups = {
    "\"SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\{A}\"", "\"MTU\"", "1500", "\"MSS\"", "1460",
    "\"SYSTEM\\CurrentControlSet\\Services\\{A}\\Parameters\\Tcpip\"", "\"MTU\"", "Missing", "\"MSS\"", "4294967295"};

TEST(BackupFormat, ReadsTheOriginalLayoutAndGroups) {
  const ParseResult result = Parse(Nt7File(kInterfaceGroups));
  ASSERT_TRUE(result.contents) << result.error;
  const Contents& c = *result.contents;
  EXPECT_EQ(c.date, (Date{2026, 12, 7}));
  EXPECT_EQ(c.time, (Time{14, 5, 9}));
  EXPECT_EQ(c.family, 7);
  ASSERT_EQ(c.groups.size(), 5u);
  EXPECT_EQ(c.groups[0].pairs.size(), 13u);
  EXPECT_EQ(c.groups[1].pairs[0].value, 4);
  EXPECT_EQ(c.groups[2].pairs[0].name, "");
  EXPECT_EQ(c.groups[3].pairs[1].value, 1460);
  EXPECT_FALSE(c.groups[4].pairs[0].value.has_value());
  EXPECT_EQ(c.groups[4].pairs[1].value, 4294967295LL);
}

TEST(BackupFormat, WritesFieldsLineByLineAndReadsThemBack) {
  Contents c{{2003, 1, 31}, {23, 59, 59}, 3, {}};
  c.groups.push_back({"System\\CurrentControlSet\\Services\\VxD\\MSTCP", {}});
  for (const char* name : {"SackOpts", "Tcp1323Opts", "DefaultTTL", "DefaultRcvWindow", "GlobalMaxTcpWindowSize",
                           "PMTUBlackHoleDetect", "DefaultRcvWindow", "PMTUDiscovery", "KeepAliveTime",
                           "KeepAliveInterval"}) {
    c.groups[0].pairs.push_back({name, -2147483648LL});
  }
  c.groups[0].pairs[2].value.reset();
  c.groups.push_back({"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
                      {{"MaxConnectionsPer1_0Server", 16}, {"MaxConnectionsPerServer", 8}}});
  c.groups.push_back({"System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize", {{"", 0}}});
  c.groups.push_back({"System\\CurrentControlSet\\Services\\Class\\NetTrans\\0000", {{"MaxMTU", 576}, {"MaxMSS", 536}}});
  const std::string text = Format(c);
  EXPECT_EQ(text.substr(0, text.find("\"Tcp1323Opts\"")),
            "#2003-01-31#\r\n#23:59:59#\r\n3\r\n\"System\\CurrentControlSet\\Services\\VxD\\MSTCP\"\r\n"
            "\"SackOpts\"\r\n-2147483648\r\n");
  EXPECT_NE(text.find("\"DefaultTTL\"\r\nMissing\r\n"), std::string::npos);
  EXPECT_NE(text.find("\"\"\r\n0\r\n"), std::string::npos);
  const ParseResult back = Parse(text);
  ASSERT_TRUE(back.contents) << back.error;
  EXPECT_EQ(*back.contents, c);
}

TEST(BackupFormat, EndsAtTheEndOrAtAnEmptyKey) {
  EXPECT_TRUE(Parse(Nt7File()).contents);  // no interface groups at all
  auto withEmptyKey = kInterfaceGroups;
  withEmptyKey.insert(withEmptyKey.begin() + 5, "\"\"");
  const ParseResult stopped = Parse(Nt7File(withEmptyKey));
  ASSERT_TRUE(stopped.contents) << stopped.error;
  EXPECT_EQ(stopped.contents->groups.size(), 4u);
  EXPECT_TRUE(Parse(Nt7File(kInterfaceGroups) + "\r\n\r\n").contents);  // blank lines after the end
}

// Every field ends with CR LF, the last one too: a value whose line break is
// missing may have been cut anywhere, so "1460" cut to "14" is refused, not
// restored as 14.
TEST(BackupFormat, AFieldWithoutItsLineBreakIsCutOff) {
  const std::string good = Nt7File(kInterfaceGroups);
  ASSERT_TRUE(Parse(good.substr(0, good.size() - 2) + "\r\n").contents);
  const std::string cutInValue = good.substr(0, good.rfind("4294967295") + 2);  // "42"
  const std::string cutInLineBreak = good.substr(0, good.size() - 1);           // CR without LF
  const std::string cutAfterFamily = "#2026-12-07#\r\n#14:05:09#\r\n7";
  std::string bareLineFeed = good;
  bareLineFeed.erase(bareLineFeed.find("\r\n1500\r\n") + 6, 1);          // "1500\n"
  for (const std::string& text : {cutInValue, cutInLineBreak, cutAfterFamily, bareLineFeed}) {
    const ParseResult result = Parse(text);
    EXPECT_FALSE(result.contents) << text.substr(text.size() - 20);
    EXPECT_NE(result.error.find("cut off"), std::string::npos) << result.error;
    EXPECT_NE(result.error.find("CR LF"), std::string::npos) << result.error;
  }
  // The list reads only the date and time: their own line breaks count there.
  EXPECT_TRUE(ParseHeader(cutInValue));
  EXPECT_FALSE(ParseHeader(cutAfterFamily));
}

// Numbers follow the highest file; once 999 is taken the lowest free number
// is used, and only when every number is taken is there none.
TEST(BackupFormat, NextNumberAfterTheHighestThenTheLowestFree) {
  std::array<bool, kHighestNumber + 1> taken{};
  const auto next = [&taken] { return NextFreeNumber(taken); };
  EXPECT_EQ(next(), 1);
  taken[0] = true;  // old.BCK
  EXPECT_EQ(next(), 1);
  taken[1] = taken[5] = true;
  EXPECT_EQ(next(), 6);  // gaps below the highest are not filled
  taken[998] = true;
  EXPECT_EQ(next(), 999);
  taken[999] = true;
  EXPECT_EQ(next(), 2);
  for (int n = 1; n <= kHighestNumber; ++n) taken[static_cast<std::size_t>(n)] = n != 700;
  EXPECT_EQ(next(), 700);
  taken[700] = true;
  EXPECT_EQ(next(), std::nullopt);
}

TEST(BackupFormat, RefusesWhatIsCutOffOrMalformed) {
  const std::string good = Nt7File(kInterfaceGroups);
  struct Case {
    std::string text;
    std::string says;
  };
  auto replaced = [&good](std::string_view from, std::string_view to) {
    std::string text = good;
    text.replace(text.find(from), from.size(), to);
    return text;
  };
  const std::vector<Case> cases = {
      {"", "empty"},
      {good.substr(0, good.find("\"MSS\"\r\n4294967295")), "cut off"},   // ends after a name
      {good.substr(0, good.rfind("4294967295")), "cut off"},            // ends before the last value
      {good.substr(0, good.find("\"DefaultTTL\"")), "cut off"},          // in the first group
      {replaced("#2026-12-07#", "2026-12-07"), "date"},
      {replaced("#2026-12-07#", "#2026-13-07#"), "date"},
      {replaced("#14:05:09#", "#24:05:09#"), "time"},
      {replaced("\r\n7\r\n", "\r\nseven\r\n"), "operating system code"},
      {replaced("\r\n7\r\n", "\r\n99\r\n"), "not one Tarvix knows"},
      {replaced("4294967295", "4294967296"), "whole number"},
      {replaced("4294967295", "-2147483649"), "whole number"},
      {replaced("1460", "14 60"), "whole number"},
      {replaced("1460", "+1460"), "whole number"},
      {replaced("1460", ""), "whole number"},
      {replaced("\"MTU\"", "MTU"), "value name"},
      {replaced("\"MTU\"", "\"MaxMTU\""), "value name"},
      {replaced("\"DefaultTTL\"", "\"Default\"TTL\""), "value name"},
      {replaced("Interfaces\\{A}", "Interfaces"), "not one that Tarvix backs up"},
      {replaced("Interfaces\\{A}", "Interfaces\\{A}\\Deeper"), "not one that Tarvix backs up"},
      {replaced("\"System\\CurrentControlSet\\Services\\Tcpip\\Parameters\"", "\"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\""), "expected the key"},
      {replaced("\"SYSTEM\\CurrentControlSet\\Services\\{A}\\Parameters\\Tcpip\"", "\"SOFTWARE\\Run\""), "not one that Tarvix backs up"},
  };
  for (const Case& c : cases) {
    const ParseResult result = Parse(c.text);
    EXPECT_FALSE(result.contents) << c.says;
    EXPECT_NE(result.error.find(c.says), std::string::npos) << result.error;
  }
}

TEST(BackupFormat, KeysAndNamesCompareWithoutCase) {
  std::string text = Nt7File(kInterfaceGroups);
  text.replace(text.find("\"System\\CurrentControlSet\\Services\\Tcpip\\Parameters\""), 52,
               "\"SYSTEM\\CurrentControlSet\\Services\\tcpip\\parameters\"");
  text.replace(text.find("\"MTU\""), 5, "\"mtu\"");
  EXPECT_TRUE(Parse(text).contents) << Parse(text).error;
}

TEST(BackupFormat, HeaderAlone) {
  const auto header = ParseHeader("#1999-02-03#\r\n#01:02:03#\r\n3\r\n");
  ASSERT_TRUE(header);
  EXPECT_EQ(header->family, 3);
  std::string error;
  EXPECT_FALSE(ParseHeader("#1999-02-03#\r\n", &error));
  EXPECT_NE(error.find("ends after its date"), std::string::npos);
}

TEST(BackupNames, NumbersFromNamesAndNamesFromNumbers) {
  EXPECT_EQ(NumberFromBaseName("007"), 7);
  EXPECT_EQ(NumberFromBaseName("1012"), 12);
  EXPECT_EQ(NumberFromBaseName("old"), 0);
  EXPECT_EQ(NumberFromBaseName("5"), 5);
  EXPECT_EQ(NumberFromBaseName("a12"), 0);
  EXPECT_EQ(NumberFromBaseName("x1y"), 0);
  EXPECT_EQ(NumberFromBaseName("12a"), 12);
  EXPECT_EQ(NumberFromBaseName(""), 0);
  EXPECT_EQ(FileNameForNumber(1), "001.BCK");
  EXPECT_EQ(FileNameForNumber(10), "010.BCK");
  EXPECT_EQ(FileNameForNumber(999), "999.BCK");
  EXPECT_FALSE(FileNameForNumber(0));
  EXPECT_FALSE(FileNameForNumber(1000));
}

}  // namespace
}  // namespace tarvix::backup
