// The rows of the result list: match number, question, answer, as code page 936 texts.
//
// The list operations of the query search (delete all rows, append an empty row, set and read
// a cell, count rows, find a row) work on this model with or without a view. A view shows the
// cells as Unicode, with the carriage return that ends every answer cell left out.
#pragma once

#include <QAbstractTableModel>
#include <array>
#include <vector>

#include "platform/text.h"

namespace quivella {

class ResultListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  static constexpr int kColumnCount = 3;
  using Row = std::array<Text, kColumnCount>;

  explicit ResultListModel(QObject* parent = nullptr);

  // The list operations.
  void DeleteAllRows();
  int AppendRow();  // appends a row of empty cells; returns its index
  void SetCellText(int row, int column, Text text);
  Text CellText(int row, int column) const;
  int RowCount() const { return static_cast<int>(rows_.size()); }
  // Finds the first row from start whose cell in column begins with (whole: equals) sought,
  // byte for byte; an empty sought text matches any cell. -1 when none does.
  int FindRow(const Text& sought, int start, bool whole, int column) const;

  // Replaces every row in one reset, so a view repaints once.
  void ReplaceAllRows(std::vector<Row> rows);

  // QAbstractTableModel
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  std::vector<Row> rows_;
};

}  // namespace quivella
