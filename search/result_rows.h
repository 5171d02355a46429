// Compact storage for the rows of the result list: every cell's bytes in one buffer, each row
// a set of offsets into it. Filling a list of many rows costs no allocation per cell, and
// clearing keeps the capacity for the next search.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quivella {

class ResultRows {
 public:
  static constexpr int kColumnCount = 3;

  // Removes every row, keeping the storage for reuse.
  void Clear();
  int Size() const { return static_cast<int>(rows_.size()); }
  // The bytes of a cell; empty out of range.
  std::string_view Cell(int row, int column) const;

  // Appends a row of empty cells.
  void AppendEmpty();
  // Appends a row with the given cells.
  void Append(std::string_view number, std::string_view question, std::string_view answer);
  // Replaces one cell's text; out of range does nothing.
  void SetCell(int row, int column, std::string_view text);

  // Building a row in place: the cells are appended to the buffer one after another with
  // AppendToCell and NextCell, then CommitRow makes them a row or DropRow forgets them.
  std::string& Buffer() { return bytes_; }
  void BeginRow() { pending_ = {bytes_.size(), 0, 0, 0}; pendingCell_ = 0; }
  void EndCell() { pending_[++pendingCell_] = bytes_.size(); }
  void CommitRow() { rows_.push_back(pending_); }
  void DropRow() { bytes_.resize(pending_[0]); }
  // The bytes of a cell of the row being built, that EndCell has closed.
  std::string_view PendingCell(int column) const;

 private:
  // Row r's cell c spans bytes [bounds[c], bounds[c + 1]) of bytes_.
  using Bounds = std::array<std::size_t, kColumnCount + 1>;

  std::string bytes_;
  std::vector<Bounds> rows_;
  Bounds pending_{};
  std::size_t pendingCell_ = 0;
};

}  // namespace quivella
