#pragma once

#include "platform/ui/Label.h"
#include "platform/ui/TableViewCell.h"

#include <QStringList>

// A registry row of the Information screen: the registry's name, its record count
// (blue) and the date of its data (grey), side by side.
class InformationTableCell : public ui::TableViewCell {
public:
    static inline const QString kIdentifier = QStringLiteral("InformationCellID");

    explicit InformationTableCell(const QString& reuseIdentifier);

    // Name, count and date, in this order.
    void setLabel(const QStringList& row);

    ui::Label* name() const { return name_; }
    ui::Label* count() const { return count_; }
    ui::Label* date() const { return date_; }

    void layoutSubviews() override;

private:
    ui::Label* name_;
    ui::Label* count_;
    ui::Label* date_;
};
