tarvix_test(tests_memory
  ${CMAKE_CURRENT_SOURCE_DIR}/memory/CpuFormulaTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/memory/FreeRAMTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/memory/CpuUsageTest.cpp
)
tarvix_bench(bench_memory ${CMAKE_SOURCE_DIR}/bench/bench_memory.cpp)
