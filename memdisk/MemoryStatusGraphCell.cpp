#include "memdisk/MemoryStatusGraphCell.h"

const QString kMemoryStatusGraphCellIdentifier = QStringLiteral("MemoryStatusGraphCellIdentifier");

MemoryStatusGraphCell::MemoryStatusGraphCell(const QString& reuseIdentifier)
    : ui::TableViewCell(reuseIdentifier), graphView_(new MemoryStatusGraphView(contentView())) {
    setSelectionStyle(ui::TableViewCellSelectionStyle::None);
}
