#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace ui {

class TableView;

// A table as text, for dumps and screen readers: a section is a header line, "-- "
// and its title (or "--" alone), then a line per row of the row's label texts in
// reading order, joined by tabs. A section with neither title nor rows shows nothing,
// as it draws nothing.
class TableViewTextRenderer {
public:
    // Every section and row of `table`, rows off screen too.
    static QString renderText(TableView& table);

    static bool isSectionShown(const QString& title, int rows);
    static QString headerLine(const QString& title);
    static QString rowLine(const QStringList& texts);
    // The texts of the visible, non-empty labels inside `view`, top edge first, then
    // left edge.
    static QStringList labelTextsInReadingOrder(const QWidget* view);
};

} // namespace ui
