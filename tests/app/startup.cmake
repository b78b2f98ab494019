tarvesh_add_test(startup_tests WINDOW SOURCES ${CMAKE_CURRENT_LIST_DIR}/startup_test.cpp)
