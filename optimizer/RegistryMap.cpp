#include "optimizer/RegistryMap.h"

#include <array>

namespace tarvix {
namespace {

constexpr Root HKLM = Root::LocalMachine;
constexpr Root HKCU = Root::CurrentUser;
using F = MapField;
using D = DeleteWhen;

constexpr std::string_view kMstcp = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
constexpr std::string_view kCacheSize = "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize";
constexpr std::string_view kTcpipA = "System\\CurrentControlSet\\Services\\Tcpip\\Parameters";
constexpr std::string_view kTcpipB = "SYSTEM\\CurrentControlSet\\Services\\tcpip\\parameters";

constexpr std::array<MapRow, 12> k9xLeading = {{
    {HKLM, kMstcp, {}, "SackOpts", F::Fixed, 1, D::Never},
    {HKLM, kMstcp, {}, "Tcp1323Opts", F::Fixed, 1, D::Never},
    {HKLM, kMstcp, {}, "DefaultTTL", F::TTL, 0, D::Never},
    {HKLM, kMstcp, {}, "DefaultRcvWindow", F::RWIN, 0, D::RwinUnset},
    {HKLM, kMstcp, {}, "GlobalMaxTcpWindowSize", F::RWIN, 0, D::RwinUnset},
    {HKLM, kMstcp, {}, "PMTUBlackHoleDetect", F::BlackHole, 0, D::Never},
    {HKLM, kMstcp, {}, "PMTUDiscovery", F::MTUDiscovery, 0, D::Never},
    {HKLM, kMstcp, {}, "KeepAliveTime", F::KeepAliveTime, 0, D::Never},
    {HKLM, kMstcp, {}, "KeepAliveInterval", F::KeepAliveInterval, 0, D::Never},
    {HKCU, "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", {}, "MaxConnectionsPer1_0Server", F::MSCPS0, 0, D::Never},
    {HKCU, "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", {}, "MaxConnectionsPerServer", F::MSCPS1, 0, D::Never},
    {HKLM, kCacheSize, {}, "", F::NDI, 0, D::Never},
}};
constexpr std::array<MapRow, 2> k9xPerTransport = {{
    {HKLM, "System\\CurrentControlSet\\Services\\Class\\NetTrans\\", {}, "MaxMTU", F::MTU, 0, D::MtuUnset},
    {HKLM, "System\\CurrentControlSet\\Services\\Class\\NetTrans\\", {}, "MaxMSS", F::MSS, 0, D::MtuUnset},
}};

constexpr std::array<MapRow, 15> kNtLeading = {{
    {HKLM, kTcpipA, {}, "SackOpts", F::Fixed, 1, D::Never},
    {HKLM, kTcpipA, {}, "Tcp1323Opts", F::Fixed, 1, D::Never},
    {HKLM, kTcpipA, {}, "TcpMaxDupAcks", F::Fixed, 2, D::Never},
    {HKLM, kTcpipA, {}, "DefaultReceiveWindow", F::Fixed, 8192, D::Never},
    {HKLM, kTcpipB, {}, "DefaultTTL", F::TTL, 0, D::Never},
    {HKLM, kTcpipB, {}, "GlobalMaxTcpWindowSize", F::RWIN, 0, D::RwinUnset},
    {HKLM, kTcpipB, {}, "TcpWindowSize", F::RWIN, 0, D::RwinUnset},
    {HKLM, kTcpipB, {}, "EnablePMTUBHDetect", F::BlackHole, 0, D::Never},
    {HKLM, kTcpipB, {}, "EnablePMTUDiscovery", F::MTUDiscovery, 0, D::Never},
    {HKLM, kTcpipB, {}, "KeepAliveTime", F::KeepAliveTime, 0, D::Never},
    {HKLM, kTcpipB, {}, "KeepAliveInterval", F::KeepAliveInterval, 0, D::Never},
    {HKLM, kTcpipB, {}, "SYNAttackProtect", F::SYN, 0, D::Never},
    {HKLM, kTcpipB, {}, "EnableICMPRedirects", F::ICMP, 0, D::Never},
    {HKCU, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", {}, "MaxConnectionsPer1_0Server", F::MSCPS0, 0, D::Never},
    {HKCU, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", {}, "MaxConnectionsPerServer", F::MSCPS1, 0, D::Never},
}};
constexpr std::string_view kInterfaceKey = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\";
constexpr std::string_view kServiceKey = "SYSTEM\\CurrentControlSet\\Services\\";
constexpr std::string_view kServiceSuffix = "\\Parameters\\Tcpip";
constexpr std::array<MapRow, 4> kNtPerInterface = {{
    {HKLM, kInterfaceKey, {}, "MTU", F::MTU, 0, D::MtuUnset},
    {HKLM, kServiceKey, kServiceSuffix, "MTU", F::MTU, 0, D::MtuUnset},
    {HKLM, kInterfaceKey, {}, "MSS", F::MSS, 0, D::MtuUnset},
    {HKLM, kServiceKey, kServiceSuffix, "MSS", F::MSS, 0, D::MtuUnset},
}};
constexpr std::array<MapRow, 1> kNtTrailing = {{
    {HKLM, kCacheSize, {}, "", F::NDI, 0, D::Never},
}};

constexpr RegistryMap k9xMap = {1, k9xLeading, "System\\CurrentControlSet\\Services\\Class\\NetTrans",
                                k9xPerTransport, {}};
constexpr RegistryMap kNtMap = {4, kNtLeading, "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces",
                                kNtPerInterface, kNtTrailing};

}  // namespace

const RegistryMap* RegistryMapFor(OsFamilyCode family) noexcept {
  if (Is9xFamily(family)) return &k9xMap;
  if (IsNtFamily(family)) return &kNtMap;
  return nullptr;
}

std::int64_t RowValue(const MapRow& row, const NetworkParameterSet& set) noexcept {
  switch (row.field) {
    case MapField::Fixed: return row.fixed;
    case MapField::TTL: return set.TTL;
    case MapField::RWIN: return set.RWIN;
    case MapField::BlackHole: return BoolToFlag(set.BlackHole);
    case MapField::MTUDiscovery: return BoolToFlag(set.MTUDiscovery);
    case MapField::KeepAliveTime: return set.KeepAliveTime;
    case MapField::KeepAliveInterval: return set.KeepAliveInterval;
    case MapField::SYN: return set.SYN;
    case MapField::ICMP: return BoolToFlag(set.ICMP);
    case MapField::MSCPS0: return set.MSCPS0;
    case MapField::MSCPS1: return set.MSCPS1;
    case MapField::NDI: return set.NDI;
    case MapField::MTU: return set.MTU;
    case MapField::MSS: return set.MSS;
  }
  return 0;
}

bool RowDeletes(const MapRow& row, const NetworkParameterSet& set) noexcept {
  switch (row.deleteWhen) {
    case DeleteWhen::Never: return false;
    case DeleteWhen::RwinUnset: return set.RWIN == -1;
    case DeleteWhen::MtuUnset: return set.MTU == -1;
  }
  return false;
}

std::string RowKey(const MapRow& row, std::string_view subKey) {
  std::string key(row.key);
  key += subKey;
  key += row.keySuffix;
  return key;
}

}  // namespace tarvix
