#include "optimizer/RegistryMap.h"

#include <array>

namespace tarvix {
namespace {

using F = MapField;
using D = DeleteWhen;
using namespace netkeys;

constexpr std::array<MapRow, 12> k9xLeading = {{
    {k9xMstcp, "SackOpts", F::Fixed, 1, D::Never},
    {k9xMstcp, "Tcp1323Opts", F::Fixed, 1, D::Never},
    {k9xMstcp, "DefaultTTL", F::TTL, 0, D::Never},
    {k9xMstcp, "DefaultRcvWindow", F::RWIN, 0, D::RwinUnset},
    {k9xMstcp, "GlobalMaxTcpWindowSize", F::RWIN, 0, D::RwinUnset},
    {k9xMstcp, "PMTUBlackHoleDetect", F::BlackHole, 0, D::Never},
    {k9xMstcp, "PMTUDiscovery", F::MTUDiscovery, 0, D::Never},
    {k9xMstcp, "KeepAliveTime", F::KeepAliveTime, 0, D::Never},
    {k9xMstcp, "KeepAliveInterval", F::KeepAliveInterval, 0, D::Never},
    {k9xInternetSettings, "MaxConnectionsPer1_0Server", F::MSCPS0, 0, D::Never},
    {k9xInternetSettings, "MaxConnectionsPerServer", F::MSCPS1, 0, D::Never},
    {kCacheSize, "", F::NDI, 0, D::Never},
}};
constexpr std::array<MapRow, 2> k9xPerTransport = {{
    {k9xTransport, "MaxMTU", F::MTU, 0, D::MtuUnset},
    {k9xTransport, "MaxMSS", F::MSS, 0, D::MtuUnset},
}};

constexpr std::array<MapRow, 15> kNtLeading = {{
    {kNtTcpip, "SackOpts", F::Fixed, 1, D::Never},
    {kNtTcpip, "Tcp1323Opts", F::Fixed, 1, D::Never},
    {kNtTcpip, "TcpMaxDupAcks", F::Fixed, 2, D::Never},
    {kNtTcpip, "DefaultReceiveWindow", F::Fixed, 8192, D::Never},
    {kNtTcpipLower, "DefaultTTL", F::TTL, 0, D::Never},
    {kNtTcpipLower, "GlobalMaxTcpWindowSize", F::RWIN, 0, D::RwinUnset},
    {kNtTcpipLower, "TcpWindowSize", F::RWIN, 0, D::RwinUnset},
    {kNtTcpipLower, "EnablePMTUBHDetect", F::BlackHole, 0, D::Never},
    {kNtTcpipLower, "EnablePMTUDiscovery", F::MTUDiscovery, 0, D::Never},
    {kNtTcpipLower, "KeepAliveTime", F::KeepAliveTime, 0, D::Never},
    {kNtTcpipLower, "KeepAliveInterval", F::KeepAliveInterval, 0, D::Never},
    {kNtTcpipLower, "SYNAttackProtect", F::SYN, 0, D::Never},
    {kNtTcpipLower, "EnableICMPRedirects", F::ICMP, 0, D::Never},
    {kNtInternetSettings, "MaxConnectionsPer1_0Server", F::MSCPS0, 0, D::Never},
    {kNtInternetSettings, "MaxConnectionsPerServer", F::MSCPS1, 0, D::Never},
}};
constexpr std::array<MapRow, 4> kNtPerInterface = {{
    {kNtInterface, "MTU", F::MTU, 0, D::MtuUnset},
    {kNtInterfaceService, "MTU", F::MTU, 0, D::MtuUnset},
    {kNtInterface, "MSS", F::MSS, 0, D::MtuUnset},
    {kNtInterfaceService, "MSS", F::MSS, 0, D::MtuUnset},
}};
constexpr std::array<MapRow, 1> kNtTrailing = {{
    {kCacheSize, "", F::NDI, 0, D::Never},
}};

constexpr RegistryMap k9xMap = {1, k9xLeading, k9xTransports, k9xPerTransport, {}};
constexpr RegistryMap kNtMap = {4, kNtLeading, kNtInterfaces, kNtPerInterface, kNtTrailing};

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

}  // namespace tarvix
