# The interface toolkit: the notification-area icon control.
target_sources(tarvix_pure PRIVATE ${CMAKE_SOURCE_DIR}/ui/TrayLogic.cpp)
target_sources(tarvix_core PRIVATE
  ${CMAKE_SOURCE_DIR}/ui/Tray.cpp
  ${CMAKE_SOURCE_DIR}/ui/TrayPicture.cpp
  ${CMAKE_SOURCE_DIR}/ui/TrayRecord.cpp
)
target_link_libraries(tarvix_core PUBLIC comctl32)

# The balloon message window: geometry, shadow blend and box rules need no
# window; drawing and the window itself do.
target_sources(tarvix_pure PRIVATE
  ${CMAKE_SOURCE_DIR}/ui/Balloon.cpp
  ${CMAKE_SOURCE_DIR}/ui/MsgBoxLogic.cpp
)
target_sources(tarvix_core PRIVATE
  ${CMAKE_SOURCE_DIR}/ui/BalloonDraw.cpp
  ${CMAKE_SOURCE_DIR}/ui/msgFrm.cpp
)
