# The help file: assets/help/*.htm, the stylesheet, the table of contents,
# the index and the project compiled by chmcmd (Free Pascal's CHM compiler,
# Debian package fp-utils) into TarvixHelp.chm beside Tarvix.exe.
find_program(TARVIX_CHMCMD chmcmd DOC "CHM help compiler (Debian package fp-utils)")

set(TARVIX_HELP_SOURCE_DIR ${CMAKE_SOURCE_DIR}/assets/help)
set(TARVIX_HELP_WORK_DIR ${CMAKE_BINARY_DIR}/help-build)
if(CMAKE_RUNTIME_OUTPUT_DIRECTORY)
  set(TARVIX_HELP_FILE ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/TarvixHelp.chm)
else()
  set(TARVIX_HELP_FILE ${CMAKE_BINARY_DIR}/TarvixHelp.chm)
endif()

file(GLOB TARVIX_HELP_SOURCES CONFIGURE_DEPENDS
  ${TARVIX_HELP_SOURCE_DIR}/*.htm
  ${TARVIX_HELP_SOURCE_DIR}/*.css
  ${TARVIX_HELP_SOURCE_DIR}/*.hhc
  ${TARVIX_HELP_SOURCE_DIR}/*.hhk
  ${TARVIX_HELP_SOURCE_DIR}/*.hhp)

if(TARVIX_CHMCMD)
  set(tarvix_help_compile
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${TARVIX_HELP_WORK_DIR}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TARVIX_HELP_WORK_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy ${TARVIX_HELP_SOURCES} ${TARVIX_HELP_WORK_DIR}
    COMMAND ${CMAKE_COMMAND} -E chdir ${TARVIX_HELP_WORK_DIR} ${TARVIX_CHMCMD} tarvix.hhp
    COMMAND ${CMAKE_COMMAND} -E copy ${TARVIX_HELP_WORK_DIR}/TarvixHelp.chm ${TARVIX_HELP_FILE})
else()
  message(WARNING "chmcmd was not found: the help file TarvixHelp.chm cannot be built. "
                  "Install the package fp-utils (./scripts/setup-deps does).")
  set(tarvix_help_compile
    COMMAND ${CMAKE_COMMAND} -E echo
            "error: chmcmd, the CHM help compiler, is missing, so TarvixHelp.chm cannot be built. Install the Debian package fp-utils (./scripts/setup-deps does) and build again."
    COMMAND ${CMAKE_COMMAND} -E false)
endif()

add_custom_command(OUTPUT ${TARVIX_HELP_FILE}
  ${tarvix_help_compile}
  DEPENDS ${TARVIX_HELP_SOURCES}
  COMMENT "Compiling the help file TarvixHelp.chm"
  VERBATIM)
add_custom_target(tarvix_help ALL DEPENDS ${TARVIX_HELP_FILE})

# Every window's page is in the compiled file, and every link resolves.
add_test(NAME ship_help
  COMMAND ${CMAKE_SOURCE_DIR}/tests/ship/help-test.sh ${TARVIX_HELP_FILE} ${TARVIX_HELP_SOURCE_DIR})
