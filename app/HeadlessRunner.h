#pragma once

#include <QString>
#include <QStringList>

class AppController;

// What the command line asks for. With no arguments the program is the GUI; the
// options below run it without a display (offscreen) and exit.
struct HeadlessRequest {
    enum class Kind { Gui, Dump, Screenshot, Lookup, Help, Version, Invalid };
    Kind kind = Kind::Gui;
    QString argument;      // the screen of --dump, the folder of --screenshot
    QStringList addresses; // the addresses of --lookup
    QString error;         // why the arguments were refused
};

// `ormel --dump SCREEN` prints a screen's table as text; `ormel --screenshot DIR`
// writes a PNG of every tab's root screen. Both build the real application, on the
// offscreen platform. `ormel --lookup ADDRESS...` asks the address registry alone.
class HeadlessRunner {
public:
    static HeadlessRequest parse(const QStringList& arguments);
    static QString usage();
    // Runs a request other than Gui; makes its own QApplication.
    static int main(int argc, char** argv, const HeadlessRequest& request);

    // The text of a screen: "== <title>", then its table (see ui::TableView::renderText).
    // SCREEN is a tab name: system, process, memory, disk or network; or "process/PID",
    // the detail screen of that process, opened as a tap on its row of the list does.
    static bool dumpScreen(AppController& controller, const QString& screen, QString* text,
                           QString* error);
    // Writes "<n>-<tab>.png" for every tab into `folder`; the paths written.
    static bool writeScreenshots(AppController& controller, const QString& folder,
                                 QStringList* written, QString* error);

    // One line an address: the address and the registry's six texts, tab-separated,
    // or the address alone when the registry has nothing for it.
    static QString lookupLines(const QStringList& addresses);

    static const QStringList& screenNames();
};
