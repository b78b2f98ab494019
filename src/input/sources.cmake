set(INPUT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/keyhandler.cpp
  ${CMAKE_CURRENT_LIST_DIR}/lyricsinput.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mousetools.cpp
  ${CMAKE_CURRENT_LIST_DIR}/slurmarks.cpp
  ${CMAKE_CURRENT_LIST_DIR}/staffinput.cpp
)
