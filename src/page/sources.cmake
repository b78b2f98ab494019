set(PAGE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/geometry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/glyphatlas.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pagefont.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pagelayout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scorepage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/textrules.cpp
)
