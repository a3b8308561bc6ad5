# Memory booster and system monitor.
target_sources(tarvix_pure PRIVATE
  ${CMAKE_SOURCE_DIR}/memory/CpuFormula.cpp
)
target_sources(tarvix_core PRIVATE
  ${CMAKE_SOURCE_DIR}/memory/MessagePump.cpp
  ${CMAKE_SOURCE_DIR}/memory/FreeRAM.cpp
  ${CMAKE_SOURCE_DIR}/memory/CpuUsage.cpp
)
