#include "list_view.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>

ListView::ListView(WindowHandle* handle, double widthScale, QWidget* parent)
    : QAbstractScrollArea(parent),
      m_handle(handle),
      m_header(new QHeaderView(Qt::Horizontal, this)),
      m_widthScale(widthScale) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    m_header->setModel(&m_columns);
    m_header->setSectionsClickable(true);
    m_header->setSortIndicatorShown(false);
    m_header->setHighlightSections(false);
    m_header->setStretchLastSection(false);
    m_header->setSectionResizeMode(QHeaderView::Interactive);
    m_header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_header->setFocusPolicy(Qt::NoFocus);
    connect(m_header, &QHeaderView::sectionClicked, this, [this](int column) {
        NMLISTVIEW notify{};
        notify.hdr.hwndFrom = m_handle;
        notify.hdr.idFrom = static_cast<UINT_PTR>(m_handle->id);
        notify.hdr.code = LVN_COLUMNCLICK;
        notify.iItem = -1;
        notify.iSubItem = column;
        if (m_handle->dialog != nullptr && m_handle->dialog->owner != nullptr) {
            m_handle->dialog->owner->SendMessage(WM_NOTIFY, static_cast<WPARAM>(m_handle->id),
                                                 reinterpret_cast<LPARAM>(&notify));
        }
    });
    connect(m_header, &QHeaderView::sectionResized, this, [this] {
        SyncScrollRange();
        viewport()->update();
    });
    m_rowHeight = fontMetrics().height() + 3;
    verticalScrollBar()->setSingleStep(1);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    LayoutHeader();
}

int ListView::InsertColumn(int column, const QString& title, int width) {
    column = std::clamp(column, 0, m_columns.columnCount());
    m_columns.insertColumn(column);
    m_columns.setHeaderData(column, Qt::Horizontal, title);
    if (width >= 0) {
        // Column widths come in the platform's pixels, meant for its dialog font; ours is wider,
        // so they grow with the dialog units, or a full time text would not fit its column.
        m_header->resizeSection(column, static_cast<int>(width * m_widthScale + 0.5));
    }
    LayoutHeader();
    SyncScrollRange();
    return column;
}

void ListView::RowsChanged() {
    if (m_syncPending) {
        return;
    }
    m_syncPending = true;
    QTimer::singleShot(0, this, [this] {
        m_syncPending = false;
        SyncScrollRange();
        viewport()->update();
    });
}

void ListView::SyncScrollRange() {
    int rows = m_rows.Count();
    int page = PageRows();
    verticalScrollBar()->setRange(0, std::max(0, rows - page));
    verticalScrollBar()->setPageStep(std::max(1, page));
    int contentWidth = m_header->length();
    int viewWidth = viewport()->width();
    horizontalScrollBar()->setRange(0, std::max(0, contentWidth - viewWidth));
    horizontalScrollBar()->setPageStep(std::max(1, viewWidth));
}

void ListView::LayoutHeader() {
    int height = m_header->sizeHint().height();
    setViewportMargins(0, height, 0, 0);
    QRect area = viewport()->geometry();
    m_header->setGeometry(area.left(), area.top() - height, area.width(), height);
    m_header->setOffset(horizontalScrollBar()->value());
}

void ListView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    LayoutHeader();
    SyncScrollRange();
}

void ListView::scrollContentsBy(int, int) {
    m_header->setOffset(horizontalScrollBar()->value());
    viewport()->update();
}

void ListView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void ListView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

bool ListView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Resize) {
        SyncScrollRange();
    }
    return QAbstractScrollArea::viewportEvent(event);
}

int ListView::PageRows() const {
    return std::max(1, viewport()->height() / m_rowHeight);
}

int ListView::TopIndex() const {
    return verticalScrollBar()->value();
}

int ListView::RowAt(QPoint point) const {
    if (point.y() < 0) {
        return -1;
    }
    int row = TopIndex() + point.y() / m_rowHeight;
    return row < m_rows.Count() ? row : -1;
}

void ListView::EnsureVisible(int row) {
    SyncScrollRange();
    int top = TopIndex();
    int page = PageRows();
    if (row < top) {
        verticalScrollBar()->setValue(row);
    } else if (row >= top + page) {
        verticalScrollBar()->setValue(row - page + 1);
    }
}

