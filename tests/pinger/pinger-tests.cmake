tarvix_test(tests_pinger
  ${CMAKE_CURRENT_SOURCE_DIR}/pinger/FakePingNetwork.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pinger/HostAddressTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pinger/PingTest.cpp
)
#tarvix_bench(bench_ping ${CMAKE_SOURCE_DIR}/bench/bench_ping.cpp)
