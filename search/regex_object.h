// RegexObject: the program's regular-expression object over code page 936 text.
//
// It drives the regular-expression component (platform/regex/regexp_component.h), converting
// between code page 936 texts and the component's UTF-16 strings so the engine works on whole
// characters, keeps the last run's match collection and subject, and hands out match and group
// texts by 1-based numbers. Nothing is thrown: a failure gives an empty text or 0, and only
// Create reports it, by returning false.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/regex/regexp_component.h"
#include "platform/text.h"
#include "search/unit_byte_map.h"

namespace quivella {

class RegexObject {
 public:
  // Enters the component apartment for the calling thread.
  RegexObject();
  // Destroys the object: see Destroy.
  ~RegexObject();
  RegexObject(const RegexObject&) = delete;
  RegexObject& operator=(const RegexObject&) = delete;

  // Releases the component and the last match collection, clears the subject and leaves the
  // component apartment once. Only the first call has an effect.
  void Destroy();

  // Runs pattern over subjectText with a new component and keeps the result. True when the run
  // gave a match collection, also an empty one. quoteMarkers replaces every "#引号" in the
  // pattern by a double quote.
  bool Create(const Text& pattern, const Text& subjectText, bool caseSensitive = false,
              bool multiLine = true, bool globalSearch = true, bool quoteMarkers = false);

  // The pattern as the component holds it; "" when there is no component.
  Text GetPattern() const;
  // The last subject with the matches replaced; "" when there is no component or it fails.
  Text Replace(const Text& replacement) const;
  // The number of matches of the last run; 0 when there is no match collection.
  int MatchCount() const;
  // The text of match matchIndex (1 is the first); "" when there is none.
  Text MatchText(int matchIndex) const;
  // The text group subMatchIndex took in match matchIndex (both from 1); "" when there is none
  // or the group took no part.
  Text SubMatchText(int matchIndex, int subMatchIndex) const;
  // Appends what SubMatchText gives to out, without a text of its own.
  void AppendSubMatchText(int matchIndex, int subMatchIndex, Text& out) const;
  // The number of capturing groups the first match reports; 0 when there is no match.
  int SubMatchCount() const;

 private:
  std::optional<platform::Match> MatchAt(int matchIndex) const;

  std::unique_ptr<platform::RegExp> regExp;
  std::optional<platform::MatchCollection> matchCollection;
  // The last subject in UTF-16 with its terminating unit; absent before the first Create.
  std::shared_ptr<const std::u16string> subject;
  // The code page 936 text the subject was converted from, to reuse the conversion when the
  // next subject is byte-identical.
  Text subjectSource;
  // Where the subject's units start among subjectSource's bytes, to slice group texts.
  UnitByteMap subjectMap;
  bool destroyed = false;
};

}  // namespace quivella
