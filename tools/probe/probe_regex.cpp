// quivella-probe regex: runs cases through the regular-expression component, for checks
// against a reference engine.
//
// Standard input holds one JSON object per line:
//   {"pattern": "...", "input": "...", "ignoreCase": true, "multiline": true, "global": true}
// (missing flags are false; \uXXXX escapes are taken as UTF-16 units, lone surrogates too).
// Standard output gets one line per case, in order:
//   {"ok": false}                              the pattern was rejected or a limit was hit
//   {"ok": true, "matches": [{"index": 0, "value": "...", "groups": ["...", null]}]}
// with indexes in UTF-16 units and null for a group that took no part. Every unit outside
// printable ASCII is written as \uXXXX, so lone surrogates survive the trip.
// With --explain, a rejected pattern's line also says where and why, and an accepted one
// shows the PCRE2 pattern it became ("pcre2").
// A line that is not such an object gets {"error": "..."} and the exit code becomes 1.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/regex/regex_matcher.h"
#include "platform/regex/regexp_component.h"
#include "tools/probe/json_string.h"
#include "tools/probe/probe.h"

namespace quivella::probe {
namespace {

// Nesting deeper than this is refused, so a hostile line cannot exhaust the stack.
constexpr int kMaxJsonDepth = 64;

struct JsonValue {
  enum class Type { kNull, kBool, kNumber, kString, kArray, kObject };
  Type type = Type::kNull;
  bool boolean = false;
  std::u16string string;
  std::vector<JsonValue> items;
  std::vector<std::pair<std::u16string, JsonValue>> members;

  // Returns the member called name, or null.
  const JsonValue* Member(std::u16string_view name) const {
    for (const auto& [key, value] : members) {
      if (key == name) {
        return &value;
      }
    }
    return nullptr;
  }
};

// A JSON reader for one line: strict syntax, UTF-8 text, \u escapes kept as UTF-16 units.
class JsonReader {
 public:
  explicit JsonReader(std::string_view text) : text_(text) {}

  // Reads the whole text as one value; nullopt when it is not valid JSON.
  std::optional<JsonValue> ReadDocument() {
    JsonValue value;
    if (!ReadValue(value, 0)) {
      return std::nullopt;
    }
    SkipSpace();
    if (pos_ != text_.size()) {
      return std::nullopt;
    }
    return value;
  }

 private:
  void SkipSpace() {
    constexpr std::string_view kSpace = " \t\r\n";
    while (pos_ < text_.size() && kSpace.find(text_[pos_]) != std::string_view::npos) {
      ++pos_;
    }
  }

  bool Consume(std::string_view word) {
    if (text_.substr(pos_, word.size()) != word) {
      return false;
    }
    pos_ += word.size();
    return true;
  }

  bool ReadValue(JsonValue& out, int depth) {
    if (depth > kMaxJsonDepth) {
      return false;
    }
    SkipSpace();
    if (pos_ >= text_.size()) {
      return false;
    }
    switch (text_[pos_]) {
      case '{':
        return ReadObject(out, depth);
      case '[':
        return ReadArray(out, depth);
      case '"':
        out.type = JsonValue::Type::kString;
        return ReadString(out.string);
      case 't':
        out.type = JsonValue::Type::kBool;
        out.boolean = true;
        return Consume("true");
      case 'f':
        out.type = JsonValue::Type::kBool;
        return Consume("false");
      case 'n':
        return Consume("null");
      default:
        out.type = JsonValue::Type::kNumber;
        return ReadNumber();
    }
  }

  bool ReadObject(JsonValue& out, int depth) {
    out.type = JsonValue::Type::kObject;
    ++pos_;
    SkipSpace();
    if (Consume("}")) {
      return true;
    }
    for (;;) {
      SkipSpace();
      std::u16string key;
      if (pos_ >= text_.size() || text_[pos_] != '"' || !ReadString(key)) {
        return false;
      }
      SkipSpace();
      if (!Consume(":")) {
        return false;
      }
      JsonValue value;
      if (!ReadValue(value, depth + 1)) {
        return false;
      }
      out.members.emplace_back(std::move(key), std::move(value));
      SkipSpace();
      if (Consume("}")) {
        return true;
      }
      if (!Consume(",")) {
        return false;
      }
    }
  }

  bool ReadArray(JsonValue& out, int depth) {
    out.type = JsonValue::Type::kArray;
    ++pos_;
    SkipSpace();
    if (Consume("]")) {
      return true;
    }
    for (;;) {
      JsonValue value;
      if (!ReadValue(value, depth + 1)) {
        return false;
      }
      out.items.push_back(std::move(value));
      SkipSpace();
      if (Consume("]")) {
        return true;
      }
      if (!Consume(",")) {
        return false;
      }
    }
  }

  bool ReadNumber() {
    const std::size_t start = pos_;
    constexpr std::string_view kNumberChars = "+-0123456789.eE";
    while (pos_ < text_.size() && kNumberChars.find(text_[pos_]) != std::string_view::npos) {
      ++pos_;
    }
    return pos_ > start;
  }

  // Reads four hex digits at pos_.
  bool ReadHex4(char16_t& unit) {
    if (pos_ + 4 > text_.size()) {
      return false;
    }
    unsigned value = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = text_[pos_++];
      unsigned digit = 0;
      if (c >= '0' && c <= '9') {
        digit = static_cast<unsigned>(c - '0');
      } else if (c >= 'a' && c <= 'f') {
        digit = static_cast<unsigned>(c - 'a' + 10);
      } else if (c >= 'A' && c <= 'F') {
        digit = static_cast<unsigned>(c - 'A' + 10);
      } else {
        return false;
      }
      value = value * 16 + digit;
    }
    unit = static_cast<char16_t>(value);
    return true;
  }

