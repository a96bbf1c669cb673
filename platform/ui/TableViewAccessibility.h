#pragma once

#include "platform/ui/IndexPath.h"

#include <QAccessibleWidget>
#include <QHash>

#include <optional>

namespace ui {

class TableView;

// A table as a screen reader finds it: a list whose children are, in reading order,
// the header of each section that has a title and the section's rows, those off screen
// too. A section that shows nothing has no children, as it has no line in the table's
// text. The kit installs it for every TableView.
class TableViewAccessibility : public QAccessibleWidget {
public:
    explicit TableViewAccessibility(TableView* table);
    ~TableViewAccessibility() override;

    // Makes Qt ask this class for the interface of every TableView.
    static void installFactory();

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

    // The header (row TableViewAccessibilityElement::kHeaderRow) or row of a child.
    std::optional<IndexPath> indexPathOfChild(int index) const;

private:
    TableView* table() const;
    // A section's children: its header, when it has a title, and its rows; none when
    // the section shows nothing.
    int childrenOfSection(int section) const;
    int headerChildrenOfSection(int section) const;
    QAccessibleInterface* elementFor(const IndexPath& indexPath) const;

    // The elements made so far, kept by Qt's accessibility cache under these ids.
    mutable QHash<IndexPath, QAccessible::Id> elements_;
};

} // namespace ui
