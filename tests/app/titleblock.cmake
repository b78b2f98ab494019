tarvesh_add_test(titleblock_tests WINDOW SOURCES ${CMAKE_CURRENT_LIST_DIR}/titleblock_test.cpp)
