#pragma once
// Rows for a list control that keeps its rows sorted itself, putting each
// new row before the first row that is not less than it. Handed over as they
// come, every row makes the control walk the rows already there: quadratic
// in the rows. FrontInsertOrder gives the same rows in the order in which
// every one lands in front of those already there, leaving the control with
// the very order that handing them over as they come would leave: sorted,
// and rows the control holds equal newest first.
//
// less must hold equal at least the rows that the control holds equal (the
// control's own comparison, or a coarser one such as the same without case).
#include <algorithm>
#include <vector>

template <typename Row, typename Less> std::vector<Row> FrontInsertOrder(std::vector<Row> rows, Less less)
{
    // The control's final order: sorted, equal rows last-come first. Handing
    // that order over from its end puts every row in front.
    std::reverse(rows.begin(), rows.end());
    std::stable_sort(rows.begin(), rows.end(), less);
    std::reverse(rows.begin(), rows.end());
    return rows;
}
