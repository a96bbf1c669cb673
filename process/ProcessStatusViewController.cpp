#include "process/ProcessStatusViewController.h"

#include "app/Resources.h"

ProcessStatusViewController::ProcessStatusViewController()
    : ui::TableViewController(ui::TableViewStyle::Plain) {
    setTitle(Resources::text("ProcessStatus"));
}
