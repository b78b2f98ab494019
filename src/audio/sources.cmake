set(AUDIO_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/audioplugin.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fluidsynthesizer.cpp
)
