set(SOUND_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/fluidsynthesizer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/soundplayer.cpp
)
