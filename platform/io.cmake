# Files and HTTP: the platform operations behind the bank files and the network clock.
target_sources(quivella_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/http.cpp
)
