#include "network/NetworkStatusViewController.h"

#include "common/Resources.h"

NetworkStatusViewController::NetworkStatusViewController()
    : ui::TableViewController(ui::TableViewStyle::Grouped) {
    setTitle(Resources::text("NetworkStatus"));
}
