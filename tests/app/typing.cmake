tarvesh_add_test(typing_tests WINDOW SOURCES ${CMAKE_CURRENT_LIST_DIR}/typing_test.cpp)
