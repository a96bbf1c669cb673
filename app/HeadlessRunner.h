#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class AppController;

// What the command line asks for. With no arguments the program is the GUI; the
// options below run it without a display (offscreen) and exit.
struct HeadlessRequest {
    enum class Kind { Gui, Dump, Screenshot, Lookup, UpdateRegistry, Help, Version, Invalid };
    Kind kind = Kind::Gui;
    QString argument;      // the screen of --dump, the folder of --screenshot
    QByteArray folder;     // the folder of --screenshot as the file system names it
    bool json = false;     // --dump SCREEN --json
    QStringList addresses; // the addresses of --lookup; "-" alone reads standard input
    bool resolve = false;  // --lookup --resolve: each address's host name last
    bool force = false;    // --update-registry --force: whatever the file's age
    QString error;         // why the arguments were refused
};

// `ormel --dump SCREEN [--json]` prints a screen's table as text or JSON; `ormel
// --screenshot DIR` writes a PNG of every tab's root screen. Both build the real
// application, on the offscreen platform. `ormel --lookup ADDRESS...` (or `-`, the
// addresses on standard input) asks the address registry alone, and with --resolve
// reverse DNS for each address's host name too. `ormel --update-registry [--force]`
// installs a new registry file (RegistryUpdateCommand). Exit status: 0 done,
// 1 a kernel read, a file or an address failed (stderr says which), 2 bad arguments.
class HeadlessRunner {
public:
    // The arguments after the program name, as the bytes the system passed.
    static HeadlessRequest parse(const QList<QByteArray>& arguments);
    static QString usage();
    // Runs a request other than Gui; makes its own QApplication.
    static int main(int argc, char** argv, const HeadlessRequest& request);

    // The text of a screen: "== <title>", then its table (see ui::TableView::renderText);
    // or, with json, one JSON object (docs/JSON.md) and a newline.
    // SCREEN is a tab name: system, process, memory, disk or network; or "process/PID",
    // the detail screen of that process, opened as a tap on its row of the list does; or
    // a screen below the Network tab (NetworkScreenPath), opened likewise; or
    // "destination/ADDRESS", the destination screen of a dotted quad, without its host
    // name.
    static bool dumpScreen(AppController& controller, const QString& screen, bool json,
                           QString* text, QString* error);
    // Writes "<n>-<tab>.png" for every tab into `folder`; the paths written.
    static bool writeScreenshots(AppController& controller, const QByteArray& folder,
                                 QList<QByteArray>* written, QString* error);

    static const QStringList& screenNames();
};
