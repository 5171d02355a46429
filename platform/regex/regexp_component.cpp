// The regular-expression component's object model over the dialect matcher.
//
// Execute keeps the subject alive through a shared pointer and records every match as flat
// offsets (regex_matcher.h); the collection, match and group objects are views onto that one
// record, so handing out a value copies nothing.
#include "platform/regex/regexp_component.h"

#include <vector>

#include "platform/regex/regex_matcher.h"

namespace quivella::platform {

struct MatchData {
  std::shared_ptr<const std::u16string> subject;
  regex::MatchList matches;
};

namespace {

thread_local int apartmentDepth = 0;

// The longest result Replace builds, in UTF-16 units (256 MiB): $` and $' copy the subject at
// every match, so a result can grow with the square of the subject.
constexpr std::size_t kMaxReplaceLength = std::size_t{1} << 27;

bool HasMatch(const std::shared_ptr<const MatchData>& data, int match) {
  return data && match >= 0 && match < data->matches.Count();
}

// The text of slot (0 the whole match, g group g) of match; empty when it took no part.
std::u16string_view SlotText(const MatchData& data, int match, int slot) {
  const std::int32_t start = data.matches.Start(match, slot);
  if (start < 0) {
    return {};
  }
  const std::int32_t end = data.matches.End(match, slot);
  return std::u16string_view(*data.subject)
      .substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
}

regex::CompileOptions OptionsOf(const RegExp& regExp) {
  return regex::CompileOptions{regExp.IgnoreCase(), regExp.Multiline(), /*jit=*/true};
}

// One piece of a replacement text: literal text, or what a $ form stands for.
struct ReplacementPiece {
  enum Kind : std::uint8_t { kText, kGroup, kBefore, kAfter } kind = kText;
  std::u16string_view text;  // for kText
  int slot = 0;              // for kGroup: 0 is the whole match ($&)
};

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Splits replacement into pieces: $$ is "$", $& the match, $` the text before it, $' the text
// after it, $n and $nn (1 to 99) a group when the pattern has that many; any other $ is
// itself. Two digits that name no group fall back to the first digit alone.
std::vector<ReplacementPiece> ParseReplacement(std::u16string_view replacement, int groupCount) {
  std::vector<ReplacementPiece> pieces;
  std::size_t textStart = 0;
  auto flushText = [&](std::size_t end) {
    if (end > textStart) {
      pieces.push_back(
          {ReplacementPiece::kText, replacement.substr(textStart, end - textStart), 0});
    }
  };
  std::size_t i = 0;
  while (i < replacement.size()) {
    if (replacement[i] != u'$' || i + 1 >= replacement.size()) {
      ++i;
      continue;
    }
    const char16_t next = replacement[i + 1];
    ReplacementPiece piece;
    std::size_t length = 2;
    if (next == u'$') {
      flushText(i);
      textStart = i + 1;  // the second "$" starts the next text
      i += 2;
      continue;
    }
    if (next == u'&') {
      piece.kind = ReplacementPiece::kGroup;
    } else if (next == u'`') {
      piece.kind = ReplacementPiece::kBefore;
    } else if (next == u'\'') {
      piece.kind = ReplacementPiece::kAfter;
    } else if (IsDigit(next)) {
      const int first = next - u'0';
      const bool two = i + 2 < replacement.size() && IsDigit(replacement[i + 2]);
      const int both = two ? first * 10 + (replacement[i + 2] - u'0') : 0;
      if (two && both >= 1 && both <= groupCount) {
        piece.slot = both;
        length = 3;
      } else if (first >= 1 && first <= groupCount) {
        piece.slot = first;
      } else {
        ++i;
        continue;
      }
      piece.kind = ReplacementPiece::kGroup;
    } else {
      ++i;
      continue;
    }
    flushText(i);
    pieces.push_back(piece);
    i += length;
    textStart = i;
  }
  flushText(replacement.size());
  return pieces;
}

}  // namespace

void ApartmentInitialize() { ++apartmentDepth; }
void ApartmentUninitialize() {
  if (apartmentDepth > 0) {
    --apartmentDepth;
  }
}
int ApartmentDepth() { return apartmentDepth; }

SubMatchCollection::SubMatchCollection(std::shared_ptr<const MatchData> data, int match)
    : data_(std::move(data)), match_(match) {}

int SubMatchCollection::Count() const {
  return HasMatch(data_, match_) ? data_->matches.GroupCount() : 0;
}

