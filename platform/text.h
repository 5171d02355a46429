// The byte-string types the whole program passes around.
//
// Every text the program shows, reads and writes is in code page 936 (GBK) and stays bytes
// inside the core. Conversion to and from UTF-16 happens at the edges, in platform/cp936.h.
#pragma once

#include <string>

namespace quivella {

// A byte string in code page 936. An absent text and an empty text behave alike.
// Positions and lengths count bytes; a byte of 0x80 or above begins a two-byte character.
using Text = std::string;

// A length-counted byte block that may hold NUL bytes: the embedded banks, an HTTP body.
using Bytes = std::string;

}  // namespace quivella
