#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace ui {

class TableView;

// A table as text, for dumps and screen readers: a section is a header line, "-- "
// and its title (or "--" alone), then a line per row of the row's label texts in
// reading order, joined by tabs. A section with neither title nor rows shows nothing,
// as it draws nothing. Control characters in titles and texts are escaped, so that no
// name can move a terminal's cursor or break the line and field format.
class TableViewTextRenderer {
public:
    // A shown section: its title (empty when it has none) and each row's texts.
    struct Section {
        QString title;
        QList<QStringList> rows;
    };

    // Every section and row of `table`, rows off screen too.
    static QString renderText(TableView& table);
    // The same sections and texts, unescaped, for scripts:
    // {"sections": [{"title": "…", "rows": [["…", …], …]}, …]}.
    static QJsonObject renderJson(TableView& table);
    // The sections renderText shows, in order.
    static QList<Section> shownSections(TableView& table);

    static bool isSectionShown(const QString& title, int rows);
    static QString headerLine(const QString& title);
    static QString rowLine(const QStringList& texts);
    // `text` with each control character (C0, DEL, C1) written out as ps and ss do:
    // "\t", "\n" and "\r" as such, the others as "\xNN" (ESC as "\x1b").
    static QString escapedText(const QString& text);
    // The texts of the visible labels inside `view`, top edge first, then left edge:
    // those with text, and the fields of the row (Label::isRowField) empty or not, so
    // that an empty value keeps its column. Hidden labels stay out.
    static QStringList labelTextsInReadingOrder(const QWidget* view);
};

} // namespace ui
