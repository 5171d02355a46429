// Placeholder until the query search lands.
#include "search/query_search.h"

namespace quivella {

std::optional<Text> RunQuerySearch(RegexObject&, const Text&, const Text&, ResultListModel& list) {
  list.DeleteAllRows();
  return std::nullopt;
}

}  // namespace quivella
