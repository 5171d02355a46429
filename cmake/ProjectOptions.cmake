# Compiler warnings and sanitizers, as INTERFACE targets that our own targets link.

add_library(quivella_warnings INTERFACE)
target_compile_options(quivella_warnings INTERFACE
  -Wall -Wextra -Wpedantic
  -Wshadow                 # a local hiding a member or an outer name is a bug waiting to happen
  -Wconversion -Wsign-conversion  # byte and UTF-16 unit arithmetic must be explicit
  -Wnon-virtual-dtor -Woverloaded-virtual
  -Wold-style-cast -Wcast-align
  -Wdouble-promotion -Wformat=2 -Wimplicit-fallthrough
  $<$<BOOL:${QUIVELLA_WERROR}>:-Werror>)

add_library(quivella_sanitizers INTERFACE)
if(QUIVELLA_SANITIZE)
  set(_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_compile_options(quivella_sanitizers INTERFACE ${_san})
  target_link_options(quivella_sanitizers INTERFACE ${_san})
endif()
