set(PUBLISH_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/folderexport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pageprinter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/progressreport.cpp
)
