# The backup manager window and its list sorting. The sort keys and their
# comparison need no window (tarvix_pure); the window and the list-view side
# of the sort need comctl32.
target_sources(tarvix_pure PRIVATE
  ${CMAKE_SOURCE_DIR}/backup/mListView.cpp
)
target_sources(tarvix_core PRIVATE
  ${CMAKE_SOURCE_DIR}/backup/mListViewWindow.cpp
  ${CMAKE_SOURCE_DIR}/backup/frmBackUp.cpp
)
target_link_libraries(tarvix_core PUBLIC comctl32)
