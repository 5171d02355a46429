// RegexObject over the regular-expression component.
#include "search/regex_object.h"

#include "platform/cp936.h"

namespace quivella {
namespace {

// The quote marker "#引号" in code page 936, and what it stands for.
constexpr std::string_view kQuoteMarker = "#\xD2\xFD\xBA\xC5";
constexpr char kDoubleQuote = '"';

// Replaces every quote marker left to right, never starting inside a two-byte character.
Text ReplaceQuoteMarkers(const Text& pattern) {
  Text out;
  out.reserve(pattern.size());
  std::size_t copied = 0;
  std::size_t at = FindText(pattern, kQuoteMarker);
  while (at != std::string_view::npos) {
    out.append(pattern, copied, at - copied);
    out.push_back(kDoubleQuote);
    copied = at + kQuoteMarker.size();
    at = FindText(pattern, kQuoteMarker, copied);
  }
  out.append(pattern, copied, std::string::npos);
  return out;
}

// The length of a subject without its terminating unit.
std::size_t UnitsWithoutTerminator(const std::u16string& units) {
  return units.empty() ? 0 : units.size() - 1;
}

}  // namespace

RegexObject::RegexObject() { platform::ApartmentInitialize(); }

RegexObject::~RegexObject() { Destroy(); }

void RegexObject::Destroy() {
  if (destroyed) {
    return;
  }
  destroyed = true;
  regExp.reset();
  matchCollection.reset();
  subject.reset();
  subjectSource.clear();
  subjectSource.shrink_to_fit();
  subjectMap = UnitByteMap();
  platform::ApartmentUninitialize();
}

bool RegexObject::Create(const Text& pattern, const Text& subjectText, bool caseSensitive,
                         bool multiLine, bool globalSearch, bool quoteMarkers) {
  matchCollection.reset();
  regExp = std::make_unique<platform::RegExp>();
  regExp->SetIgnoreCase(!caseSensitive);
  regExp->SetMultiline(multiLine);
  regExp->SetGlobal(globalSearch);
  regExp->SetPattern(StandardToUtf16(quoteMarkers ? ReplaceQuoteMarkers(pattern) : pattern));

  // The UTF-16 form depends only on the subject's bytes: reuse it for a byte-identical text.
  if (!subject || subjectText != subjectSource) {
    subject = std::make_shared<const std::u16string>(ToUtf16(subjectText));
    subjectSource = subjectText;
    subjectMap = UnitByteMap(std::string_view(subjectSource).substr(0, subjectSource.find('\0')),
                             std::u16string_view(*subject).substr(0, UnitsWithoutTerminator(*subject)));
  }
  // The engine runs over the subject's characters; the terminating unit is not part of it.
  matchCollection = regExp->Execute(subject, UnitsWithoutTerminator(*subject));
  return matchCollection.has_value();
}

Text RegexObject::GetPattern() const {
  return regExp ? StandardFromUtf16(regExp->Pattern()) : Text();
}

Text RegexObject::Replace(const Text& replacement) const {
  if (!regExp) {
    return {};
  }
  const std::u16string_view units =
      subject ? std::u16string_view(*subject).substr(0, UnitsWithoutTerminator(*subject))
              : std::u16string_view();
  const std::optional<std::u16string> replaced =
      regExp->Replace(units, StandardToUtf16(replacement));
  return replaced ? StandardFromUtf16(*replaced) : Text();
}

int RegexObject::MatchCount() const { return matchCollection ? matchCollection->Count() : 0; }

std::optional<platform::Match> RegexObject::MatchAt(int matchIndex) const {
  if (!matchCollection || matchIndex < 1) {
    return std::nullopt;
  }
  return matchCollection->Item(matchIndex - 1);
}

Text RegexObject::MatchText(int matchIndex) const {
  const std::optional<platform::Match> match = MatchAt(matchIndex);
  return match ? FromUtf16(match->Value()) : Text();
}

Text RegexObject::SubMatchText(int matchIndex, int subMatchIndex) const {
  Text text;
  AppendSubMatchText(matchIndex, subMatchIndex, text);
  return text;
}

void RegexObject::AppendSubMatchText(int matchIndex, int subMatchIndex, Text& out) const {
  if (!matchCollection || matchIndex < 1 || subMatchIndex < 1) {
    return;
  }
  const std::optional<std::u16string_view> group =
      matchCollection->GroupText(matchIndex - 1, subMatchIndex - 1);
  if (!group) {
    return;
  }
  if (subjectMap.Exact() && !group->empty()) {
    // The group's text is the run of subject bytes its units came from.
    const auto first = static_cast<std::size_t>(group->data() - subject->data());
    const std::size_t begin = subjectMap.ByteOffset(subjectSource, first);
    const std::size_t end = subjectMap.ByteOffset(subjectSource, first + group->size());
    out.append(subjectSource, begin, end - begin);
    return;
  }
  AppendStandardFromUtf16(*group, out);
}

int RegexObject::SubMatchCount() const {
  const std::optional<platform::Match> first = MatchAt(1);
  return first ? first->SubMatches().Count() : 0;
}

}  // namespace quivella
