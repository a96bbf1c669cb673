#include "memdisk/DiskStatusGraphCell.h"

const QString kDiskStatusGraphCellIdentifier = QStringLiteral("DiskStatusGraphCellIdentifier");

DiskStatusGraphCell::DiskStatusGraphCell(const QString& reuseIdentifier)
    : ui::TableViewCell(reuseIdentifier),
      graphView_(new GraphView({12, 3, 294, 106}, contentView())) {
    setSelectionStyle(ui::TableViewCellSelectionStyle::None);
}
