// quivella-bankgen: turns the UTF-8 source of a question bank into the code page 936 bank
// file that is built into the program.
//
// The source holds the bank line by line, exactly as it is to appear: the banner lines and
// the entry lines "question?answer". The output joins the converted lines with CR LF; the
// third argument says whether the last line is followed by CR LF too ("crlf") or not
// ("none"). Every character must have a code page 936 form: the conversion would otherwise
// write an ASCII question mark, which in a bank is the separator, so such a character is an
// error here and not a substitution.
#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/cp936.h"
#include "platform/text.h"

namespace {

int Usage() {
  std::fputs("usage: quivella-bankgen SOURCE.utf8 OUTPUT.txt crlf|none\n", stderr);
  return 2;
}

// Reads a whole file into a byte string; returns false when it cannot be opened.
bool ReadFile(const char* path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return false;
  }
  std::ostringstream buffer;
  buffer << in.rdbuf();
  out = buffer.str();
  return true;
}

// Splits the source into lines at LF, dropping a CR before it and the empty piece after a
// final LF.
std::vector<std::string> SplitLines(const std::string& source) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < source.size()) {
    std::size_t end = source.find('\n', start);
    if (end == std::string::npos) {
      end = source.size();
    }
    std::string line = source.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

// Converts one UTF-8 source line to code page 936, or reports why it cannot be.
bool ConvertLine(const std::string& utf8, std::size_t lineNumber, quivella::Text& out) {
  const QString line =
      QString::fromUtf8(QByteArray(utf8.data(), static_cast<qsizetype>(utf8.size())));
  const std::u16string units = line.toStdU16String();
  if (units.find(u'\uFFFD') != std::u16string::npos) {
    std::fprintf(stderr, "line %zu: not valid UTF-8\n", lineNumber);
    return false;
  }
  out = quivella::FromUtf16(units);
  // The round trip catches characters without a code page 936 form and any composition.
  if (quivella::ToUtf16(out) != units + u'\0') {
    std::fprintf(stderr, "line %zu: a character has no code page 936 form\n", lineNumber);
    return false;
  }
  return true;
}

// Checks the line rules that a conversion cannot break later: no empty line, and one
// question mark in every line that is not a banner.
bool CheckLine(const quivella::Text& line, std::size_t lineNumber) {
  if (line.empty()) {
    std::fprintf(stderr, "line %zu: empty line\n", lineNumber);
    return false;
  }
  if (line.front() == '@') {
    if (line.find('?') != quivella::Text::npos) {
      std::fprintf(stderr, "line %zu: a banner line holds a question mark\n", lineNumber);
      return false;
    }
    return true;
  }
  const std::size_t first = line.find('?');
  if (first == quivella::Text::npos || line.find('?', first + 1) != quivella::Text::npos) {
    std::fprintf(stderr, "line %zu: an entry line needs exactly one question mark\n", lineNumber);
    return false;
  }
  if (first == 0 || first + 1 == line.size()) {
    std::fprintf(stderr, "line %zu: empty question or answer\n", lineNumber);
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    return Usage();
  }
  const bool finalLineEnd = std::strcmp(argv[3], "crlf") == 0;
  if (!finalLineEnd && std::strcmp(argv[3], "none") != 0) {
    return Usage();
  }
  std::string source;
  if (!ReadFile(argv[1], source)) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 1;
  }
  const std::vector<std::string> lines = SplitLines(source);
  quivella::Bytes bank;
  std::size_t entries = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    quivella::Text converted;
    if (!ConvertLine(lines[i], i + 1, converted) || !CheckLine(converted, i + 1)) {
      return 1;
    }
    if (converted.front() != '@') {
      ++entries;
    }
    bank += converted;
    if (i + 1 < lines.size() || finalLineEnd) {
      bank += "\r\n";
    }
  }
  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  out.write(bank.data(), static_cast<std::streamsize>(bank.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "cannot write %s\n", argv[2]);
    return 1;
  }
  std::printf("%s: %zu bytes, %zu lines, %zu entry lines\n", argv[2], bank.size(), lines.size(),
              entries);
  return 0;
}
