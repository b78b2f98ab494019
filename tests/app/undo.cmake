tarvesh_add_test(undo_tests WINDOW
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/undo_test.cpp)
