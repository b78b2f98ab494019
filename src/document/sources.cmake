set(DOCUMENT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/datsidefile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/extensionblock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pagepicture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/textfields.cpp
)
