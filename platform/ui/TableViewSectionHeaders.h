#pragma once

#include "platform/ui/TableViewGeometry.h"
#include "platform/ui/TableViewStyle.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <optional>
#include <vector>

class QPainter;

namespace ui {

// The headers of a table's sections: the title the data source gives each and the
// view the delegate may give instead, which the table owns, as a child of its host
// (the viewport). A header without a view is drawn from its title.
class TableViewSectionHeaders {
public:
    // A titled header of a plain table, unless the table sets its own height.
    static constexpr double kPlainHeaderHeight = 22;
    // The room between two groups of a grouped table: an untitled header's height, and
    // every section's footer.
    static constexpr double kGroupedGap = 10;

    TableViewSectionHeaders(QWidget* host, TableViewStyle style);

    // Forgets every header, deleting their views.
    void clear();
    // The header of the next section.
    void append(const QString& title, QWidget* view);
    int count() const { return static_cast<int>(headers_.size()); }
    // Empty text for a section that does not exist.
    QString title(int section) const;
    QWidget* view(int section) const;
    bool isEmpty(int section) const;

    // The height a header takes when the delegate leaves it to the table: its view's,
    // else by style and title. `sectionHeaderHeight` is the table's setting, if set.
    double automaticHeight(int section, std::optional<double> sectionHeaderHeight) const;

    // Places the views over their headers with the content scrolled `offset` points.
    void placeViews(const TableViewGeometry& geometry, double offset,
                    TableViewGeometry::Column across);
    // Draws the headers without views that show between `offset` and `offset + height`.
    void paint(QPainter& painter, const TableViewGeometry& geometry, double offset,
               TableViewGeometry::Column across, double height) const;

private:
    struct Header {
        QString title;
        QPointer<QWidget> view;
    };

    QWidget* host_;
    TableViewStyle style_;
    std::vector<Header> headers_;
};

} // namespace ui
