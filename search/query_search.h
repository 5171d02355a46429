// The query search that runs on every change of the query text.
#pragma once

#include <optional>

#include "platform/text.h"
#include "search/regex_object.h"
#include "search/result_list_model.h"

namespace quivella {

// Builds the search pattern "(.*" + queryText + ".*\?)(.*)\n": group 1 is the question up to
// its line's last question mark, group 2 the answer with its carriage return.
Text BuildSearchPattern(const Text& queryText);

// Searches bankText for the lines whose question contains the query (a regular-expression
// fragment) and fills list with one row per new question: match number, question, answer.
// Returns the count label's new text ("<rows> 条"), or nullopt when the pattern is invalid;
// then the list is left empty and the label keeps its text.
std::optional<Text> RunQuerySearch(RegexObject& matcher, const Text& bankText,
                                   const Text& queryText, ResultListModel& list);

}  // namespace quivella
