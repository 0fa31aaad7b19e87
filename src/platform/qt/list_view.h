#pragma once
// The report list: a view over the row store. It paints only the visible rows and turns mouse
// and keys into state changes as the platform's list view does. Private to platform/qt.

#include <QAbstractScrollArea>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QStandardItemModel>

#include "handles.h"
#include "platform/list_rows.h"

class ListView : public QAbstractScrollArea {
    Q_OBJECT
public:
    // widthScale turns the platform's pixel widths of columns into ours (see InsertColumn).
    ListView(WindowHandle* handle, double widthScale, QWidget* parent);

    ListRows& Rows() { return m_rows; }
    // Called after every change of the rows: one repaint and one scroll-range update follow,
    // however many changes came before them.
    void RowsChanged();
    int InsertColumn(int column, const QString& title, int width);
    void SetFullRowSelect(bool on) { m_fullRowSelect = on; }
    bool FullRowSelect() const { return m_fullRowSelect; }
    void EnsureVisible(int row);
    int TopIndex() const;
    int RowHeight() const { return m_rowHeight; }
    // The row under a point of the viewport, or -1.
    int RowAt(QPoint viewportPoint) const;
    QHeaderView* Header() const { return m_header; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void SyncScrollRange();
    void LayoutHeader();
    void SelectOnly(int row);
    void SelectRange(int from, int to, bool keepOthers);
    void MoveFocusTo(int row, Qt::KeyboardModifiers modifiers);
    int PageRows() const;
    int TypeAhead(const QString& typed);

    WindowHandle* m_handle;
    ListRows m_rows;
    QHeaderView* m_header;
    QStandardItemModel m_columns;
    int m_rowHeight;
    double m_widthScale;
    int m_anchor = -1;
    bool m_fullRowSelect = false;
    bool m_syncPending = false;
    QString m_typed;
    QElapsedTimer m_typedAt;
};
