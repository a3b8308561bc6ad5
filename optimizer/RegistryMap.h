#pragma once
// Where each Windows family keeps the network values, as data: the apply
// walks these rows. Pure, so the tables are tested without a registry.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "base/OsVersion.h"
#include "optimizer/NetworkParameters.h"
#include "registry/NetworkKeys.h"

namespace tarvix {

// Which number a row writes.
enum class MapField {
  Fixed, TTL, RWIN, BlackHole, MTUDiscovery, KeepAliveTime, KeepAliveInterval,
  SYN, ICMP, MSCPS0, MSCPS1, NDI, MTU, MSS
};

enum class DeleteWhen { Never, RwinUnset, MtuUnset };

struct MapRow {
  netkeys::KeyPath path;       // for per-sub-key rows, the parts around the sub-key name
  std::string_view name;       // "" is the key's default value
  MapField field;
  std::int32_t fixed;          // the number of a Fixed row
  DeleteWhen deleteWhen;
};

struct RegistryMap {
  std::uint32_t valueType;              // 1 REG_SZ on 95/98/ME, 4 REG_DWORD on NT
  std::span<const MapRow> leadingRows;  // written first, in order
  std::string_view enumeratedKey;       // transports (95/98/ME) or interfaces (NT)
  std::span<const MapRow> perSubKeyRows;
  std::span<const MapRow> trailingRows;  // written after the loop
};

// The map of a family code 1 to 8; nullptr for any other code.
[[nodiscard]] const RegistryMap* RegistryMapFor(OsFamilyCode family) noexcept;

[[nodiscard]] std::int64_t RowValue(const MapRow& row, const NetworkParameterSet& set) noexcept;
[[nodiscard]] bool RowDeletes(const MapRow& row, const NetworkParameterSet& set) noexcept;

}  // namespace tarvix
