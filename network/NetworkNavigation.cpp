#include "network/NetworkNavigation.h"

#include "platform/ui/NavigationController.h"

void pushHidingBottomBar(ui::ViewController* from, ui::ViewController* screen) {
    ui::NavigationController* navigation = from->navigationController();
    if (navigation == nullptr) {
        delete screen;
        return;
    }
    screen->setHidesBottomBarWhenPushed(true);
    from->setHidesBottomBarWhenPushed(true);
    navigation->pushViewControllerAnimated(screen, true);
    from->setHidesBottomBarWhenPushed(false);
}
