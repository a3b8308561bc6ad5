# The net pinger's tests. Real pings go to 127.0.0.1 and localhost only.
tarvix_test(tests_pinger
  ${CMAKE_CURRENT_SOURCE_DIR}/pinger/FakePingNetwork.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pinger/HostAddressTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pinger/PingTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pinger/KeepAliveScheduleTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pinger/PingerSettingsTest.cpp
)
# The pinger window creates real windows, so it runs with an X display (a
# private Xvfb when none is set); its picture is skinned with the installed skin.
tarvix_test(tests_pinger_window
  ${CMAKE_CURRENT_SOURCE_DIR}/pinger/frmNetPingerSettingsTest.cpp
)
set_target_properties(tests_pinger_window PROPERTIES CROSSCOMPILING_EMULATOR
  "${CMAKE_CURRENT_SOURCE_DIR}/ui/with-display;${CMAKE_CROSSCOMPILING_EMULATOR}")
target_compile_definitions(tests_pinger_window PRIVATE TARVIX_ASSETS_DIR="Z:${CMAKE_SOURCE_DIR}/assets")
tarvix_bench(bench_ping ${CMAKE_SOURCE_DIR}/bench/bench_ping.cpp)
# The bare echo it measures against calls the system directly.
target_link_libraries(bench_ping PRIVATE iphlpapi ws2_32)
