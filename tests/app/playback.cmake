tarvesh_add_test(playback_window_tests WINDOW SOURCES ${CMAKE_CURRENT_LIST_DIR}/playback_test.cpp)
