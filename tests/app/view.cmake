tarvesh_add_test(view_tests WINDOW SOURCES ${CMAKE_CURRENT_LIST_DIR}/view_test.cpp LIBS Qt6::Test)
