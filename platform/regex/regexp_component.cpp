// Placeholder until the dialect compiler lands: every pattern is rejected.
#include "platform/regex/regexp_component.h"

namespace quivella::platform {

struct MatchData {};

namespace {
thread_local int apartmentDepth = 0;
}

void ApartmentInitialize() { ++apartmentDepth; }
void ApartmentUninitialize() {
  if (apartmentDepth > 0) {
    --apartmentDepth;
  }
}
int ApartmentDepth() { return apartmentDepth; }

SubMatchCollection::SubMatchCollection(std::shared_ptr<const MatchData> data, int match)
    : data_(std::move(data)), match_(match) {}
int SubMatchCollection::Count() const { return 0; }
std::optional<std::u16string_view> SubMatchCollection::Item(int) const { return std::nullopt; }

Match::Match(std::shared_ptr<const MatchData> data, int match)
    : data_(std::move(data)), match_(match) {}
std::u16string_view Match::Value() const { return {}; }
int Match::FirstIndex() const { return 0; }
int Match::Length() const { return 0; }
SubMatchCollection Match::SubMatches() const { return SubMatchCollection(data_, match_); }

MatchCollection::MatchCollection(std::shared_ptr<const MatchData> data) : data_(std::move(data)) {}
int MatchCollection::Count() const { return 0; }
std::optional<Match> MatchCollection::Item(int) const { return std::nullopt; }

RegExp::RegExp() = default;
RegExp::~RegExp() = default;

std::optional<MatchCollection> RegExp::Execute(std::shared_ptr<const std::u16string>,
                                               std::size_t) const {
  return std::nullopt;
}
std::optional<MatchCollection> RegExp::Execute(std::u16string subject) const {
  return Execute(std::make_shared<const std::u16string>(std::move(subject)));
}
std::optional<std::u16string> RegExp::Replace(std::u16string_view, std::u16string_view) const {
  return std::nullopt;
}

}  // namespace quivella::platform
