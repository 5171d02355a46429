// Whole-file reads and writes and the temporary-directory query, for the bank files.
//
// The bank files live in a temporary directory that other users may share (/tmp), so both
// operations guard against names planted there: a write never goes through a symbolic link or
// into another user's file, and a read never follows a link or takes another user's file.
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/text.h"

namespace quivella {

// Writes data as the whole content of the file at path and returns true on success.
//
// The bytes go into a new file in the same directory (mode 0644), which then replaces the name
// in one rename. So a reader sees the earlier file or the new one, never a partial one; a name
// planted as a symbolic link is replaced, not written through; and a write that fails at any
// point leaves the earlier file as it was and removes the new one. An empty path, a path that
// ends in '/' and a final name longer than a file system accepts fail at once and touch nothing.
bool WriteWholeFile(std::string_view path, std::string_view data);

// Returns the text of the file at path: as many bytes as its length at open, ending before the
// first NUL byte or before the first 0x1A that begins a character (a byte of 0x80 or above begins
// a two-byte character). Bytes are taken as they stand, CR LF included.
//
// Gives the empty text on any failure. A symbolic link, anything but a regular file, and a file
// owned by another user count as files that cannot be opened.
Text ReadWholeText(std::string_view path);

// Returns text cut before the first NUL byte or the first 0x1A that begins a character.
Text CutAtTextEnd(std::string_view bytes);

// Writes the system's temporary directory, with its trailing '/', and a NUL into buffer when
// both fit in size bytes, and leaves buffer as it was otherwise. The directory is the first
// non-empty one of TMPDIR, TMP, TEMP and TEMPDIR, else /tmp. Returns the path's length, or 0
// when it did not fit.
std::size_t QueryTempPath(char* buffer, std::size_t size);

}  // namespace quivella
