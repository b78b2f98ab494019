set(PRINT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/printart.cpp
  ${CMAKE_CURRENT_LIST_DIR}/printpage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/inklayer.cpp)
