# Builds the two bank files into the program: a source generated at build time holds their bytes,
# and it is generated again whenever a bank file changes.
set(_quivella_bank_source "${CMAKE_CURRENT_BINARY_DIR}/embedded_banks.cpp")
set(_quivella_bank_files "${CMAKE_CURRENT_LIST_DIR}/sjqy.txt" "${CMAKE_CURRENT_LIST_DIR}/kjxs.txt")
foreach(_file IN LISTS _quivella_bank_files)
  if(NOT EXISTS "${_file}")
    message(FATAL_ERROR "Bank file ${_file} is missing: the program cannot be built without it.")
  endif()
endforeach()

add_custom_command(
  OUTPUT "${_quivella_bank_source}"
  COMMAND "${CMAKE_COMMAND}"
    "-DSJQY=${CMAKE_CURRENT_LIST_DIR}/sjqy.txt"
    "-DKJXS=${CMAKE_CURRENT_LIST_DIR}/kjxs.txt"
    "-DOUTPUT=${_quivella_bank_source}"
    -P "${PROJECT_SOURCE_DIR}/banks/embed_banks.cmake"
  DEPENDS ${_quivella_bank_files} "${PROJECT_SOURCE_DIR}/banks/embed_banks.cmake"
  COMMENT "Embedding the question banks"
  VERBATIM)
add_custom_target(quivella_embedded_banks DEPENDS "${_quivella_bank_source}")
add_dependencies(quivella_core quivella_embedded_banks)
target_sources(quivella_core PRIVATE "${_quivella_bank_source}")
