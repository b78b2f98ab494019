tarvesh_add_test(reading_window_tests WINDOW SOURCES ${CMAKE_CURRENT_LIST_DIR}/reading_test.cpp)
