# The main window's movie and the skin engine. Their file formats and
# layout are pure code; the windows and GDI drawing need comctl32 (button
# subclassing) and msimg32 (gradients).
target_sources(tarvix_pure PRIVATE
  ${CMAKE_SOURCE_DIR}/app/SkinText.cpp
  ${CMAKE_SOURCE_DIR}/app/SkinFile.cpp
  ${CMAKE_SOURCE_DIR}/app/MovieScript.cpp
  ${CMAKE_SOURCE_DIR}/app/MovieLayout.cpp
  ${CMAKE_SOURCE_DIR}/app/CommandTable.cpp
)
target_sources(tarvix_core PRIVATE
  ${CMAKE_SOURCE_DIR}/app/SkinGdi.cpp
  ${CMAKE_SOURCE_DIR}/app/Skin.cpp
  ${CMAKE_SOURCE_DIR}/app/Movie.cpp
  ${CMAKE_SOURCE_DIR}/ui/Controls.cpp
  ${CMAKE_SOURCE_DIR}/app/SystemCommands.cpp
  ${CMAKE_SOURCE_DIR}/app/frmMainSettings.cpp
  ${CMAKE_SOURCE_DIR}/app/ToolWindows.cpp
  ${CMAKE_SOURCE_DIR}/app/Splash.cpp
  ${CMAKE_SOURCE_DIR}/app/frmMain.cpp
)
target_link_libraries(tarvix_core PUBLIC comctl32 msimg32)
