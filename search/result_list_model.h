// The rows of the result list: match number, question, answer, as code page 936 texts.
//
// The list operations of the query search (delete all rows, append an empty row, set and read
// a cell, count rows, find a row) work on this model with or without a view. A view shows the
// cells as Unicode, with the carriage return that ends every answer cell left out.
#pragma once

#include <QAbstractTableModel>

#include "platform/text.h"
#include "search/result_rows.h"

namespace quivella {

class ResultListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  static constexpr int kColumnCount = ResultRows::kColumnCount;

  explicit ResultListModel(QObject* parent = nullptr);

  // The list operations.
  void DeleteAllRows();
  int AppendRow();  // appends a row of empty cells; returns its index
  void SetCellText(int row, int column, Text text);
  Text CellText(int row, int column) const { return Text(rows_.Cell(row, column)); }
  int RowCount() const { return rows_.Size(); }
  // Finds the first row from start whose cell in column begins with (whole: equals) sought,
  // byte for byte; an empty sought text matches any cell. -1 when none does.
  int FindRow(const Text& sought, int start, bool whole, int column) const;

  // Hands out empty row storage to fill, reusing the storage of an earlier fill.
  ResultRows TakeSpareRows();
  // Replaces every row in one reset, so a view lays out and repaints once.
  void ReplaceAllRows(ResultRows rows);

  // QAbstractTableModel
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  ResultRows rows_;
  ResultRows spare_;  // the rows of the fill before, kept for their storage
};

}  // namespace quivella
