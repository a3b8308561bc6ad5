# Tests of the backup manager window and its list sorting. The sort keys are
# tested without a window; the window runs hidden under Wine, except for the
# screenshot, which shows it skinned with the installed skin file.
tarvix_test(tests_backup_windows
  ${CMAKE_CURRENT_SOURCE_DIR}/backup/mListViewTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/backup/mListViewWindowTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/backup/frmBackUpTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/backup/BackUpScreenshotTest.cpp
)
target_compile_definitions(tests_backup_windows PRIVATE TARVIX_ASSETS_DIR="Z:${CMAKE_SOURCE_DIR}/assets")

tarvix_bench(bench_backup_sort ${CMAKE_SOURCE_DIR}/bench/bench_backup_sort.cpp)
