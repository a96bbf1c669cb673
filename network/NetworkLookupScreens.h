#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace ui {
class ViewController;
}

// Where the network screens open the screens of the address registry: the lookup
// popup over a window (a flag tapped in the routing list), the destination screen of an
// address with its registry result (row 0 of the route detail and peer screens) and the
// lookup history (the Network tab's "History" button). The network screens call only
// these.
//
// Those screens arrive with the registry's lookup features (TarnelPopupView,
// DestinationViewController, HistoryViewController): their makers are installed here
// then. Until one is installed, the popup shows nothing and no screen is made, and the
// callers do nothing more.
class NetworkLookupScreens {
public:
    using PopupShower = std::function<void(const QString& address, QWidget* window)>;
    using DestinationMaker =
        std::function<ui::ViewController*(const QString& address, const QStringList& result)>;
    using HistoryMaker = std::function<ui::ViewController*()>;

    static void showLookupPopup(const QString& address, QWidget* window);
    // A new screen (the caller pushes it and owns it then), or nullptr.
    static ui::ViewController* destinationScreen(const QString& address,
                                                 const QStringList& registryResult);
    static ui::ViewController* historyScreen();

    // Installs the makers; an empty one leaves that screen out again.
    static void install(PopupShower popup, DestinationMaker destination, HistoryMaker history);
    // Installs the destination screen's maker alone, keeping the others.
    static void installDestination(DestinationMaker destination);

private:
    struct Makers {
        PopupShower popup;
        DestinationMaker destination;
        HistoryMaker history;
    };
    static Makers& makers();
};
