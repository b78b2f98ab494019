set(OVERLAYS_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/entrymodes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/overlaypools.cpp
  ${CMAKE_CURRENT_LIST_DIR}/symbolpanel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/textlabelpanel.cpp
)
