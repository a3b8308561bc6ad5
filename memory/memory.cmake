# Memory booster and system monitor.
target_sources(tarvix_pure PRIVATE
  ${CMAKE_SOURCE_DIR}/memory/CpuFormula.cpp
  ${CMAKE_SOURCE_DIR}/memory/HistogramModel.cpp
  ${CMAKE_SOURCE_DIR}/memory/RamRules.cpp
  ${CMAKE_SOURCE_DIR}/memory/StatusTexts.cpp
)
target_sources(tarvix_core PRIVATE
  ${CMAKE_SOURCE_DIR}/memory/MessagePump.cpp
  ${CMAKE_SOURCE_DIR}/memory/FreeRAM.cpp
  ${CMAKE_SOURCE_DIR}/memory/CpuUsage.cpp
  ${CMAKE_SOURCE_DIR}/memory/LowMemoryCheck.cpp
  ${CMAKE_SOURCE_DIR}/memory/Histogram.cpp
  ${CMAKE_SOURCE_DIR}/memory/frmSystemStatus.cpp
  ${CMAKE_SOURCE_DIR}/memory/frmRamConfiguration.cpp
)
