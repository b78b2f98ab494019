set(PLAYBACK_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/midifile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/performance.cpp
  ${CMAKE_CURRENT_LIST_DIR}/player.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scorehead.cpp
)
