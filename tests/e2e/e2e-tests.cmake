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
