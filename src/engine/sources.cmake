set(ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/chordsymbol.cpp
  ${CMAKE_CURRENT_LIST_DIR}/glyphengine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/justification.cpp
  ${CMAKE_CURRENT_LIST_DIR}/keymap.cpp
  ${CMAKE_CURRENT_LIST_DIR}/linescan.cpp
)
