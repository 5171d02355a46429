// The result list's view over ResultListModel.
#include "app/result_list_view.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QStyledItemDelegate>
#include <QToolTip>

#include "app/main_window.h"
#include "search/result_list_model.h"

namespace quivella {
namespace {

// Draws the cells without hover highlight, and shows a row label's tooltip only when the label
// is cut off.
class ResultListDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                 const QModelIndex& index) override {
    if (event == nullptr || event->type() != QEvent::ToolTip) {
      return QStyledItemDelegate::helpEvent(event, view, option, index);
    }
    const QString whole = index.data(Qt::ToolTipRole).toString();
    if (whole.isEmpty() || sizeHint(option, index).width() <= option.rect.width()) {
      QToolTip::hideText();
      event->ignore();
      return false;
    }
    QToolTip::showText(event->globalPos(), whole, view, option.rect);
    return true;
  }

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    option->state &= ~QStyle::State_MouseOver;
  }
};

}  // namespace

ResultListView::ResultListView(ResultListModel* model, QWidget* parent) : QTableView(parent) {
  setModel(model);
  setItemDelegate(new ResultListDelegate(this));

  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSortingEnabled(false);
  setShowGrid(true);
  setGridStyle(Qt::SolidLine);
  setWordWrap(false);
  setCornerButtonEnabled(false);
  // Tab leaves the list for the next tab stop instead of walking its cells.
  setTabKeyNavigation(false);
  setMouseTracking(false);
  viewport()->setAttribute(Qt::WA_Hover, false);
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);

  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);

  QHeaderView* header = horizontalHeader();
  header->setSectionsMovable(false);
  header->setSectionsClickable(true);  // pressed like a button; nothing is sorted
  header->setSortIndicatorShown(false);
  header->setHighlightSections(false);
  header->setStretchLastSection(false);
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  header->setSectionResizeMode(QHeaderView::Interactive);
  for (int column = 0; column < static_cast<int>(kResultColumnWidths.size()); ++column) {
    header->resizeSection(column, kResultColumnWidths[static_cast<std::size_t>(column)]);
  }

  QPalette colours = palette();
  colours.setColor(QPalette::Text, QColor::fromRgb(kBlue));
  colours.setColor(QPalette::Base, QColor::fromRgb(kWhite));
  setPalette(colours);
  selectionColours = {colours.color(QPalette::Highlight), colours.color(QPalette::HighlightedText)};
  ShowSelection(false);
}

void ResultListView::ShowSelection(bool shown) {
  // The row panel and the cell are both painted from these two roles, so a selected row looks
  // like any other while the list is unfocused; the selection itself stays.
  QPalette colours = palette();
  colours.setColor(QPalette::Highlight,
                   shown ? selectionColours.first : colours.color(QPalette::Base));
  colours.setColor(QPalette::HighlightedText,
                   shown ? selectionColours.second : colours.color(QPalette::Text));
  setPalette(colours);
}

void ResultListView::focusInEvent(QFocusEvent* event) {
  ShowSelection(true);
  QTableView::focusInEvent(event);
}

void ResultListView::focusOutEvent(QFocusEvent* event) {
  ShowSelection(false);
  QTableView::focusOutEvent(event);
}

}  // namespace quivella
