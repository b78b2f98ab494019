set(TITLEBLOCK_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/pagenumbering.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tempo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/titleblock.cpp
)
