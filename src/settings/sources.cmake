set(SETTINGS_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/guidelines.cpp
  ${CMAKE_CURRENT_LIST_DIR}/layoutpanel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/lyricsfont.cpp
)
