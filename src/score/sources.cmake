set(SCORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/scoredocument.cpp
)
