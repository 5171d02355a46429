// Conversions between code page 936 text and UTF-16, and a code-page-aware byte search.
//
// All conversions go through ICU's "windows-936" converter with explicit substitution:
// bytes that are not valid code page 936 become U+FFFD, and a UTF-16 character with no
// code page 936 form becomes "?" (or, for typed query text, a private-use character).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/text.h"

namespace quivella {

// Converts text to UTF-16 units followed by one U+0000 unit; an empty text gives an empty
// string. The text ends at its first NUL byte.
std::u16string ToUtf16(std::string_view text);

// Converts UTF-16 units to code page 936, composing a base character and a following
// non-spacing mark into its precomposed form first. The result ends before the first NUL.
Text FromUtf16(std::u16string_view units);

// Reads UTF-16LE bytes as units; an odd last byte is ignored.
std::u16string Utf16FromLeBytes(std::string_view bytes);

// The standard conversion of strings passed to and from the regular-expression component:
// code page 936 to UTF-16 ending at the first NUL byte, with no terminator unit.
std::u16string StandardToUtf16(std::string_view text);

// The standard conversion back: UTF-16 to code page 936 with "?" for a character that has
// no code page 936 form, ending at the first NUL unit.
Text StandardFromUtf16(std::u16string_view units);

// Appends what StandardFromUtf16 gives for units to out.
void AppendStandardFromUtf16(std::u16string_view units, Text& out);

// Converts typed query text to code page 936. A character with no code page 936 form becomes
// a private-use character of the code page (never "?", which would act as a quantifier), so
// it stays an ordinary character that matches nothing in the banks.
Text QueryTextFromUtf16(std::u16string_view units);

// Finds needle in haystack byte for byte, stepping over two-byte characters so a match never
// starts at a second byte. Returns the 0-based byte position, or npos.
std::size_t FindText(std::string_view haystack, std::string_view needle, std::size_t from = 0);

// The private-use character that QueryTextFromUtf16 writes for an unmappable character.
inline constexpr std::string_view kUnmappableQueryChar = "\xA1\x40";

}  // namespace quivella
