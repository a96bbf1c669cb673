#include "memdisk/DiskStatusGraphCell.h"

const QString kDiskStatusGraphCellIdentifier = QStringLiteral("DiskStatusGraphCellIdentifier");

// The chart keeps its designed size, centred in the 300-point card it would overrun at
// the designed 12-point offset.
DiskStatusGraphCell::DiskStatusGraphCell(const QString& reuseIdentifier)
    : ui::TableViewCell(reuseIdentifier),
      graphView_(new GraphView({3, 3, 294, 106}, contentView())) {
    setSelectionStyle(ui::TableViewCellSelectionStyle::None);
}
