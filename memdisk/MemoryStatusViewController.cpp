#include "memdisk/MemoryStatusViewController.h"

#include "app/Resources.h"

MemoryStatusViewController::MemoryStatusViewController()
    : ui::TableViewController(ui::TableViewStyle::Grouped) {
    setTitle(Resources::text("MemoryStatus"));
}
