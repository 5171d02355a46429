// The query search that runs on every change of the query text.
#pragma once

#include <optional>

#include "platform/text.h"
#include "search/regex_object.h"
#include "search/result_list_model.h"

namespace quivella {

// Searches bankText for the lines whose question contains the query (a regular-expression
// fragment) and fills list with one row per new question: match number, question, answer.
// Returns the count label's new text ("<rows> 条"), or nullopt when the pattern is invalid;
// then the list is left empty and the label keeps its text.
std::optional<Text> RunQuerySearch(RegexObject& matcher, const Text& bankText,
                                   const Text& queryText, ResultListModel& list);

}  // namespace quivella
