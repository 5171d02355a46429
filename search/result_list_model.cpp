// The result list's rows, held as code page 936 texts and shown as Unicode.
#include "search/result_list_model.h"

#include <algorithm>

#include "platform/cp936.h"

namespace quivella {
namespace {

constexpr std::array<const char16_t*, ResultListModel::kColumnCount> kCaptions = {
    u"计", u"题目", u"答案"};

QString ToQString(std::u16string_view units) {
  return QString(reinterpret_cast<const QChar*>(units.data()), static_cast<qsizetype>(units.size()));
}

}  // namespace

ResultListModel::ResultListModel(QObject* parent) : QAbstractTableModel(parent) {}

void ResultListModel::DeleteAllRows() {
  if (rows_.Size() == 0) {
    return;
  }
  beginResetModel();
  rows_.Clear();
  endResetModel();
}

int ResultListModel::AppendRow() {
  const int row = RowCount();
  beginInsertRows(QModelIndex(), row, row);
  rows_.AppendEmpty();
  endInsertRows();
  return row;
}

void ResultListModel::SetCellText(int row, int column, Text text) {
  if (row < 0 || row >= RowCount() || column < 0 || column >= kColumnCount) {
    return;
  }
  rows_.SetCell(row, column, text);
  const QModelIndex cell = index(row, column);
  emit dataChanged(cell, cell, {Qt::DisplayRole});
}

int ResultListModel::FindRow(const Text& sought, int start, bool whole, int column) const {
  if (column < 0 || column >= kColumnCount) {
    return -1;
  }
  for (int r = std::max(start, 0); r < RowCount(); ++r) {
    const std::string_view cell = rows_.Cell(r, column);
    if (whole ? cell == sought : cell.substr(0, sought.size()) == sought) {
      return r;
    }
  }
  return -1;
}

ResultRows ResultListModel::TakeSpareRows() {
  ResultRows rows = std::move(spare_);
  rows.Clear();
  return rows;
}

void ResultListModel::ReplaceAllRows(ResultRows rows) {
  beginResetModel();
  std::swap(rows_, rows);
  endResetModel();
  spare_ = std::move(rows);
}

int ResultListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : RowCount();
}

int ResultListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QVariant ResultListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= RowCount() || index.column() >= kColumnCount) {
    return {};
  }
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole) {
    return {};
  }
  std::string_view cell = rows_.Cell(index.row(), index.column());
  // Every answer ends with the carriage return of its line; the cell keeps it, the view not.
  if (!cell.empty() && cell.back() == '\r') {
    cell.remove_suffix(1);
  }
  if (role == Qt::ToolTipRole && index.column() != 0) {
    return {};
  }
  return ToQString(StandardToUtf16(cell));
}

QVariant ResultListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      section >= kColumnCount) {
    return {};
  }
  return QString::fromUtf16(kCaptions[static_cast<std::size_t>(section)]);
}

Qt::ItemFlags ResultListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) {
    return Qt::NoItemFlags;
  }
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

}  // namespace quivella
