#include "platform/ui/TableViewAccessibility.h"

#include "platform/ui/TableView.h"
#include "platform/ui/TableViewAccessibilityElement.h"
#include "platform/ui/TableViewTextRenderer.h"

namespace ui {

namespace {

QAccessibleInterface* tableViewAccessibilityFactory(const QString& /*className*/, QObject* object) {
    if (auto* table = qobject_cast<TableView*>(object)) {
        return new TableViewAccessibility(table);
    }
    return nullptr;
}

} // namespace

TableViewAccessibility::TableViewAccessibility(TableView* table)
    : QAccessibleWidget(table, QAccessible::List) {}

TableViewAccessibility::~TableViewAccessibility() {
    for (const QAccessible::Id id : std::as_const(elements_)) {
        QAccessible::deleteAccessibleInterface(id);
    }
}

void TableViewAccessibility::installFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(tableViewAccessibilityFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

TableView* TableViewAccessibility::table() const {
    return static_cast<TableView*>(widget());
}

int TableViewAccessibility::headerChildrenOfSection(int section) const {
    return table()->titleForHeaderInSection(section).isEmpty() ? 0 : 1;
}

int TableViewAccessibility::childrenOfSection(int section) const {
    const QString title = table()->titleForHeaderInSection(section);
    const int rows = table()->numberOfRowsInSection(section);
    if (!TableViewTextRenderer::isSectionShown(title, rows)) {
        return 0;
    }
    return headerChildrenOfSection(section) + rows;
}

int TableViewAccessibility::childCount() const {
    int count = 0;
    for (int s = 0; s < table()->numberOfSections(); ++s) {
        count += childrenOfSection(s);
    }
    return count;
}

std::optional<IndexPath> TableViewAccessibility::indexPathOfChild(int index) const {
    for (int s = 0; s < table()->numberOfSections() && index >= 0; ++s) {
        const int children = childrenOfSection(s);
        if (index < children) {
            return IndexPath{s, index - headerChildrenOfSection(s)};
        }
        index -= children;
    }
    return std::nullopt;
}

QAccessibleInterface* TableViewAccessibility::child(int index) const {
    const std::optional<IndexPath> indexPath = indexPathOfChild(index);
    return indexPath ? elementFor(*indexPath) : nullptr;
}

QAccessibleInterface* TableViewAccessibility::elementFor(const IndexPath& indexPath) const {
    if (const auto found = elements_.constFind(indexPath); found != elements_.constEnd()) {
        return QAccessible::accessibleInterface(*found);
    }
    auto* element = new TableViewAccessibilityElement(table(), indexPath);
    elements_.insert(indexPath, QAccessible::registerAccessibleInterface(element));
    return element;
}

int TableViewAccessibility::indexOfChild(const QAccessibleInterface* child) const {
    const auto* element = dynamic_cast<const TableViewAccessibilityElement*>(child);
    if (element == nullptr || !element->isValid()) {
        return -1;
    }
    const IndexPath& indexPath = element->indexPath();
    int index = headerChildrenOfSection(indexPath.section) + indexPath.row;
    for (int s = 0; s < indexPath.section; ++s) {
        index += childrenOfSection(s);
    }
    return index;
}

QAccessibleInterface* TableViewAccessibility::childAt(int x, int y) const {
    TableView* shown = table();
    const std::optional<IndexPath> row =
        shown->indexPathForRowAtViewportPixel(shown->viewport()->mapFromGlobal(QPoint(x, y)));
    return row ? elementFor(*row) : nullptr;
}

} // namespace ui
