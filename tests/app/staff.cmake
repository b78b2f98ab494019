tarvesh_add_test(staff_tests WINDOW SOURCES ${CMAKE_CURRENT_LIST_DIR}/staff_test.cpp)
