#include "memdisk/DiskStatusViewController.h"

#include "app/Resources.h"

DiskStatusViewController::DiskStatusViewController()
    : ui::TableViewController(ui::TableViewStyle::Grouped) {
    setTitle(Resources::text("DiskStatus"));
}
