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
)
set_target_properties(tests_optimizer_windows PROPERTIES CROSSCOMPILING_EMULATOR
  "${CMAKE_CURRENT_SOURCE_DIR}/ui/with-display;${CMAKE_CROSSCOMPILING_EMULATOR}")
# The screenshots use the program's own skin file.
target_compile_definitions(tests_optimizer_windows PRIVATE TARVIX_ASSETS_DIR="Z:${CMAKE_SOURCE_DIR}/assets")
