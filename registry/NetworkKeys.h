#pragma once
// Where Windows keeps the network values that the apply writes and the
// backup records, for both families. One table for both, so a backup always
// names exactly the keys the apply touches. The spelling (case included) is
// part of the backup file, so it stays as it is. Pure, no windows.h.
#include <string>
#include <string_view>

#include "registry/Root.h"

namespace tarvix::netkeys {

// A key, or for per-sub-key keys the part before the sub-key name and the part after it.
struct KeyPath {
  Root root;
  std::string_view key;
  std::string_view suffix = {};

  // The whole key: key + subKey + suffix.
  [[nodiscard]] std::string With(std::string_view subKey = {}) const {
    std::string whole(key);
    whole += subKey;
    whole += suffix;
    return whole;
  }
};

// Windows 95, 98 and ME.
inline constexpr KeyPath k9xMstcp{Root::LocalMachine, "System\\CurrentControlSet\\Services\\VxD\\MSTCP"};
inline constexpr KeyPath k9xInternetSettings{Root::CurrentUser,
                                             "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings"};
// The name-cache size; the NT family writes it too.
inline constexpr KeyPath kCacheSize{Root::LocalMachine,
                                      "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize"};
// The network transports, one sub-key each.
inline constexpr std::string_view k9xTransports = "System\\CurrentControlSet\\Services\\Class\\NetTrans";
inline constexpr KeyPath k9xTransport{Root::LocalMachine, "System\\CurrentControlSet\\Services\\Class\\NetTrans\\"};

// The NT family. The apply writes the fixed pairs under the first spelling
// of the TCP/IP parameters key and the others under the second; the registry
// does not mind the case, and the backup records all of them under the first.
inline constexpr KeyPath kNtTcpip{Root::LocalMachine, "System\\CurrentControlSet\\Services\\Tcpip\\Parameters"};
inline constexpr KeyPath kNtTcpipLower{Root::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\tcpip\\parameters"};
inline constexpr KeyPath kNtInternetSettings{Root::CurrentUser,
                                             "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings"};
// The network interfaces, one sub-key each, and the two keys per interface.
inline constexpr std::string_view kNtInterfaces = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces";
inline constexpr KeyPath kNtInterface{Root::LocalMachine,
                                      "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\"};
inline constexpr KeyPath kNtInterfaceService{Root::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\",
                                             "\\Parameters\\Tcpip"};

}  // namespace tarvix::netkeys
