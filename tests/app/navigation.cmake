tarvesh_add_test(navigation_tests WINDOW SOURCES ${CMAKE_CURRENT_LIST_DIR}/navigation_test.cpp)
