tarvesh_add_test(mousetools_tests WINDOW SOURCES ${CMAKE_CURRENT_LIST_DIR}/mousetools_test.cpp)
