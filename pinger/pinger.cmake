# Net pinger: ICMP echo, name lookup and the keep-alive pinger.
target_sources(tarvix_pure PRIVATE ${CMAKE_SOURCE_DIR}/pinger/HostAddress.cpp)
target_sources(tarvix_core PRIVATE ${CMAKE_SOURCE_DIR}/pinger/Ping.cpp)
target_link_libraries(tarvix_core PUBLIC iphlpapi ws2_32)
