// The two question banks the program carries, and the names of their files.
//
// A bank is code page 936 text: entry lines "question?answer" and banner lines of '@', all ending
// in CR LF but the last line of the sjqy bank. The bytes are built into the program from
// resources/sjqy.txt and resources/kjxs.txt.
#pragma once

#include <string_view>

namespace quivella {

// The bank in use before 13:00 Beijing time, and the name of its file.
inline constexpr std::string_view SjqyFileName = "sjqy.txt";
extern const std::string_view SjqyBank;

// The bank in use from 13:00 Beijing time on, and the name of its file.
inline constexpr std::string_view KjxsFileName = "kjxs.txt";
extern const std::string_view KjxsBank;

}  // namespace quivella
