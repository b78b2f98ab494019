tarvesh_add_test(musicxml_window_tests WINDOW SOURCES ${CMAKE_CURRENT_LIST_DIR}/musicxml_test.cpp)
