tarvesh_add_test(settings_tests WINDOW SOURCES ${CMAKE_CURRENT_LIST_DIR}/settings_test.cpp)
