#pragma once

#include "memdisk/MemoryStatusGraphView.h"
#include "platform/ui/TableViewCell.h"

#include <QString>

extern const QString kMemoryStatusGraphCellIdentifier;

// The chart row of the memory screen: one memory chart, kept for the cell's life,
// showing whatever reading the screen gives it.
class MemoryStatusGraphCell : public ui::TableViewCell {
public:
    explicit MemoryStatusGraphCell(const QString& reuseIdentifier);

    MemoryStatusGraphView* graphView() const { return graphView_; }

private:
    MemoryStatusGraphView* graphView_;
};
