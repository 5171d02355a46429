// The result list's rows, held as code page 936 texts and shown as Unicode.
#include "search/result_list_model.h"

#include "platform/cp936.h"

namespace quivella {
namespace {

constexpr std::array<const char16_t*, ResultListModel::kColumnCount> kCaptions = {
    u"计", u"题目", u"答案"};

bool ValidCell(int row, int column, std::size_t rowCount) {
  return row >= 0 && static_cast<std::size_t>(row) < rowCount && column >= 0 &&
         column < ResultListModel::kColumnCount;
}

QString ToQString(std::u16string_view units) {
  return QString(reinterpret_cast<const QChar*>(units.data()), static_cast<qsizetype>(units.size()));
}

}  // namespace

ResultListModel::ResultListModel(QObject* parent) : QAbstractTableModel(parent) {}

void ResultListModel::DeleteAllRows() {
  if (rows_.empty()) {
    return;
  }
  beginResetModel();
  rows_.clear();
  endResetModel();
}

int ResultListModel::AppendRow() {
  const int row = RowCount();
  beginInsertRows(QModelIndex(), row, row);
  rows_.emplace_back();
  endInsertRows();
  return row;
}

void ResultListModel::SetCellText(int row, int column, Text text) {
  if (!ValidCell(row, column, rows_.size())) {
    return;
  }
  rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = std::move(text);
  const QModelIndex cell = index(row, column);
  emit dataChanged(cell, cell, {Qt::DisplayRole});
}

Text ResultListModel::CellText(int row, int column) const {
  if (!ValidCell(row, column, rows_.size())) {
    return {};
  }
  return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

int ResultListModel::FindRow(const Text& sought, int start, bool whole, int column) const {
  if (column < 0 || column >= kColumnCount) {
    return -1;
  }
  for (std::size_t r = static_cast<std::size_t>(std::max(start, 0)); r < rows_.size(); ++r) {
    const Text& cell = rows_[r][static_cast<std::size_t>(column)];
    const bool hit = whole ? cell == sought : cell.compare(0, sought.size(), sought) == 0;
    if (hit) {
      return static_cast<int>(r);
    }
  }
  return -1;
}

void ResultListModel::ReplaceAllRows(std::vector<Row> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  endResetModel();
}

int ResultListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : RowCount();
}

int ResultListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QVariant ResultListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || !ValidCell(index.row(), index.column(), rows_.size())) {
    return {};
  }
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole) {
    return {};
  }
  std::string_view cell = rows_[static_cast<std::size_t>(index.row())]
                               [static_cast<std::size_t>(index.column())];
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
