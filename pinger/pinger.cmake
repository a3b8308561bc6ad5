# Net pinger: ICMP echo, name lookup and the keep-alive pinger. Winsock 1.1
# comes from wsock32, the echo from iphlpapi.
target_sources(tarvix_pure PRIVATE ${CMAKE_SOURCE_DIR}/pinger/HostAddress.cpp)
target_sources(tarvix_core PRIVATE
  ${CMAKE_SOURCE_DIR}/pinger/Ping.cpp
  ${CMAKE_SOURCE_DIR}/pinger/PingerSettings.cpp
  ${CMAKE_SOURCE_DIR}/pinger/KeepAliveSchedule.cpp
  ${CMAKE_SOURCE_DIR}/pinger/frmNetPingerSettings.cpp
)
target_link_libraries(tarvix_core PUBLIC iphlpapi wsock32)
