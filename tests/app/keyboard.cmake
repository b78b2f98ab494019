tarvesh_add_test(keyboard_tests WINDOW SOURCES ${CMAKE_CURRENT_LIST_DIR}/keyboard_test.cpp LIBS Qt6::Test)
