// The result-list model: its list operations, FindRow, and what a view is shown.
#include "search/result_list_model.h"

#include <QAbstractItemModelTester>
#include <gtest/gtest.h>

namespace quivella {
namespace {


TEST(ResultListModel, FindRowSemantics) {
  ResultListModel list;
  for (const char* q : {"abc?", "ABD?", "ab"}) {
    list.SetCellText(list.AppendRow(), 1, q);
  }
  struct Case {
    const char* sought;
    int start;
    bool whole;
    int expected;
  };
  const Case cases[] = {
      {"ab", 0, false, 0},   {"ab", 1, false, 2},  {"ab", -5, false, 0}, {"ab", 3, false, -1},
      {"ab", 9, false, -1},  {"AB", 0, false, 1},  {"abc?x", 0, false, -1},
      {"", 0, false, 0},     {"", 2, false, 2},    {"ab", 0, true, 2},   {"abc", 0, true, -1},
      {"ABD?", 0, true, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(list.FindRow(c.sought, c.start, c.whole, 1), c.expected)
        << "sought=" << c.sought << " start=" << c.start << " whole=" << c.whole;
  }
  EXPECT_EQ(list.FindRow("x", 0, false, 7), -1);
  EXPECT_EQ(ResultListModel().FindRow("", 0, false, 1), -1);
}

TEST(ResultListModel, ListOperationsAndDisplay) {
  ResultListModel list;
  QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::Warning);
  EXPECT_EQ(list.AppendRow(), 0);
  list.SetCellText(0, 0, "1");
  list.SetCellText(0, 1, "\xD6\xD0?");  // 中?
  list.SetCellText(0, 2, "\xCE\xC4\r");  // 文 with the line's carriage return
  list.SetCellText(5, 1, "ignored");
  EXPECT_EQ(list.CellText(0, 2), "\xCE\xC4\r");
  EXPECT_EQ(list.CellText(3, 1), "");
  EXPECT_EQ(list.data(list.index(0, 1)).toString(), QString::fromUtf8("中?"));
  EXPECT_EQ(list.data(list.index(0, 2)).toString(), QString::fromUtf8("文"));
  EXPECT_EQ(list.headerData(1, Qt::Horizontal).toString(), QString::fromUtf8("题目"));
  EXPECT_FALSE(list.flags(list.index(0, 1)) & Qt::ItemIsEditable);

  ResultRows rows = list.TakeSpareRows();
  rows.Append("1", "a?", "b\r");
  rows.Append("2", "c?", "d\r");
  list.ReplaceAllRows(std::move(rows));
  EXPECT_EQ(list.rowCount(), 2);
  EXPECT_EQ(list.CellText(1, 1), "c?");
  list.SetCellText(0, 1, "longer question?");
  EXPECT_EQ(list.CellText(0, 1), "longer question?");
  EXPECT_EQ(list.CellText(0, 2), "b\r");
  EXPECT_EQ(list.CellText(1, 1), "c?");
  list.DeleteAllRows();
  EXPECT_EQ(list.RowCount(), 0);
}

}  // namespace
}  // namespace quivella
