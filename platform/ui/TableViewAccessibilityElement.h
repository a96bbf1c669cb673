#pragma once

#include "platform/ui/IndexPath.h"

#include <QAccessibleInterface>
#include <QPointer>

namespace ui {

class TableView;

// A row of a table, or a section's header, as a screen reader finds it: named by the
// texts the table shows for it, as the table's text rendering joins and escapes them
// (a name carries no raw control character to a braille line or a terminal reader). It holds no
// cell: it asks the table each time, so it stays right across reloads.
class TableViewAccessibilityElement : public QAccessibleInterface {
public:
    // A header's element has this row.
    static constexpr int kHeaderRow = -1;

    TableViewAccessibilityElement(TableView* table, const IndexPath& indexPath);

    const IndexPath& indexPath() const { return indexPath_; }
    bool isHeader() const { return indexPath_.row == kHeaderRow; }

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;

private:
    QPointer<TableView> table_;
    IndexPath indexPath_;
};

} // namespace ui
