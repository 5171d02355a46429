// Compact row storage of the result list.
#include "search/result_rows.h"

namespace quivella {
namespace {

bool InRange(int row, int column, std::size_t rowCount) {
  return row >= 0 && static_cast<std::size_t>(row) < rowCount && column >= 0 &&
         column < ResultRows::kColumnCount;
}

}  // namespace

void ResultRows::Clear() {
  bytes_.clear();
  rows_.clear();
}

std::string_view ResultRows::Cell(int row, int column) const {
  if (!InRange(row, column, rows_.size())) {
    return {};
  }
  const Bounds& b = rows_[static_cast<std::size_t>(row)];
  const auto c = static_cast<std::size_t>(column);
  return std::string_view(bytes_).substr(b[c], b[c + 1] - b[c]);
}

void ResultRows::AppendEmpty() {
  const std::size_t end = bytes_.size();
  rows_.push_back({end, end, end, end});
}

void ResultRows::Append(std::string_view number, std::string_view question,
                        std::string_view answer) {
  BeginRow();
  for (std::string_view cell : {number, question, answer}) {
    bytes_.append(cell);
    EndCell();
  }
  CommitRow();
}

void ResultRows::SetCell(int row, int column, std::string_view text) {
  if (!InRange(row, column, rows_.size())) {
    return;
  }
  // The row is written again at the end with the new cell; the old bytes stay unused until the
  // next Clear.
  std::array<std::string, kColumnCount> cells;
  for (int c = 0; c < kColumnCount; ++c) {
    cells[static_cast<std::size_t>(c)] = c == column ? std::string(text) : std::string(Cell(row, c));
  }
  Bounds& b = rows_[static_cast<std::size_t>(row)];
  b[0] = bytes_.size();
  for (std::size_t c = 0; c < cells.size(); ++c) {
    bytes_.append(cells[c]);
    b[c + 1] = bytes_.size();
  }
}

std::string_view ResultRows::PendingCell(int column) const {
  const auto c = static_cast<std::size_t>(column);
  return std::string_view(bytes_).substr(pending_[c], pending_[c + 1] - pending_[c]);
}

}  // namespace quivella
