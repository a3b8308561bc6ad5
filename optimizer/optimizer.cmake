# The optimizer's windows: the wizard and the advanced editor. The summary
# text and the advanced editor's walk need no window; the windows do.
target_sources(tarvix_pure PRIVATE
  ${CMAKE_SOURCE_DIR}/optimizer/ModeSummary.cpp
  ${CMAKE_SOURCE_DIR}/optimizer/AdvancedWalk.cpp
  ${CMAKE_SOURCE_DIR}/optimizer/MtuSearch.cpp
  ${CMAKE_SOURCE_DIR}/optimizer/WindowsReads.cpp
)
target_sources(tarvix_core PRIVATE
  ${CMAKE_SOURCE_DIR}/optimizer/frmWizardMode.cpp
  ${CMAKE_SOURCE_DIR}/optimizer/frmNormalMode.cpp
  ${CMAKE_SOURCE_DIR}/optimizer/MtuFinder.cpp
)
target_link_libraries(tarvix_core PUBLIC comctl32)
