# Tests of the optimizer's windows: the summary text and the advanced
# editor's walk without a window, then both windows against the redirected
# registry, and their screenshots. The windows need an X display (a private
# Xvfb when none is set).
tarvix_test(tests_optimizer_windows
  ${CMAKE_CURRENT_SOURCE_DIR}/optimizer/ModeSummaryTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/optimizer/AdvancedWalkTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/optimizer/frmWizardModeTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/optimizer/frmNormalModeTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/optimizer/OptimizerScreenshotTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/optimizer/MtuSearchTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/optimizer/MtuWindowTest.cpp
)
set_target_properties(tests_optimizer_windows PROPERTIES CROSSCOMPILING_EMULATOR
  "${CMAKE_CURRENT_SOURCE_DIR}/ui/with-display;${CMAKE_CROSSCOMPILING_EMULATOR}")
# The screenshots use the program's own skin file.
target_compile_definitions(tests_optimizer_windows PRIVATE TARVIX_ASSETS_DIR="Z:${CMAKE_SOURCE_DIR}/assets")

# "Find largest MTU" over a real link: the script makes two network
# namespaces joined by a veth of MTU 1400 and runs the executable under Wine
# inside one of them, with a Wine prefix of its own booted there. Skipped
# (77) without root rights or the ip command.
add_executable(tests_mtu_netns ${CMAKE_CURRENT_SOURCE_DIR}/optimizer/MtuNetnsTest.cpp)
target_link_libraries(tests_mtu_netns PRIVATE tarvix_test_support gtest_main)
target_compile_options(tests_mtu_netns PRIVATE ${TARVIX_WARNINGS})
target_compile_definitions(tests_mtu_netns PRIVATE TARVIX_ASSETS_DIR="Z:${CMAKE_SOURCE_DIR}/assets")
add_test(NAME tests_mtu_netns
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/optimizer/mtu-netns-test.sh ${CMAKE_SOURCE_DIR}/tools/wine-run
          ${CMAKE_CURRENT_SOURCE_DIR}/ui/with-display $<TARGET_FILE:tests_mtu_netns> --gtest_color=no)
set_tests_properties(tests_mtu_netns PROPERTIES
  TIMEOUT 600
  SKIP_RETURN_CODE 77
  ENVIRONMENT "TARVIX_BUILD_DIR=${CMAKE_BINARY_DIR};TARVIX_ARTIFACTS=${TARVIX_ARTIFACTS}")
