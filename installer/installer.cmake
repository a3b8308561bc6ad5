# The setup program (NSIS, Debian package nsis) and the portable zip. Both are
# targets of their own, not part of the default build:
#   cmake --build build --target installer   -> build/Tarvix-<version>-setup.exe
#   cmake --build build --target portable    -> build/Tarvix-<version>-portable.zip

# The version, as the program itself shows it: major.minor.0.revision.
file(STRINGS ${CMAKE_SOURCE_DIR}/app/Version.h tarvix_version_lines
     REGEX "^#define TARVIX_VERSION_(MAJOR|MINOR|REVISION) +[0-9]+")
foreach(line IN LISTS tarvix_version_lines)
  if(line MATCHES "^#define TARVIX_VERSION_([A-Z]+) +([0-9]+)")
    set(tarvix_version_${CMAKE_MATCH_1} ${CMAKE_MATCH_2})
  endif()
endforeach()
if(NOT DEFINED tarvix_version_MAJOR OR NOT DEFINED tarvix_version_MINOR OR NOT DEFINED tarvix_version_REVISION)
  message(FATAL_ERROR "app/Version.h does not define TARVIX_VERSION_MAJOR, _MINOR and _REVISION")
endif()
set(TARVIX_VERSION "${tarvix_version_MAJOR}.${tarvix_version_MINOR}.0.${tarvix_version_REVISION}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/app/Version.h)

set(TARVIX_SETUP ${CMAKE_BINARY_DIR}/Tarvix-${TARVIX_VERSION}-setup.exe)
set(TARVIX_PORTABLE ${CMAKE_BINARY_DIR}/Tarvix-${TARVIX_VERSION}-portable.zip)

# What both packages hold, gathered in one folder: Tarvix.exe, the help file
# and the files of assets/ that the program reads beside itself.
set(TARVIX_SHIP_ASSETS Tarvix.movie TarvixMask.skn Ping.wav low-memory.wav)
set(tarvix_stage ${CMAKE_BINARY_DIR}/ship-stage)
set(tarvix_stage_dir ${tarvix_stage}/Tarvix)
set(tarvix_staged ${tarvix_stage_dir}/Tarvix.exe ${tarvix_stage_dir}/TarvixHelp.chm)
set(tarvix_stage_commands
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${tarvix_stage}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${tarvix_stage_dir}/Backups
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Tarvix> ${tarvix_stage_dir}/Tarvix.exe
  COMMAND ${CMAKE_COMMAND} -E copy ${TARVIX_HELP_FILE} ${tarvix_stage_dir}/TarvixHelp.chm)
set(tarvix_ship_asset_sources)
foreach(name IN LISTS TARVIX_SHIP_ASSETS)
  list(APPEND tarvix_ship_asset_sources ${CMAKE_SOURCE_DIR}/assets/${name})
  list(APPEND tarvix_staged ${tarvix_stage_dir}/${name})
  list(APPEND tarvix_stage_commands
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/assets/${name} ${tarvix_stage_dir}/${name})
endforeach()
add_custom_command(OUTPUT ${tarvix_staged}
  ${tarvix_stage_commands}
  DEPENDS Tarvix ${TARVIX_HELP_FILE} ${tarvix_ship_asset_sources}
  COMMENT "Gathering the files of the Tarvix packages"
  VERBATIM)
add_custom_target(tarvix_ship_stage DEPENDS ${tarvix_staged})

find_program(TARVIX_MAKENSIS makensis DOC "NSIS compiler (Debian package nsis)")
if(TARVIX_MAKENSIS)
  set(tarvix_setup_command
    COMMAND ${TARVIX_MAKENSIS} -V2 -DTARVIX_VERSION=${TARVIX_VERSION} -DTARVIX_FILES=${tarvix_stage_dir}
            -DTARVIX_OUTFILE=${TARVIX_SETUP} -DTARVIX_ICON=${CMAKE_SOURCE_DIR}/ui/TrayIcon.ico
            -DTARVIX_ART=${CMAKE_CURRENT_LIST_DIR}/art
            ${CMAKE_CURRENT_LIST_DIR}/Tarvix.nsi)
else()
  set(tarvix_setup_command
    COMMAND ${CMAKE_COMMAND} -E echo
            "error: makensis is missing, so the setup program cannot be built. Install the Debian package nsis (./scripts/setup-deps does) and build again."
    COMMAND ${CMAKE_COMMAND} -E false)
endif()
add_custom_command(OUTPUT ${TARVIX_SETUP}
  ${tarvix_setup_command}
  DEPENDS tarvix_ship_stage ${tarvix_staged} ${CMAKE_CURRENT_LIST_DIR}/Tarvix.nsi ${CMAKE_SOURCE_DIR}/ui/TrayIcon.ico
          ${CMAKE_CURRENT_LIST_DIR}/art/welcome.bmp ${CMAKE_CURRENT_LIST_DIR}/art/header.bmp
  COMMENT "Building the setup program Tarvix-${TARVIX_VERSION}-setup.exe"
  VERBATIM)
add_custom_target(installer DEPENDS ${TARVIX_SETUP})

# The portable zip: the same files in a Tarvix folder, with an empty Backups
# folder beside them.
add_custom_command(OUTPUT ${TARVIX_PORTABLE}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${TARVIX_PORTABLE}
  COMMAND ${CMAKE_COMMAND} -E chdir ${tarvix_stage}
          ${CMAKE_COMMAND} -E tar cf ${TARVIX_PORTABLE} --format=zip Tarvix
  DEPENDS tarvix_ship_stage ${tarvix_staged}
  COMMENT "Packing Tarvix-${TARVIX_VERSION}-portable.zip"
  VERBATIM)
add_custom_target(portable DEPENDS ${TARVIX_PORTABLE})

# Installs silently into a fresh Wine prefix, checks what landed where, and
# uninstalls silently (keeping, then purging, the settings).
add_test(NAME ship_installer
  COMMAND ${CMAKE_SOURCE_DIR}/tests/ship/installer-test.sh ${CMAKE_BINARY_DIR} ${TARVIX_VERSION})
set_tests_properties(ship_installer PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)
