// ICU-backed code page 936 conversions. Each thread keeps one opened converter; a conversion
// resets it first, so no state leaks from one call to the next.
#include "platform/cp936.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ucnv_err.h>
#include <unicode/unorm2.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <memory>
#include <new>

namespace quivella {
namespace {

constexpr char16_t kReplacementChar = 0xFFFD;

struct ConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// Writes U+FFFD for every illegal, irregular or unassigned byte sequence.
void ToUnicodeReplacement(const void*, UConverterToUnicodeArgs* args, const char*, int32_t,
                          UConverterCallbackReason reason, UErrorCode* err) {
  if (reason > UCNV_IRREGULAR) {
    return;  // reset, close or clone: nothing to write
  }
  *err = U_ZERO_ERROR;
  ucnv_cbToUWriteUChars(args, reinterpret_cast<const UChar*>(&kReplacementChar), 1, 0, err);
}

// Writes the given substitute bytes for a character that has no code page 936 form.
void FromUnicodeSubstitute(const void* context, UConverterFromUnicodeArgs* args, const UChar*,
                           int32_t, UChar32, UConverterCallbackReason reason, UErrorCode* err) {
  if (reason > UCNV_IRREGULAR) {
    return;
  }
  const auto* substitute = static_cast<const std::string_view*>(context);
  *err = U_ZERO_ERROR;
  ucnv_cbFromUWriteBytes(args, substitute->data(), static_cast<int32_t>(substitute->size()), 0,
                         err);
}

// Opens a windows-936 converter; a converter that cannot be opened is a failed allocation.
ConverterPtr OpenConverter() {
  UErrorCode err = U_ZERO_ERROR;
  ConverterPtr conv(ucnv_open("windows-936", &err));
  if (U_FAILURE(err) || !conv) {
    throw std::bad_alloc();
  }
  ucnv_setToUCallBack(conv.get(), ToUnicodeReplacement, nullptr, nullptr, nullptr, &err);
  return conv;
}

UConverter* ThreadConverter() {
  thread_local ConverterPtr conv = OpenConverter();
  ucnv_reset(conv.get());
  return conv.get();
}

std::string_view UpToNul(std::string_view text) {
  const auto nul = text.find('\0');
  return nul == std::string_view::npos ? text : text.substr(0, nul);
}

std::u16string_view UpToNul(std::u16string_view units) {
  const auto nul = units.find(u'\0');
  return nul == std::u16string_view::npos ? units : units.substr(0, nul);
}

// Converts bytes (no NUL among them) to UTF-16 units.
std::u16string Decode(std::string_view text) {
  std::u16string out;
  if (text.empty()) {
    return out;
  }
  // Code page 936 never yields more units than bytes.
  out.resize(text.size());
  UConverter* conv = ThreadConverter();
  UErrorCode err = U_ZERO_ERROR;
  const int32_t n = ucnv_toUChars(conv, reinterpret_cast<UChar*>(out.data()),
                                  static_cast<int32_t>(out.size()), text.data(),
                                  static_cast<int32_t>(text.size()), &err);
  if (err == U_STRING_NOT_TERMINATED_WARNING) {
    err = U_ZERO_ERROR;
  }
  out.resize(U_SUCCESS(err) ? static_cast<std::size_t>(n) : 0);
  return out;
}

// Appends UTF-16 units (no NUL among them) converted to code page 936 to out, writing
// substitute for each character that has no code page 936 form.
void EncodeAppend(std::u16string_view units, const std::string_view& substitute, Text& out) {
  if (units.empty()) {
    return;
  }
  UConverter* conv = ThreadConverter();
  UErrorCode err = U_ZERO_ERROR;
  ucnv_setFromUCallBack(conv, FromUnicodeSubstitute, &substitute, nullptr, nullptr, &err);
  // A unit gives at most two bytes; a lone surrogate or an unmappable unit at most the substitute.
  const std::size_t start = out.size();
  out.resize(start + units.size() * std::max<std::size_t>(2, substitute.size()));
  err = U_ZERO_ERROR;
  const int32_t n = ucnv_fromUChars(conv, out.data() + start, static_cast<int32_t>(out.size() - start),
                                    reinterpret_cast<const UChar*>(units.data()),
                                    static_cast<int32_t>(units.size()), &err);
  if (err == U_STRING_NOT_TERMINATED_WARNING) {
    err = U_ZERO_ERROR;
  }
  out.resize(start + (U_SUCCESS(err) ? static_cast<std::size_t>(n) : 0));
}

Text Encode(std::u16string_view units, const std::string_view& substitute) {
  Text out;
  EncodeAppend(units, substitute, out);
  return out;
}

// Composes each base character with following non-spacing marks (NFC).
std::u16string Compose(std::u16string_view units) {
  UErrorCode err = U_ZERO_ERROR;
  const UNormalizer2* nfc = unorm2_getNFCInstance(&err);
  if (U_FAILURE(err)) {
    return std::u16string(units);
  }
  const auto* src = reinterpret_cast<const UChar*>(units.data());
  const auto len = static_cast<int32_t>(units.size());
  if (unorm2_quickCheck(nfc, src, len, &err) == UNORM_YES && U_SUCCESS(err)) {
    return std::u16string(units);
  }
  err = U_ZERO_ERROR;
  // Composition mostly shortens; the few characters that decompose under NFC grow, and the
  // buffer is then enlarged to the size asked for.
  std::u16string out(units.size(), u'\0');
  int32_t n = unorm2_normalize(nfc, src, len, reinterpret_cast<UChar*>(out.data()),
                               static_cast<int32_t>(out.size()), &err);
  if (err == U_BUFFER_OVERFLOW_ERROR) {
    err = U_ZERO_ERROR;
    out.resize(static_cast<std::size_t>(n));
    n = unorm2_normalize(nfc, src, len, reinterpret_cast<UChar*>(out.data()), n, &err);
  }
  if (U_FAILURE(err) && err != U_STRING_NOT_TERMINATED_WARNING) {
    return std::u16string(units);
  }
  out.resize(static_cast<std::size_t>(n));
  return out;
}

constexpr std::string_view kQuestionMark = "?";

}  // namespace

std::u16string ToUtf16(std::string_view text) {
  std::u16string units = Decode(UpToNul(text));
  if (!text.empty() && text.front() != '\0') {
    units.push_back(u'\0');
  }
  return units;
}

Text FromUtf16(std::u16string_view units) {
  if (units.empty()) {
    return {};
  }
  // Composition comes first; a NUL unit becomes a NUL byte and ends the text there.
  const std::u16string composed = Compose(units);
  std::u16string_view view(composed);
  return Encode(UpToNul(view), kQuestionMark);
}

std::u16string Utf16FromLeBytes(std::string_view bytes) {
  std::u16string units(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    const auto lo = static_cast<unsigned char>(bytes[2 * i]);
    const auto hi = static_cast<unsigned char>(bytes[2 * i + 1]);
    units[i] = static_cast<char16_t>(lo | (hi << 8));
  }
  return units;
}

std::u16string StandardToUtf16(std::string_view text) { return Decode(UpToNul(text)); }

Text StandardFromUtf16(std::u16string_view units) {
  return Encode(UpToNul(units), kQuestionMark);
}

void AppendStandardFromUtf16(std::u16string_view units, Text& out) {
  EncodeAppend(UpToNul(units), kQuestionMark, out);
}

Text QueryTextFromUtf16(std::u16string_view units) {
  return Encode(UpToNul(units), kUnmappableQueryChar);
}

std::size_t FindText(std::string_view haystack, std::string_view needle, std::size_t from) {
  if (needle.size() > haystack.size()) {
    return std::string_view::npos;
  }
  const std::size_t last = haystack.size() - needle.size();
  std::size_t i = 0;
  while (i <= last) {
    if (i >= from && haystack.compare(i, needle.size(), needle) == 0) {
      return i;
    }
    i += static_cast<unsigned char>(haystack[i]) >= 0x80 ? 2u : 1u;
  }
  return std::string_view::npos;
}

}  // namespace quivella
