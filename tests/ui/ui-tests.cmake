# The interface toolkit's tests. They create windows, so they run with an X
# display (a private Xvfb when none is set).
tarvix_test(tests_ui
  ${CMAKE_CURRENT_SOURCE_DIR}/ui/TrayLogicTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/ui/TrayRecordTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/ui/TrayTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/ui/TrayShellTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/ui/SubclassTest.cpp
)
set_target_properties(tests_ui PROPERTIES CROSSCOMPILING_EMULATOR
  "${CMAKE_CURRENT_SOURCE_DIR}/ui/with-display;${CMAKE_CROSSCOMPILING_EMULATOR}")
# The program's own icon, beside the test executable.
configure_file(${CMAKE_SOURCE_DIR}/ui/TrayIcon.ico ${CMAKE_CURRENT_BINARY_DIR}/TrayIcon.ico COPYONLY)

# The balloon message window: pure geometry and rules, and the boxes on a
# display (screenshots go to build/artifacts).
tarvix_test(tests_balloon
  ${CMAKE_CURRENT_SOURCE_DIR}/ui/BalloonGeometryTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/ui/MsgBoxLogicTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/ui/BalloonDrawTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/ui/MsgFrmTest.cpp
)
set_target_properties(tests_balloon PROPERTIES CROSSCOMPILING_EMULATOR
  "${CMAKE_CURRENT_SOURCE_DIR}/ui/with-display;${CMAKE_CROSSCOMPILING_EMULATOR}")
tarvix_bench(bench_balloon ${CMAKE_SOURCE_DIR}/bench/bench_balloon.cpp)
