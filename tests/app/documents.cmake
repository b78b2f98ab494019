tarvesh_add_test(documents_tests WINDOW SOURCES ${CMAKE_CURRENT_LIST_DIR}/documents_test.cpp)
