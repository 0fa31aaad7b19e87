#include "platform/list_rows.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace {

int Size(const auto& vector) {
    return static_cast<int>(vector.size());
}

// A row's place before the sort and the item data the callback is asked about, side by side so
// that a comparison reads neither the row nor a table of keys.
struct SortEntry {
    LPARAM data;
    int row;
};

// Stable merge sort: guarded insertion sort on short runs, then bottom-up merges. Written out
// rather than std::stable_sort because the comparison is the program's callback: a callback that
// is not a strict weak order must still leave every entry inside the array, which the library's
// unguarded insertion step does not promise.
template <typename Less, typename Prefetch>
void MergeSortEntries(std::vector<SortEntry>& entries, Less less, Prefetch prefetch) {
    constexpr int kRun = 16;
    constexpr int kAhead = 6;
    const int n = Size(entries);
    for (int lo = 0; lo < n; lo += kRun) {
        const int hi = std::min(lo + kRun, n);
        for (int i = lo + 1; i < hi; ++i) {
            SortEntry moving = entries[i];
            int j = i;
            for (; j > lo && less(moving, entries[j - 1]); --j) {
                entries[j] = entries[j - 1];
            }
            entries[j] = moving;
        }
    }
    std::vector<SortEntry> merged(entries.size());
    for (int width = kRun; width < n; width *= 2) {
        for (int lo = 0; lo < n; lo += 2 * width) {
            const int mid = std::min(lo + width, n);
            const int hi = std::min(lo + 2 * width, n);
            int left = lo;
            int right = mid;
            int out = lo;
            while (left < mid && right < hi) {
                prefetch(left + kAhead < mid ? &entries[left + kAhead] : nullptr);
                prefetch(right + kAhead < hi ? &entries[right + kAhead] : nullptr);
                // Take from the right run only when strictly before: equal rows keep their order.
                merged[out++] =
                    less(entries[right], entries[left]) ? entries[right++] : entries[left++];
            }
            while (left < mid) {
                merged[out++] = entries[left++];
            }
            while (right < hi) {
                merged[out++] = entries[right++];
            }
        }
        entries.swap(merged);
    }
}

}  // namespace

int ListRows::Count() const {
    return Size(m_rows) - (m_gapEnd - m_gapStart);
}

ListRows::Row& ListRows::At(int row) {
    return m_rows[row < m_gapStart ? row : row + (m_gapEnd - m_gapStart)];
}

const ListRows::Row& ListRows::At(int row) const {
    return m_rows[row < m_gapStart ? row : row + (m_gapEnd - m_gapStart)];
}

// Moving the gap costs the distance moved, so the program's patterns (inserting at the top again
// and again, delete and insert at neighbouring indexes while walking the list) stay O(1) each.
void ListRows::MoveGapTo(int index) {
    if (m_gapStart == m_gapEnd) {
        m_gapStart = m_gapEnd = index;
        return;
    }
    auto base = m_rows.begin();
    if (index < m_gapStart) {
        const int count = m_gapStart - index;
        std::move_backward(base + index, base + m_gapStart, base + m_gapEnd);
        m_gapStart -= count;
        m_gapEnd -= count;
    } else if (index > m_gapStart) {
        const int count = index - m_gapStart;
        std::move(base + m_gapEnd, base + m_gapEnd + count, base + m_gapStart);
        m_gapStart += count;
        m_gapEnd += count;
    }
}

// Doubles the buffer and keeps the gap where it stands.
void ListRows::Grow() {
    const int oldSize = Size(m_rows);
    const int tail = oldSize - m_gapEnd;
    std::vector<Row> grown(static_cast<std::size_t>(std::max(16, oldSize * 2)));
    std::move(m_rows.begin(), m_rows.begin() + m_gapStart, grown.begin());
    std::move(m_rows.begin() + m_gapEnd, m_rows.end(), grown.end() - tail);
    m_gapEnd = Size(grown) - tail;
    m_rows.swap(grown);
}

int ListRows::Insert(int index, const CString& text0) {
    if (index < 0 || index > Count()) {
        index = Count();
    }
    MoveGapTo(index);
    if (m_gapStart == m_gapEnd) {
        Grow();
    }
    Row& row = m_rows[m_gapStart];
    row.text0 = text0;  // a gap slot's texts are already empty
    row.data = 0;
    row.state = 0;
    ++m_gapStart;
    if (m_focused >= index) {
        ++m_focused;
    }
    ++m_revision;
    return index;
}

bool ListRows::Delete(int index) {
    if (!IsRow(index)) {
        return false;
    }
    MoveGapTo(index);
    Row& gone = m_rows[m_gapEnd];
    if (gone.state & LVIS_SELECTED) {
        --m_selected;
    }
    gone = Row();  // releases the texts now rather than when the slot is next used
    ++m_gapEnd;
    if (m_focused == index) {
        m_focused = -1;
    } else if (m_focused > index) {
        --m_focused;
    }
    ++m_revision;
    return true;
}

