#pragma once

#include "platform/ui/Color.h"
#include "platform/ui/TableViewStyle.h"

#include <QColor>
#include <QRect>
#include <QString>

#include <optional>
#include <vector>

class QPainter;

namespace ui {

// What a table draws behind its rows: the background colour it was given, else white
// for plain tables and pinstripes for grouped ones.
void paintTableViewBackground(QPainter& painter, const QRect& box, TableViewStyle style,
                              const std::optional<Color>& color);
// The colours of a section header drawn from its title: the title's, its engraved
// shadow's, and every colour the title may stand on.
struct SectionHeaderColors {
    QColor title;
    QColor shadow;
    std::vector<QColor> backgrounds;
};
SectionHeaderColors sectionHeaderColors(TableViewStyle style);

// A section header drawn from its title: a grey gradient bar for plain tables, a
// title over the pinstripes for grouped ones.
void paintTableViewSectionHeader(QPainter& painter, const QRect& box, TableViewStyle style,
                                 const QString& title);

} // namespace ui
