set(SOUND_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/audiomodule.cpp
  ${CMAKE_CURRENT_LIST_DIR}/soundplayer.cpp
)
