#include "network/NetworkStatusViewController.h"

#include "app/Resources.h"

NetworkStatusViewController::NetworkStatusViewController()
    : ui::TableViewController(ui::TableViewStyle::Grouped) {
    setTitle(Resources::text("NetworkStatus"));
}
