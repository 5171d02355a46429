# Writes a C++ source that holds the bytes of the two bank files.
# Run as: cmake -DSJQY=<file> -DKJXS=<file> -DOUTPUT=<source> -P embed_banks.cmake

# Sets out_var to the definition of the constant name holding the bytes of file.
function(bank_definition name file out_var)
  set(array "k${name}Bytes")
  if(NOT EXISTS "${file}")
    message(FATAL_ERROR "Bank file ${file} is missing.")
  endif()
  file(READ "${file}" hex HEX)
  string(LENGTH "${hex}" digits)
  if(digits EQUAL 0)
    set(${out_var} "const std::string_view ${name}{};\n" PARENT_SCOPE)
    return()
  endif()
  # Sixteen bytes to a line (CMake's expressions have no counted repetition, hence REPEAT).
  string(REPEAT "[0-9a-f]" 32 line)
  string(REGEX REPLACE "(${line})" "\\1\n    " hex "${hex}")
  string(REGEX REPLACE "\n    $" "" hex "${hex}")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
  set(${out_var}
    "constexpr char ${array}[] = {\n    ${bytes}\n};\nconst std::string_view ${name}{${array}, sizeof ${array}};\n"
    PARENT_SCOPE)
endfunction()

bank_definition(SjqyBank "${SJQY}" sjqy)
bank_definition(KjxsBank "${KJXS}" kjxs)
set(content "// Generated from the bank files at build time; do not edit.
#include \"banks/bank_files.h\"

namespace quivella {

${sjqy}
${kjxs}
}  // namespace quivella
")
file(WRITE "${OUTPUT}" "${content}")