void ListRows::DeleteAll() {
    m_rows = std::vector<Row>();
    m_gapStart = m_gapEnd = 0;
    m_selected = 0;
    m_focused = -1;
    ++m_revision;
}

CString ListRows::Text(int row, int column) const {
    if (!IsRow(row)) {
        return CString();
    }
    switch (column) {
        case 0:
            return At(row).text0;
        case 1:
            return At(row).text1;
        default:
            return CString();
    }
}

bool ListRows::SetText(int row, int column, const CString& text) {
    if (!IsRow(row) || (column != 0 && column != 1)) {
        return false;
    }
    (column == 0 ? At(row).text0 : At(row).text1) = text;
    ++m_revision;
    return true;
}

UINT ListRows::State(int row, UINT mask) const {
    if (!IsRow(row)) {
        return 0;
    }
    return (At(row).state | (row == m_focused ? LVIS_FOCUSED : 0u)) & mask;
}

void ListRows::SetRowState(int row, UINT state, UINT mask) {
    Row& r = At(row);
    const bool wasSelected = (r.state & LVIS_SELECTED) != 0;
    r.state = ((r.state & ~mask) | (state & mask)) & ~LVIS_FOCUSED;
    const bool isSelected = (r.state & LVIS_SELECTED) != 0;
    m_selected += static_cast<int>(isSelected) - static_cast<int>(wasSelected);
    if (mask & LVIS_FOCUSED) {
        if (state & LVIS_FOCUSED) {
            m_focused = row;
        } else if (m_focused == row) {
            m_focused = -1;
        }
    }
}

bool ListRows::SetState(int row, UINT state, UINT mask) {
    if (row == -1) {
        // The focus is one row's: a request to give it to every row is refused whole.
        if (state & mask & LVIS_FOCUSED) {
            return false;
        }
        for (int i = 0; i < Count(); ++i) {
            SetRowState(i, state, mask & ~LVIS_FOCUSED);
        }
        if (mask & LVIS_FOCUSED) {
            m_focused = -1;
        }
    } else if (IsRow(row)) {
        SetRowState(row, state, mask);
    } else {
        return false;
    }
    ++m_revision;
    return true;
}

LPARAM ListRows::Data(int row) const {
    return IsRow(row) ? At(row).data : 0;
}

bool ListRows::SetData(int row, LPARAM data) {
    if (!IsRow(row)) {
        return false;
    }
    At(row).data = data;
    ++m_revision;
    return true;
}

int ListRows::NextSelected(int start) const {
    if (m_selected == 0) {
        return -1;
    }
    for (int i = start < 0 ? 0 : start + 1; i < Count(); ++i) {
        if (At(i).state & LVIS_SELECTED) {
            return i;
        }
    }
    return -1;
}

int ListRows::SelectedCount() const {
    return m_selected;
}

int ListRows::FocusedRow() const {
    return m_focused;
}

// The order is decided on indexes over a copy of the item data and the rows move only once it
// is decided, so the callback can read any row by its pre-sort index while the sort runs.
void ListRows::Sort(const std::function<int(LPARAM, LPARAM)>& compare) {
    const int n = Count();
    if (n < 2) {
        return;
    }
    MoveGapTo(n);
    std::vector<SortEntry> entries(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        entries[i] = {m_rows[i].data, i};
    }
    const unsigned long before = m_revision;
    // The callback reads the texts of rows scattered over memory; asking for the rows a few
    // comparisons ahead hides most of the wait on a large list.
    auto prefetch = [this](const SortEntry* entry) {
        if (entry != nullptr) {
            const Row& row = m_rows[entry->row];
            __builtin_prefetch(row.text0.GetString());
            __builtin_prefetch(row.text1.GetString());
        }
    };
    MergeSortEntries(
        entries,
        [&](const SortEntry& a, const SortEntry& b) { return compare(a.data, b.data) < 0; },
        prefetch);
    if (m_revision != before) {
        return;  // the callback changed the list; the order it decided no longer fits the rows
    }

    std::vector<Row> sorted(m_rows.size());
    int focused = -1;
    for (int to = 0; to < n; ++to) {
        sorted[to] = std::move(m_rows[entries[to].row]);
        if (entries[to].row == m_focused) {
            focused = to;
        }
    }
    m_rows.swap(sorted);
    m_gapStart = n;
    m_gapEnd = Size(m_rows);
    m_focused = focused;
    ++m_revision;
}

unsigned long ListRows::Revision() const {
    return m_revision;
}
