// The result list's view: a report-style table over ResultListModel with grid lines, a header
// of push-button captions that sorts nothing, fixed column order with draggable widths, and
// single full-row selection that is hidden while the list does not have the focus.
#pragma once

#include <QColor>
#include <QTableView>
#include <utility>

namespace quivella {

class ResultListModel;

class ResultListView : public QTableView {
  Q_OBJECT

 public:
  ResultListView(ResultListModel* model, QWidget* parent);

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void ShowSelection(bool shown);

  std::pair<QColor, QColor> selectionColours;  // highlight and highlighted text
};

}  // namespace quivella