std::optional<std::u16string_view> SubMatchCollection::Item(int index) const {
  if (index < 0 || index >= Count()) {
    return std::nullopt;
  }
  return SlotText(*data_, match_, index + 1);
}

bool SubMatchCollection::IsSet(int index) const {
  return index >= 0 && index < Count() && data_->matches.Start(match_, index + 1) >= 0;
}

Match::Match(std::shared_ptr<const MatchData> data, int match)
    : data_(std::move(data)), match_(match) {}

std::u16string_view Match::Value() const {
  return HasMatch(data_, match_) ? SlotText(*data_, match_, 0) : std::u16string_view();
}

int Match::FirstIndex() const {
  return HasMatch(data_, match_) ? data_->matches.Start(match_, 0) : 0;
}

int Match::Length() const {
  return HasMatch(data_, match_) ? data_->matches.End(match_, 0) - data_->matches.Start(match_, 0)
                                 : 0;
}

SubMatchCollection Match::SubMatches() const { return SubMatchCollection(data_, match_); }

MatchCollection::MatchCollection(std::shared_ptr<const MatchData> data) : data_(std::move(data)) {}

int MatchCollection::Count() const { return data_ ? data_->matches.Count() : 0; }

std::optional<Match> MatchCollection::Item(int index) const {
  if (!HasMatch(data_, index)) {
    return std::nullopt;
  }
  return Match(data_, index);
}

std::optional<std::u16string_view> MatchCollection::GroupText(int match, int group) const {
  if (!HasMatch(data_, match) || group < 0 || group >= data_->matches.GroupCount()) {
    return std::nullopt;
  }
  return SlotText(*data_, match, group + 1);
}

RegExp::RegExp() = default;
RegExp::~RegExp() = default;

std::optional<MatchCollection> RegExp::Execute(std::shared_ptr<const std::u16string> subject,
                                               std::size_t length) const {
  const regex::CompileOutcome compiled = regex::CompileCached(pattern_, OptionsOf(*this));
  if (!compiled.pattern) {
    return std::nullopt;
  }
  auto data = std::make_shared<MatchData>();
  data->subject = subject ? std::move(subject) : std::make_shared<const std::u16string>();
  const std::u16string_view units = std::u16string_view(*data->subject).substr(0, length);
  if (compiled.pattern->FindAll(units, global_, data->matches) != regex::MatchStatus::kOk) {
    return std::nullopt;
  }
  return MatchCollection(std::move(data));
}

std::optional<MatchCollection> RegExp::Execute(std::u16string subject) const {
  return Execute(std::make_shared<const std::u16string>(std::move(subject)));
}

std::optional<std::u16string> RegExp::Replace(std::u16string_view subject,
                                              std::u16string_view replacement) const {
  const regex::CompileOutcome compiled = regex::CompileCached(pattern_, OptionsOf(*this));
  if (!compiled.pattern) {
    return std::nullopt;
  }
  regex::MatchList matches;
  if (compiled.pattern->FindAll(subject, global_, matches) != regex::MatchStatus::kOk) {
    return std::nullopt;
  }
  const std::vector<ReplacementPiece> pieces =
      ParseReplacement(replacement, matches.GroupCount());
  std::u16string out;
  bool tooLong = false;
  auto append = [&](std::u16string_view text) {
    tooLong = tooLong || out.size() + text.size() > kMaxReplaceLength;
    if (!tooLong) {
      out.append(text);
    }
  };
  std::size_t copied = 0;
  for (int i = 0; i < matches.Count() && !tooLong; ++i) {
    const auto start = static_cast<std::size_t>(matches.Start(i, 0));
    const auto end = static_cast<std::size_t>(matches.End(i, 0));
    append(subject.substr(copied, start - copied));
    for (const ReplacementPiece& piece : pieces) {
      switch (piece.kind) {
        case ReplacementPiece::kText:
          append(piece.text);
          break;
        case ReplacementPiece::kGroup:
          if (matches.Start(i, piece.slot) >= 0) {
            const auto from = static_cast<std::size_t>(matches.Start(i, piece.slot));
            const auto to = static_cast<std::size_t>(matches.End(i, piece.slot));
            append(subject.substr(from, to - from));
          }
          break;
        case ReplacementPiece::kBefore:
          append(subject.substr(0, start));
          break;
        case ReplacementPiece::kAfter:
          append(subject.substr(end));
          break;
      }
    }
    copied = end;
  }
  append(subject.substr(copied));
  if (tooLong) {
    return std::nullopt;
  }
  return out;
}

}  // namespace quivella::platform
