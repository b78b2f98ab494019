tarvesh_add_test(documents_tests WINDOW
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/documents_test.cpp
          ${CMAKE_SOURCE_DIR}/tests/document/bmpencoder.cpp)
