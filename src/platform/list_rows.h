#pragma once
// The rows of a report list: each row's two texts, its selected and focused states and its
// item data. Rows are addressed by zero-based index in display order.

#include <functional>
#include <vector>

#include "platform/text.h"

class ListRows {
public:
    int Count() const;
    // An index below 0 or at or past the end appends. Returns the index the row got.
    int Insert(int index, const CString& text0);
    bool Delete(int index);
    void DeleteAll();

    CString Text(int row, int column) const;  // "" for a bad row or column
    bool SetText(int row, int column, const CString& text);

    UINT State(int row, UINT mask) const;
    // Row -1 means every row. At most one row holds the focus.
    bool SetState(int row, UINT state, UINT mask);

    LPARAM Data(int row) const;
    bool SetData(int row, LPARAM data);

    // First selected row after start (-1 searches from the top); -1 when there is none.
    int NextSelected(int start) const;
    int SelectedCount() const;
    int FocusedRow() const;

    // Orders rows by compare(dataA, dataB) < 0, keeping the order of rows that compare equal.
    // While compare runs, rows are read in the order they had when the sort began.
    void Sort(const std::function<int(LPARAM, LPARAM)>& compare);

    // Bumped by every change.
    unsigned long Revision() const;

private:
    struct Row {
        CString text0;
        CString text1;
        LPARAM data = 0;
        UINT state = 0;  // every state bit but the focus, which m_focused holds
    };

    bool IsRow(int row) const { return row >= 0 && row < Count(); }
    Row& At(int row);
    const Row& At(int row) const;
    void MoveGapTo(int index);
    void Grow();
    void SetRowState(int row, UINT state, UINT mask);

    // A gap buffer: rows [0, m_gapStart) and [m_gapEnd, size) in display order. Gap slots hold
    // no texts (moves leave empty ones behind) but may keep stale data and state.
    std::vector<Row> m_rows;
    int m_gapStart = 0;
    int m_gapEnd = 0;
    int m_selected = 0;
    int m_focused = -1;
    unsigned long m_revision = 0;
};
