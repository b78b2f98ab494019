# The reader inputs shared by the fuzzers and the regression tests, and each fuzzer as
# NAME:FUNCTION; NAME is also its corpus folder under fuzz/corpus.
set(TARVESH_FUZZ_INPUT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/inputs/delimitedfields.cpp
  ${CMAKE_CURRENT_LIST_DIR}/inputs/pagepicture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/inputs/scriptreader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/inputs/sidefile.cpp
)
set(TARVESH_FUZZ_TARGETS
  script_reader:ScriptReaderInput
  delimited_fields:DelimitedFieldsInput
  page_picture:PagePictureInput
  side_file:SideFileInput
)
