set(READING_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/barcount.cpp
  ${CMAKE_CURRENT_LIST_DIR}/chordreader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/glyphtemplates.cpp
  ${CMAKE_CURRENT_LIST_DIR}/inkcomponents.cpp
  ${CMAKE_CURRENT_LIST_DIR}/inkmap.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pagereader.cpp
)
