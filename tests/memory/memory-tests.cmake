tarvix_test(tests_memory
  ${CMAKE_CURRENT_SOURCE_DIR}/memory/CpuFormulaTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/memory/FreeRAMTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/memory/CpuUsageTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/memory/HistogramModelTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/memory/RamRulesTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/memory/StatusTextsTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/memory/LowMemoryCheckTest.cpp
)
tarvix_bench(bench_memory ${CMAKE_SOURCE_DIR}/bench/bench_memory.cpp)
# The idle status window wears the installed skin, as in the program.
target_compile_definitions(bench_memory PRIVATE TARVIX_ASSETS_DIR="Z:${CMAKE_SOURCE_DIR}/assets")

# The memory booster's windows. They create windows, so they run with an X
# display (a private Xvfb when none is set).
tarvix_test(tests_memory_windows
  ${CMAKE_CURRENT_SOURCE_DIR}/memory/HistogramWindowTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/memory/MemoryWindowsTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/memory/MemoryScreenshotTest.cpp
)
set_target_properties(tests_memory_windows PROPERTIES CROSSCOMPILING_EMULATOR
  "${CMAKE_CURRENT_SOURCE_DIR}/ui/with-display;${CMAKE_CROSSCOMPILING_EMULATOR}")
# The screenshots use the program's own skin from the source tree, which Wine sees through its Z: drive.
target_compile_definitions(tests_memory_windows PRIVATE TARVIX_ASSETS_DIR="Z:${CMAKE_SOURCE_DIR}/assets")