void ListView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const QPalette& pal = palette();
    painter.fillRect(viewport()->rect(), pal.base());
    int top = TopIndex();
    int count = m_rows.Count();
    int visible = viewport()->height() / m_rowHeight + 2;
    int xOffset = horizontalScrollBar()->value();
    bool focused = hasFocus();
    int focusRow = m_rows.FocusedRow();
    int columns = m_columns.columnCount();
    int rowWidth = m_header->length();
    for (int row = top; row < std::min(count, top + visible); ++row) {
        QRect line(-xOffset, (row - top) * m_rowHeight, rowWidth, m_rowHeight);
        bool selected = m_rows.State(row, LVIS_SELECTED) != 0;
        QColor text = pal.color(QPalette::Text);
        if (selected) {
            // The selection stays visible without the focus, in the inactive colours.
            QPalette::ColorGroup group = focused ? QPalette::Active : QPalette::Inactive;
            painter.fillRect(line, pal.brush(group, QPalette::Highlight));
            text = pal.color(group, QPalette::HighlightedText);
        }
        painter.setPen(text);
        for (int column = 0; column < columns; ++column) {
            int x = m_header->sectionViewportPosition(column);
            QRect cell(x + 2, line.top(), m_header->sectionSize(column) - 4, m_rowHeight);
            QString cellText = ToQString(m_rows.Text(row, column).View());
            painter.drawText(cell, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                             fontMetrics().elidedText(cellText, Qt::ElideRight, cell.width()));
        }
        if (focused && row == focusRow) {
            painter.setPen(QPen(pal.color(QPalette::Text), 1, Qt::DotLine));
            painter.drawRect(line.adjusted(0, 0, -1, -1));
        }
    }
}

void ListView::SelectOnly(int row) {
    m_rows.SetState(-1, 0, LVIS_SELECTED);
    if (row >= 0) {
        m_rows.SetState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
}

void ListView::SelectRange(int from, int to, bool keepOthers) {
    if (!keepOthers) {
        m_rows.SetState(-1, 0, LVIS_SELECTED);
    }
    for (int row = std::min(from, to); row <= std::max(from, to); ++row) {
        m_rows.SetState(row, LVIS_SELECTED, LVIS_SELECTED);
    }
}

void ListView::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton) {
        return;
    }
    int row = RowAt(event->position().toPoint());
    Qt::KeyboardModifiers mods = event->modifiers();
    bool onText = row >= 0 &&
                  (m_fullRowSelect || event->position().x() < m_header->sectionViewportPosition(0) +
                                                                  m_header->sectionSize(0));
    if (!onText) {
        // A click on empty space clears the selection, unless Ctrl or Shift holds it.
        if (!(mods & (Qt::ControlModifier | Qt::ShiftModifier))) {
            m_rows.SetState(-1, 0, LVIS_SELECTED);
        }
    } else if (event->button() == Qt::RightButton) {
        if (m_rows.State(row, LVIS_SELECTED) == 0) {
            SelectOnly(row);
            m_anchor = row;
        }
    } else if (mods & Qt::ShiftModifier) {
        int anchor = m_anchor >= 0 && m_anchor < m_rows.Count() ? m_anchor : 0;
        SelectRange(anchor, row, (mods & Qt::ControlModifier) != 0);
        m_rows.SetState(row, LVIS_FOCUSED, LVIS_FOCUSED);
    } else if (mods & Qt::ControlModifier) {
        m_rows.SetState(row, m_rows.State(row, LVIS_SELECTED) ^ LVIS_SELECTED, LVIS_SELECTED);
        m_rows.SetState(row, LVIS_FOCUSED, LVIS_FOCUSED);
        m_anchor = row;
    } else {
        SelectOnly(row);
        m_anchor = row;
    }
    viewport()->update();
}

void ListView::MoveFocusTo(int row, Qt::KeyboardModifiers mods) {
    int count = m_rows.Count();
    if (count == 0) {
        return;
    }
    row = std::clamp(row, 0, count - 1);
    if (mods & Qt::ShiftModifier) {
        int anchor = m_anchor >= 0 && m_anchor < count ? m_anchor : row;
        m_anchor = anchor;
        SelectRange(anchor, row, false);
        m_rows.SetState(row, LVIS_FOCUSED, LVIS_FOCUSED);
    } else if (mods & Qt::ControlModifier) {
        m_rows.SetState(row, LVIS_FOCUSED, LVIS_FOCUSED);
    } else {
        SelectOnly(row);
        m_anchor = row;
    }
    EnsureVisible(row);
    viewport()->update();
}

