tarvesh_add_test(print_tests WINDOW SOURCES ${CMAKE_CURRENT_LIST_DIR}/print_test.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/pageview_test.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/printpdf.cpp
                 ${CMAKE_SOURCE_DIR}/tests/document/faultycalls.cpp)
