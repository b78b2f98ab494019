set(SCORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/editjournal.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pagecomposer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pagehead.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scoredocument.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scorefile.cpp
)
