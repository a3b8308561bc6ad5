tarvix_test(tests_shell_movie
  ${CMAKE_CURRENT_SOURCE_DIR}/app/movie/MovieScriptTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/app/movie/MovieLayoutTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/app/movie/MovieTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/app/movie/MovieScreenshotTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/app/skin/SkinFileTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/app/skin/SkinTest.cpp
)
# The tests compare the installed assets with the built-in copies; Wine sees
# the source tree through its Z: drive.
target_compile_definitions(tests_shell_movie PRIVATE TARVIX_ASSETS_DIR="Z:${CMAKE_SOURCE_DIR}/assets")

tarvix_test(tests_shell
  ${CMAKE_CURRENT_SOURCE_DIR}/app/frmMainTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/app/frmMainSettingsTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/app/AnyFolderTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/app/HandOverTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/app/AdministratorRestartTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/app/DpiTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/app/ToolScreenTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/app/LookTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/app/LayoutGridTest.cpp
)
target_compile_definitions(tests_shell PRIVATE TARVIX_ASSETS_DIR="Z:${CMAKE_SOURCE_DIR}/assets")
# Every tool window walked by keyboard and pictured: more than the others' limit.
set_tests_properties(tests_shell PROPERTIES TIMEOUT 600)

# The windows at the DPI of a real monitor: the main window's tests that
# measure layout, run again in a Wine prefix whose screen is at 120, 144 and
# 192 DPI, each saving pictures of every window. The prefix is shared (made
# once, its DPI set for each run), so these runs take turns.
foreach(dpi 120 144 192)
  add_test(NAME tests_shell_dpi${dpi}
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/app/with-dpi ${dpi} $<TARGET_FILE:tests_shell> --gtest_color=no
            "--gtest_filter=DpiTest.AtTheMonitorsDpi*:frmMainTest.EveryTextFitsItsControl:frmMainTest.EveryWindowCommandShowsItsWindowInTheChildAreaWithItsSize:ToolScreenTest.Pictures*:ToolScreenTest.Nothing*:LayoutGridTest.*")
  set_tests_properties(tests_shell_dpi${dpi} PROPERTIES
    TIMEOUT 300
    RESOURCE_LOCK tarvix_dpi_prefix
    ENVIRONMENT "TARVIX_DPI_PREFIX=${CMAKE_BINARY_DIR}/wineprefix-dpi;TARVIX_BUILD_DIR=${CMAKE_BINARY_DIR};TARVIX_ARTIFACTS=${TARVIX_ARTIFACTS}")
endforeach()

# Starts the real program beside the test folder.
tarvix_test(tests_startup ${CMAKE_CURRENT_SOURCE_DIR}/app/StartupTest.cpp)
add_dependencies(tests_startup Tarvix)

# Start-up against the smallest Win32 program, started the same way.
add_executable(bench_minimal_window WIN32 ${CMAKE_SOURCE_DIR}/bench/minimal_window.cpp)
tarvix_bench(bench_startup ${CMAKE_SOURCE_DIR}/bench/bench_startup.cpp)
target_link_libraries(bench_startup PRIVATE psapi)
add_dependencies(bench_startup Tarvix bench_minimal_window)
# The load trace copies the program's movie and skin from the source tree.
target_compile_definitions(bench_startup PRIVATE TARVIX_ASSETS_DIR="Z:${CMAKE_SOURCE_DIR}/assets")

# The long run of the whole program in one process; it draws, so it runs
# with an X display (a private Xvfb when none is set).
tarvix_test(tests_soak ${CMAKE_CURRENT_SOURCE_DIR}/app/SoakTest.cpp)
target_link_libraries(tests_soak PRIVATE psapi)
set_target_properties(tests_soak PROPERTIES CROSSCOMPILING_EMULATOR
  "${CMAKE_CURRENT_SOURCE_DIR}/ui/with-display;${CMAKE_CROSSCOMPILING_EMULATOR}")
