#pragma once

#include "memdisk/GraphView.h"
#include "platform/ui/TableViewCell.h"

#include <QString>

extern const QString kDiskStatusGraphCellIdentifier;

// The chart row of a disk's section: one pie chart, kept for the cell's life, showing
// whatever disk the screen gives it.
class DiskStatusGraphCell : public ui::TableViewCell {
public:
    explicit DiskStatusGraphCell(const QString& reuseIdentifier);

    GraphView* graphView() const { return graphView_; }

private:
    GraphView* graphView_;
};