int ListView::TypeAhead(const QString& typed) {
    int count = m_rows.Count();
    if (count == 0) {
        return -1;
    }
    int start = std::max(0, m_rows.FocusedRow());
    // A repeated single letter steps to the next match; a longer prefix searches from the focus.
    bool stepping = typed.size() == 1 || typed.count(typed.front()) == typed.size();
    QString prefix = stepping ? typed.left(1) : typed;
    for (int i = stepping ? 1 : 0; i <= count; ++i) {
        int row = (start + i) % count;
        if (ToQString(m_rows.Text(row, 0).View()).startsWith(prefix, Qt::CaseInsensitive)) {
            return row;
        }
    }
    return -1;
}

void ListView::keyPressEvent(QKeyEvent* event) {
    Qt::KeyboardModifiers mods = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
    int focus = m_rows.FocusedRow();
    int count = m_rows.Count();
    switch (event->key()) {
        case Qt::Key_Up:
            MoveFocusTo(focus < 0 ? 0 : focus - 1, mods);
            return;
        case Qt::Key_Down:
            MoveFocusTo(focus < 0 ? 0 : focus + 1, mods);
            return;
        case Qt::Key_Home:
            MoveFocusTo(0, mods);
            return;
        case Qt::Key_End:
            MoveFocusTo(count - 1, mods);
            return;
        case Qt::Key_PageUp:
            MoveFocusTo(focus < 0 ? 0 : focus - PageRows() + 1, mods);
            return;
        case Qt::Key_PageDown:
            MoveFocusTo(focus < 0 ? 0 : focus + PageRows() - 1, mods);
            return;
        case Qt::Key_Space:
            if (focus >= 0) {
                if (mods & Qt::ControlModifier) {
                    m_rows.SetState(focus, m_rows.State(focus, LVIS_SELECTED) ^ LVIS_SELECTED,
                                    LVIS_SELECTED);
                } else {
                    m_rows.SetState(focus, LVIS_SELECTED, LVIS_SELECTED);
                }
                m_anchor = focus;
                viewport()->update();
            }
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            event->ignore();  // the dialog's keys
            return;
        default:
            break;
    }
    QString text = event->text();
    if (!text.isEmpty() && text.front().isPrint() && !(mods & Qt::ControlModifier)) {
        if (!m_typedAt.isValid() || m_typedAt.elapsed() > 1000) {
            m_typed.clear();
        }
        m_typed += text;
        m_typedAt.start();
        int row = TypeAhead(m_typed);
        if (row >= 0) {
            MoveFocusTo(row, {});
        }
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

// CListCtrl: every operation forwards to the row store of the attached view.

namespace {
// Every list operation comes through here, so it must be cheap: the handle's kind says what
// its widget is.
ListView* ViewOf(HWND handle) {
    return handle != nullptr && handle->kind == ControlTemplate::Kind::ListView
               ? static_cast<ListView*>(handle->widget.data())
               : nullptr;
}
}  // namespace

ListRows* CListCtrl::Rows() const {
    ListView* view = ViewOf(m_hWnd);
    return view != nullptr ? &view->Rows() : nullptr;
}

void CListCtrl::Changed() const {
    if (ListView* view = ViewOf(m_hWnd)) {
        view->RowsChanged();
    }
}

int CListCtrl::InsertColumn(int column, LPCSTR heading, int, int width) {
    ListView* view = ViewOf(m_hWnd);
    return view != nullptr ? view->InsertColumn(column, ToQString(heading), width) : -1;
}

DWORD CListCtrl::SetExtendedStyle(DWORD exStyle) {
    ListView* view = ViewOf(m_hWnd);
    if (view == nullptr) {
        return 0;
    }
    DWORD previous = view->FullRowSelect() ? LVS_EX_FULLROWSELECT : 0;
    view->SetFullRowSelect((exStyle & LVS_EX_FULLROWSELECT) != 0);
    return previous;
}

DWORD CListCtrl::GetExtendedStyle() const {
    ListView* view = ViewOf(m_hWnd);
    return view != nullptr && view->FullRowSelect() ? LVS_EX_FULLROWSELECT : 0;
}

int CListCtrl::GetItemCount() const {
    ListRows* rows = Rows();
    return rows != nullptr ? rows->Count() : 0;
}

int CListCtrl::InsertItem(UINT mask, int item, LPCSTR text, UINT state, UINT stateMask, int,
                          LPARAM data) {
    ListRows* rows = Rows();
    if (rows == nullptr || item < 0) {
        return -1;
    }
    int index =
        rows->Insert(item, (mask & LVIF_TEXT) && text != nullptr ? CString(text) : CString());
    if (mask & LVIF_STATE) {
        rows->SetState(index, state, stateMask);
    }
    if (mask & LVIF_PARAM) {
        rows->SetData(index, data);
    }
    Changed();
    return index;
}

int CListCtrl::InsertItem(int item, LPCSTR text) {
    return InsertItem(LVIF_TEXT, item, text, 0, 0, 0, 0);
}

BOOL CListCtrl::SetItem(int item, int subItem, UINT mask, LPCSTR text, int, UINT state,
                        UINT stateMask, LPARAM data) {
    ListRows* rows = Rows();
    if (rows == nullptr || item < 0 || item >= rows->Count()) {
        return FALSE;
    }
    bool ok = true;
    if (mask & LVIF_TEXT) {
        ok = rows->SetText(item, subItem, CString(text));
    }
    if (mask & LVIF_STATE) {
        rows->SetState(item, state, stateMask);
    }
    if (mask & LVIF_PARAM) {
        rows->SetData(item, data);
    }
    Changed();
    return ok ? TRUE : FALSE;
}

BOOL CListCtrl::SetItemText(int item, int subItem, LPCSTR text) {
    return SetItem(item, subItem, LVIF_TEXT, text, 0, 0, 0, 0);
}

CString CListCtrl::GetItemText(int item, int subItem) const {
    ListRows* rows = Rows();
    return rows != nullptr ? rows->Text(item, subItem) : CString();
}

BOOL CListCtrl::DeleteItem(int item) {
    ListRows* rows = Rows();
    bool ok = rows != nullptr && rows->Delete(item);
    Changed();
    return ok ? TRUE : FALSE;
}

BOOL CListCtrl::DeleteAllItems() {
    ListRows* rows = Rows();
    if (rows == nullptr) {
        return FALSE;
    }
    rows->DeleteAll();
    Changed();
    return TRUE;
}

int CListCtrl::GetNextItem(int item, int flags) const {
    ListRows* rows = Rows();
    if (rows == nullptr) {
        return -1;
    }
    if (flags & LVNI_SELECTED) {
        return rows->NextSelected(item);
    }
    return item + 1 < rows->Count() ? item + 1 : -1;
}

UINT CListCtrl::GetSelectedCount() const {
    ListRows* rows = Rows();
    return rows != nullptr ? static_cast<UINT>(rows->SelectedCount()) : 0;
}

BOOL CListCtrl::SetItemState(int item, UINT state, UINT mask) {
    ListRows* rows = Rows();
    bool ok = rows != nullptr && rows->SetState(item, state, mask);
    Changed();
    return ok ? TRUE : FALSE;
}

UINT CListCtrl::GetItemState(int item, UINT mask) const {
    ListRows* rows = Rows();
    return rows != nullptr ? rows->State(item, mask) : 0;
}

BOOL CListCtrl::SetItemData(int item, DWORD_PTR data) {
    ListRows* rows = Rows();
    return rows != nullptr && rows->SetData(item, static_cast<LPARAM>(data)) ? TRUE : FALSE;
}

DWORD_PTR CListCtrl::GetItemData(int item) const {
    ListRows* rows = Rows();
    return rows != nullptr ? static_cast<DWORD_PTR>(rows->Data(item)) : 0;
}

BOOL CListCtrl::SortItems(PFNLVCOMPARE compare, DWORD_PTR data) {
    ListRows* rows = Rows();
    if (rows == nullptr || compare == nullptr) {
        return FALSE;
    }
    rows->Sort(
        [compare, data](LPARAM a, LPARAM b) { return compare(a, b, static_cast<LPARAM>(data)); });
    Changed();
    return TRUE;
}

BOOL CListCtrl::EnsureVisible(int item, BOOL) {
    ListView* view = ViewOf(m_hWnd);
    if (view == nullptr || item < 0 || item >= view->Rows().Count()) {
        return FALSE;
    }
    view->EnsureVisible(item);
    return TRUE;
}

int CListCtrl::GetTopIndex() const {
    ListView* view = ViewOf(m_hWnd);
    return view != nullptr ? view->TopIndex() : 0;
}
