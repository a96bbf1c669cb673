#include "network/NetworkLookupScreens.h"

NetworkLookupScreens::Makers& NetworkLookupScreens::makers() {
    static Makers installed; // main thread only, as every screen
    return installed;
}

void NetworkLookupScreens::showLookupPopup(const QString& address, QWidget* window) {
    if (makers().popup) {
        makers().popup(address, window);
    }
}

ui::ViewController* NetworkLookupScreens::destinationScreen(const QString& address,
                                                            const QStringList& registryResult) {
    return makers().destination ? makers().destination(address, registryResult) : nullptr;
}

ui::ViewController* NetworkLookupScreens::historyScreen() {
    return makers().history ? makers().history() : nullptr;
}

void NetworkLookupScreens::install(PopupShower popup, DestinationMaker destination,
                                   HistoryMaker history) {
    makers() = {std::move(popup), std::move(destination), std::move(history)};
}

void NetworkLookupScreens::installDestination(DestinationMaker destination) {
    makers().destination = std::move(destination);
}
