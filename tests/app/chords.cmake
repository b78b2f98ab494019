tarvesh_add_test(chords_tests WINDOW SOURCES ${CMAKE_CURRENT_LIST_DIR}/chords_test.cpp)
