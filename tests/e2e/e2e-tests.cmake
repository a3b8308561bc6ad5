# The installed program walked end to end. tests_e2e is not a test of its own:
# it needs the program installed in its Wine prefix, which installed-walk.sh
# makes (installs, runs tests_e2e there, uninstalls and checks what is left).
add_executable(tests_e2e ${CMAKE_CURRENT_SOURCE_DIR}/e2e/InstalledWalkTest.cpp)
target_link_libraries(tests_e2e PRIVATE tarvix_test_support gtest_main)
target_compile_options(tests_e2e PRIVATE ${TARVIX_WARNINGS})

add_test(NAME e2e_installed_walk
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/installed-walk.sh ${CMAKE_BINARY_DIR} ${TARVIX_VERSION}
          $<TARGET_FILE:tests_e2e>)
set_tests_properties(e2e_installed_walk PROPERTIES TIMEOUT 900 RUN_SERIAL TRUE)

# Tarvix as Windows 7, 8 and early 10 run it: the same program, its manifest
# without the UTF-8 code page (those systems ignore it), so that the walk from
# a folder of any name shows the wide calls working on their own in an ANSI
# code page. Wine honours the code page of the shipped manifest.
file(READ ${CMAKE_SOURCE_DIR}/app/Tarvix.manifest ansi_manifest)
string(REGEX REPLACE "[ ]*<!--[^>]*UTF-8 code page[^>]*-->\n" "" ansi_manifest "${ansi_manifest}")
string(REGEX REPLACE "[ ]*<activeCodePage[^\n]*\n" "" ansi_manifest "${ansi_manifest}")
if(ansi_manifest MATCHES "activeCodePage")
  message(FATAL_ERROR "the code page was not taken out of the manifest for TarvixAnsiCodePage")
endif()
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/e2e/TarvixAnsiCodePage.manifest "${ansi_manifest}")
file(READ ${CMAKE_SOURCE_DIR}/app/Tarvix.rc ansi_rc)
string(REPLACE "\"Tarvix.manifest\"" "\"${CMAKE_CURRENT_BINARY_DIR}/e2e/TarvixAnsiCodePage.manifest\"" ansi_rc "${ansi_rc}")
string(REPLACE "\"../ui/" "\"${CMAKE_SOURCE_DIR}/ui/" ansi_rc "${ansi_rc}")
string(REPLACE "#include \"Version.h\"" "#include \"${CMAKE_SOURCE_DIR}/app/Version.h\"" ansi_rc "${ansi_rc}")
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/e2e/TarvixAnsiCodePage.rc "${ansi_rc}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/app/Tarvix.manifest ${CMAKE_SOURCE_DIR}/app/Tarvix.rc)
add_executable(TarvixAnsiCodePage WIN32 ${CMAKE_SOURCE_DIR}/app/main.cpp
  ${CMAKE_CURRENT_BINARY_DIR}/e2e/TarvixAnsiCodePage.rc)
target_link_libraries(TarvixAnsiCodePage PRIVATE tarvix_app)
target_compile_options(TarvixAnsiCodePage PRIVATE ${TARVIX_WARNINGS})
add_dependencies(tests_e2e TarvixAnsiCodePage)
