#pragma once

#include "platform/ui/TableView.h"

#include <QList>
#include <QStringList>

// A table's data for tests of its text: sections of Value1 rows, each a text and its
// number in the section as the detail. By default "Fruit" with two rows, an untitled
// section with one row, an empty untitled one (it shows nothing), and "Empty", titled
// without rows.
class Shelves : public ui::TableViewDataSource {
public:
    QList<QStringList> rows{{"apple", "pear"}, {"bread"}, {}, {}};
    QStringList titles{"Fruit", "", "", "Empty"};

    int numberOfSectionsInTableView(ui::TableView*) override {
        return static_cast<int>(rows.size());
    }
    int tableViewNumberOfRowsInSection(ui::TableView*, int section) override {
        return static_cast<int>(rows[section].size());
    }
    QString tableViewTitleForHeaderInSection(ui::TableView*, int section) override {
        return titles[section];
    }
    ui::TableViewCell* tableViewCellForRowAtIndexPath(ui::TableView* table,
                                                      const ui::IndexPath& p) override {
        auto* cell =
            table->dequeueReusableCell<ui::TableViewCell>("Shelf", ui::TableViewCellStyle::Value1);
        cell->textLabel()->setText(rows[p.section][p.row]);
        cell->detailTextLabel()->setText(QString::number(p.row + 1));
        return cell;
    }
};
