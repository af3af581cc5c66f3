# The firmware update's dialog side and CUpdateSocket, built into lanvista_core.
target_sources(lanvista_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/AnnouncedImage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AnnouncedImage.h
  ${CMAKE_CURRENT_LIST_DIR}/CUpdateSocket.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CUpdateSocket.h
  ${CMAKE_CURRENT_LIST_DIR}/ConfigDlgBrowse.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ConfigDlgDownload.cpp
)
