tarvesh_add_test(lyrics_window_tests WINDOW SOURCES ${CMAKE_CURRENT_LIST_DIR}/lyrics_test.cpp)