  // Reads one UTF-8 character at pos_ as UTF-16 units; invalid bytes become U+FFFD.
  void ReadUtf8(std::u16string& out) {
    const auto lead = static_cast<unsigned char>(text_[pos_++]);
    int extra = 0;
    char32_t cp = 0;
    if (lead >= 0xF0 && lead <= 0xF4) {
      extra = 3;
      cp = lead & 0x07u;
    } else if (lead >= 0xE0) {
      extra = 2;
      cp = lead & 0x0Fu;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      extra = 1;
      cp = lead & 0x1Fu;
    } else {
      out.push_back(u'\uFFFD');
      return;
    }
    for (int i = 0; i < extra; ++i) {
      if (pos_ >= text_.size() || (static_cast<unsigned char>(text_[pos_]) & 0xC0u) != 0x80u) {
        out.push_back(u'\uFFFD');
        return;
      }
      cp = (cp << 6) | (static_cast<unsigned char>(text_[pos_++]) & 0x3Fu);
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }

  bool ReadString(std::u16string& out) {
    ++pos_;  // the opening quote
    while (pos_ < text_.size()) {
      const char c = text_[pos_];
      if (c == '"') {
        ++pos_;
        return true;
      }
      if (static_cast<unsigned char>(c) < 0x20) {
        return false;
      }
      if (static_cast<unsigned char>(c) >= 0x80) {
        ReadUtf8(out);
        continue;
      }
      ++pos_;
      if (c != '\\') {
        out.push_back(static_cast<char16_t>(c));
        continue;
      }
      if (pos_ >= text_.size()) {
        return false;
      }
      const char e = text_[pos_++];
      char16_t unit = 0;
      switch (e) {
        case '"':
        case '\\':
        case '/':
          unit = static_cast<char16_t>(e);
          break;
        case 'b':
          unit = u'\b';
          break;
        case 'f':
          unit = u'\f';
          break;
        case 'n':
          unit = u'\n';
          break;
        case 'r':
          unit = u'\r';
          break;
        case 't':
          unit = u'\t';
          break;
        case 'u':
          if (!ReadHex4(unit)) {
            return false;
          }
          break;
        default:
          return false;
      }
      out.push_back(unit);
    }
    return false;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

bool Flag(const JsonValue& object, std::u16string_view name) {
  const JsonValue* value = object.Member(name);
  return value != nullptr && value->type == JsonValue::Type::kBool && value->boolean;
}

// Runs one case and returns its output line; nullopt when the line is not a case.
std::optional<std::string> RunCase(const std::string& line, bool explain) {
  const std::optional<JsonValue> document = JsonReader(line).ReadDocument();
  if (!document || document->type != JsonValue::Type::kObject) {
    return std::nullopt;
  }
  const JsonValue* pattern = document->Member(u"pattern");
  const JsonValue* input = document->Member(u"input");
  if (pattern == nullptr || pattern->type != JsonValue::Type::kString || input == nullptr ||
      input->type != JsonValue::Type::kString) {
    return std::nullopt;
  }
  platform::RegExp regExp;
  regExp.SetIgnoreCase(Flag(*document, u"ignoreCase"));
  regExp.SetMultiline(Flag(*document, u"multiline"));
  regExp.SetGlobal(Flag(*document, u"global"));
  regExp.SetPattern(pattern->string);
  const std::optional<platform::MatchCollection> matches = regExp.Execute(input->string);

  platform::regex::CompileOutcome compiled;
  if (explain) {
    compiled = platform::regex::CompilePattern(pattern->string,
                                               {regExp.IgnoreCase(), regExp.Multiline(), true});
  }
  std::string out;
  if (!matches) {
    out = "{\"ok\": false";
    if (explain && compiled.pattern) {
      out += ", \"error\": \"limit exceeded\"";
    } else if (explain) {
      out += ", \"error\": \"";
      out += platform::regex::Describe(compiled.error.code);
      out += "\", \"position\": " + std::to_string(compiled.error.position);
    }
    out += "}";
    return out;
  }
  out = "{\"ok\": true, ";
  if (explain && compiled.pattern) {
    out += "\"pcre2\": ";
    AppendJsonString(out, compiled.pattern->Emitted());
    out += ", ";
  }
  out += "\"matches\": [";
  for (int i = 0; i < matches->Count(); ++i) {
    const platform::Match match = *matches->Item(i);
    if (i > 0) {
      out += ", ";
    }
    out += "{\"index\": " + std::to_string(match.FirstIndex()) + ", \"value\": ";
    AppendJsonString(out, match.Value());
    out += ", \"groups\": [";
    const platform::SubMatchCollection groups = match.SubMatches();
    for (int g = 0; g < groups.Count(); ++g) {
      if (g > 0) {
        out += ", ";
      }
      if (groups.IsSet(g)) {
        AppendJsonString(out, *groups.Item(g));
      } else {
        out += "null";
      }
    }
    out += "]}";
  }
  out += "]}";
  return out;
}

}  // namespace

int RunRegex(int argc, char** argv) {
  bool explain = false;
  for (int i = 0; i < argc; ++i) {
    if (std::strcmp(argv[i], "--explain") == 0) {
      explain = true;
    } else {
      std::fprintf(stderr, "quivella-probe regex: unknown argument %s\n", argv[i]);
      return 2;
    }
  }
  int status = 0;
  std::string line;
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    if (line.find_first_not_of(" \t") == std::string::npos) {
      continue;
    }
    std::optional<std::string> result = RunCase(line, explain);
    if (!result) {
      result = "{\"error\": \"not a case object\"}";
      status = 1;
    }
    std::fputs(result->c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
  }
  return status;
}

}  // namespace quivella::probe
