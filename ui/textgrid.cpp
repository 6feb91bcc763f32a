#include "ui/textgrid.h"

#include <QHeaderView>

#include "ui/look.h"

namespace quilvex {

namespace {
constexpr int kRowHeight = 14;
constexpr int kColumnWidth = 64;
}  // namespace

TextGrid::TextGrid(int rows, QWidget* parent) : QTableView(parent), model_(rows)
{
    setModel(&model_);
    setFont(PixelFont("Arial", 9));
    SetTextColor(this, colors::Black);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    verticalHeader()->setMinimumSectionSize(kRowHeight);
    horizontalHeader()->setDefaultSectionSize(kColumnWidth);
    setShowGrid(true);
    setEditTriggers(QAbstractItemView::AllEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabKeyNavigation(true);
}

}  // namespace quilvex
