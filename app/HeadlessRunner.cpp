#include "app/HeadlessRunner.h"

#include "app/AppController.h"
#include "app/HistoryScreenPath.h"
#include "app/MapDump.h"
#include "app/NetworkScreenPath.h"
#include "common/LogCategories.h"
#include "common/OutputFile.h"
#include "network/NetworkNavigation.h"
#include "network/NetworkStatusViewController.h"
#include "platform/ui/Application.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewController.h"
#include "platform/ui/TableViewTextRenderer.h"
#include "platform/ui/ViewAnimation.h"
#include "process/ProcessStatusViewController.h"
#include "registry/AddressLookupStream.h"
#include "registry/DestinationViewController.h"
#include "registry/ReverseDNS.h"
#include "registry/TarnelDB.h"
#include "registry/tarnel.h"
#include "system/SystemStatusViewController.h"
#include "update/RegistryUpdateCommand.h"

#include <QApplication>
#include <QBuffer>
#include <QCommandLineParser>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>

namespace {

// Pixels per point of the screenshots: the device's double-density screen.
constexpr double kScreenshotScale = 2.0;

// Exit status of a run whose arguments were refused; other failures exit 1.
constexpr int kUsageError = 2;

const QString kProcessTab = QStringLiteral("process");
const QString kNetworkTab = QStringLiteral("network");
const QString kProcessDetailPrefix = QStringLiteral("process/");
const QString kDestinationPrefix = QStringLiteral("destination/");
const QString kMapScreen = QStringLiteral("map");
const QString kSystemTab = QStringLiteral("system");
const QString kInformationScreen = QStringLiteral("information");

int tabIndexOf(const QString& screen) {
    return static_cast<int>(HeadlessRunner::screenNames().indexOf(screen));
}

// The pid of "process/PID", or nothing for any other screen name. Any run of digits
// names a pid; one the table lacks (0, or one too large for a pid) is a process that
// does not exist.
std::optional<int64_t> processDetailPID(const QString& screen) {
    if (!screen.startsWith(kProcessDetailPrefix)) {
        return std::nullopt;
    }
    const QString digits = screen.mid(kProcessDetailPrefix.size());
    const bool plainDigits =
        !digits.isEmpty() &&
        std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= '0' && c <= '9'; });
    if (!plainDigits) {
        return std::nullopt;
    }
    // More digits than any pid has: a pid that does not exist, too.
    bool fits = false;
    const int64_t pid = digits.toLongLong(&fits);
    return fits ? pid : std::numeric_limits<int64_t>::max();
}

// The address of "destination/ADDRESS" when it is a dotted quad as the registry reads
// one, or nothing.
std::optional<QString> destinationAddress(const QString& screen) {
    if (!screen.startsWith(kDestinationPrefix)) {
        return std::nullopt;
    }
    const QString address = screen.mid(kDestinationPrefix.size());
    const QByteArray bytes = address.toLatin1();
    uint32_t parsed = 0;
    if (tl_parse_address(bytes.constData(), static_cast<size_t>(bytes.size()), &parsed) != 0) {
        return std::nullopt;
    }
    return address;
}

bool isScreenName(const QString& screen) {
    return tabIndexOf(screen) >= 0 || processDetailPID(screen).has_value() ||
           NetworkScreenPath::parse(screen).has_value() ||
           HistoryScreenPath::parse(screen).has_value() || destinationAddress(screen).has_value() ||
           screen == kMapScreen || screen == kInformationScreen;
}

// The warnings of Ormel's own logging categories during a headless run: each but the
// registry's is a kernel read or a file that failed, and makes the run fail.
std::atomic<int>& ormelWarnings() {
    static std::atomic<int> count = 0; // the gathering thread warns too
    return count;
}

// Headless runs print their result and Ormel's own warnings: Qt's notes about the
// offscreen platform (no window raising, no runtime directory) are not the user's
// concern there.
void headlessMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    const bool ormel = context.category != nullptr &&
                       qstrncmp(context.category, kOrmelLogPrefix, qstrlen(kOrmelLogPrefix)) == 0;
    // A registry warning says a file was set aside for the shipped one: nothing failed.
    const bool failure = ormel && type != QtDebugMsg && type != QtInfoMsg &&
                         qstrcmp(context.category, lcRegistry().categoryName()) != 0;
    if (failure) {
        ++ormelWarnings();
    }
    if (ormel || type == QtCriticalMsg || type == QtFatalMsg ||
        qEnvironmentVariableIsSet("ORMEL_DEBUG")) {
        std::fprintf(stderr, "ormel: %s\n", qPrintable(message));
    }
}

bool printOut(QByteArrayView bytes) {
    if (OutputFile::writeAll(STDOUT_FILENO, bytes)) {
        return true;
    }
    std::fprintf(stderr, "ormel: cannot write to standard output: %s\n", std::strerror(errno));
    return false;
}

// Lets queued work (layouts, deferred deletes) settle before a screen is read.
void settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
    }
}

ui::ViewController* showTab(AppController& controller, int index) {
    ui::TabBarController* tabs = controller.tabBarManager();
    tabs->setSelectedIndex(index);
    settle();
    auto* stack = qobject_cast<ui::NavigationController*>(tabs->selectedViewController());
    return stack != nullptr ? stack->topViewController() : tabs->selectedViewController();
}

// Opens the detail screen of `pid` as a tap on its row of the process list does.
ui::ViewController* showProcessDetail(ui::ViewController* list, int64_t pid, const QString& pidText,
                                      QString* error) {
    auto* processes = dynamic_cast<ProcessStatusViewController*>(list);
    if (processes == nullptr) {
        *error = QStringLiteral("the process tab shows no process list");
        return nullptr;
    }
    const bool isPid = pid > 0 && pid <= std::numeric_limits<int32_t>::max();
    const std::optional<ui::IndexPath> row =
        isPid ? processes->indexPathOfPID(static_cast<int32_t>(pid)) : std::nullopt;
    if (!row) {
        *error = QStringLiteral("no process with pid ") + pidText;
        return nullptr;
    }
    processes->tableView()->tapRowAtIndexPath(*row);
    settle();
    ui::NavigationController* stack = processes->navigationController();
    ui::ViewController* top = stack != nullptr ? stack->topViewController() : nullptr;
    if (top == nullptr || top == processes) {
        *error = QStringLiteral("the details of pid %1 did not open").arg(pid);
        return nullptr;
    }
    return top;
}

// Pushes the destination screen of `address` above the Network tab's root, with what
// the registry knows of it. The host name is not looked up: a dump does not wait on
// the network.
ui::ViewController* showDestination(ui::ViewController* root, const QString& address,
                                    QString* error) {
    if (root == nullptr || root->navigationController() == nullptr) {
        *error = QStringLiteral("the network tab has no navigation");
        return nullptr;
    }
    TarnelDB* tarnel = TarnelDB::sharedInstance();
    auto* screen = new DestinationViewController();
    screen->setIpaddr(address, false);
    screen->setData(tarnel->ready() ? tarnel->search(address) : QStringList());
    pushHidingBottomBar(root, screen);
    settle();
    return screen;
}

// Opens the information screen over the System tab as its info button does.
ui::ViewController* showInformation(ui::ViewController* root, QString* error) {
    auto* system = dynamic_cast<SystemStatusViewController*>(root);
    if (system == nullptr) {
        *error = QStringLiteral("the system tab shows no system screen");
        return nullptr;
    }
    system->infoAction();
    settle();
    auto* stack = qobject_cast<ui::NavigationController*>(system->modalViewController());
    if (stack == nullptr) {
        *error = QStringLiteral("the information screen did not open");
        return nullptr;
    }
    return stack->topViewController();
}

QString screenText(const QString& screen, const ui::ViewController& shown, ui::TableView& table,
                   bool json) {
    if (!json) {
        return QStringLiteral("== ") + shown.title() + QLatin1Char('\n') + table.renderText();
    }
    QJsonObject object = table.renderJson();
    object.insert(QStringLiteral("screen"), screen);
    object.insert(QStringLiteral("title"), shown.title());
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)) +
           QLatin1Char('\n');
}

// The declared options of the command line, Qt's own among them (hidden), so that
// "-platform offscreen" and the like reach the application as ever.
struct Options {
    QCommandLineOption help{{"h", "help"}};
    QCommandLineOption version{"version"};
    QCommandLineOption dump{"dump", {}, "SCREEN"};
    QCommandLineOption json{"json"};
    QCommandLineOption screenshot{"screenshot", {}, "DIR"};
    QCommandLineOption lookup{"lookup"};
    QCommandLineOption resolve{"resolve"};
    QCommandLineOption updateRegistry{"update-registry"};
    QCommandLineOption force{"force"};

    void addTo(QCommandLineParser& parser) const {
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.addOptions(
            {help, version, dump, json, screenshot, lookup, resolve, updateRegistry, force});
        for (const char* name :
             {"platform", "platformpluginpath", "platformtheme", "plugin", "qmljsdebugger",
              "qwindowgeometry", "qwindowicon", "qwindowtitle", "session", "display", "geometry",
              "title", "style", "stylesheet"}) {
            QCommandLineOption qtOption(QString::fromLatin1(name), {}, QStringLiteral("VALUE"));
            qtOption.setFlags(QCommandLineOption::HiddenFromHelp);
            parser.addOption(qtOption);
        }
        for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
            QCommandLineOption qtOption(QString::fromLatin1(name));
            qtOption.setFlags(QCommandLineOption::HiddenFromHelp);
            parser.addOption(qtOption);
        }
    }
};

// The bytes of the argument whose text is `value`, as passed on its own or after
// "--option=": a folder named in bytes that are not UTF-8 is still that folder.
QByteArray argumentBytes(const QList<QByteArray>& arguments, const QString& value) {
    for (const QByteArray& argument : arguments) {
        const qsizetype equals = argument.startsWith('-') ? argument.indexOf('=') : -1;
        const QByteArray candidate = equals >= 0 ? argument.mid(equals + 1) : argument;
        if (QString::fromLocal8Bit(candidate) == value) {
            return candidate;
        }
    }
    return QFile::encodeName(value);
}

HeadlessRequest refused(const QString& why) {
    HeadlessRequest request;
    request.kind = HeadlessRequest::Kind::Invalid;
    request.error = why;
    return request;
}

HeadlessRequest lookupRequest(const QStringList& addresses) {
    if (addresses.isEmpty()) {
        return refused(QStringLiteral("--lookup takes one or more addresses, or - for "
                                      "standard input"));
    }
    if (addresses.size() > 1 && addresses.contains(QStringLiteral("-"))) {
        return refused(QStringLiteral("--lookup - reads every address from standard input"));
    }
    HeadlessRequest request;
    request.kind = HeadlessRequest::Kind::Lookup;
    request.addresses = addresses;
    return request;
}

} // namespace

const QStringList& HeadlessRunner::screenNames() {
    static const QStringList names = {"system", "process", "memory", "disk", "network"};
    return names;
}

QString HeadlessRunner::usage() {
    return QStringLiteral(
               "usage: ormel                        open the window\n"
               "       ormel --dump SCREEN [--json] print a screen as text (or JSON)\n"
               "       ormel --screenshot DIR       write a PNG of every tab\n"
               "       ormel --lookup ADDRESS...    look IPv4 addresses up in the registry\n"
               "       ormel --lookup -             the same, an address a line of standard "
               "input\n"
               "       ormel --lookup --resolve ... each address's host name (reverse DNS)\n"
               "                                    as one more last field, empty when none\n"
               "                                    came within about a second\n"
               "       ormel --update-registry [--force]\n"
               "                                    download the regional registries' files and\n"
               "                                    install a new registry file, unless the one\n"
               "                                    in use is under 25 hours old (--force: "
               "always)\n"
               "       ormel --help | --version\n"
               "SCREEN: %1,\n"
               "        process/PID for the details of one process,\n"
               "        network/interface/NAME, network/routing, network/route/N (the N-th\n"
               "        route, from 1), network/tcp, network/udp, or\n"
               "        network/peer/ADDRESS:PORT/tcp|udp for a peer's address and ports,\n"
               "        destination/ADDRESS for the registry's values of an IPv4 address,\n"
               "        history (most counted first), history/date (latest first) or\n"
               "        history/ID for the details of one recorded address, or\n"
               "        map for the place of the location reading (waits up to 10 s for one), or\n"
               "        information for the registry file's records and the credits\n"
               "Exit status: 0 done, 1 a read, a write or an address failed, 2 bad "
               "arguments.\n")
        .arg(screenNames().join(", "));
}

HeadlessRequest HeadlessRunner::parse(const QList<QByteArray>& arguments) {
    QStringList texts{QStringLiteral("ormel")};
    for (const QByteArray& argument : arguments) {
        texts.append(QString::fromLocal8Bit(argument));
    }
    QCommandLineParser parser;
    const Options options;
    options.addTo(parser);
    if (!parser.parse(texts)) {
        return refused(parser.errorText());
    }
    HeadlessRequest request;
    if (parser.isSet(options.help)) {
        request.kind = HeadlessRequest::Kind::Help;
        return request;
    }
    if (parser.isSet(options.version)) {
        request.kind = HeadlessRequest::Kind::Version;
        return request;
    }
    const int modes = int(parser.isSet(options.dump)) + int(parser.isSet(options.screenshot)) +
                      int(parser.isSet(options.lookup)) + int(parser.isSet(options.updateRegistry));
    if (modes > 1) {
        return refused(
            QStringLiteral("choose one of --dump, --screenshot, --lookup and --update-registry"));
    }
    if (parser.isSet(options.force) && !parser.isSet(options.updateRegistry)) {
        return refused(QStringLiteral("--force goes with --update-registry"));
    }
    if (parser.isSet(options.json) && !parser.isSet(options.dump)) {
        return refused(QStringLiteral("--json goes with --dump"));
    }
    if (parser.isSet(options.resolve) && !parser.isSet(options.lookup)) {
        return refused(QStringLiteral("--resolve goes with --lookup"));
    }
    const QStringList positional = parser.positionalArguments();
    if (parser.isSet(options.lookup)) {
        request = lookupRequest(positional);
        request.resolve = parser.isSet(options.resolve);
        return request;
    }
    if (!positional.isEmpty()) {
        return refused(QStringLiteral("unexpected argument: %1").arg(positional.first()));
    }
    if (parser.isSet(options.updateRegistry)) {
        request.kind = HeadlessRequest::Kind::UpdateRegistry;
        request.force = parser.isSet(options.force);
    } else if (parser.isSet(options.dump)) {
        request.kind = HeadlessRequest::Kind::Dump;
        request.argument = parser.value(options.dump);
        request.json = parser.isSet(options.json);
        if (!isScreenName(request.argument)) {
            return refused(QStringLiteral("unknown screen: %1").arg(request.argument));
        }
    } else if (parser.isSet(options.screenshot)) {
        request.kind = HeadlessRequest::Kind::Screenshot;
        request.argument = parser.value(options.screenshot);
        if (request.argument.isEmpty()) {
            return refused(QStringLiteral("--screenshot takes a folder"));
        }
        request.folder = argumentBytes(arguments, request.argument);
    }
    return request;
}

bool HeadlessRunner::dumpScreen(AppController& controller, const QString& screen, bool json,
                                QString* text, QString* error) {
    if (screen == kMapScreen) {
        return MapDump::dump(json, text, error);
    }
    const std::optional<int64_t> pid = processDetailPID(screen);
    const std::optional<NetworkScreenPath> network = NetworkScreenPath::parse(screen);
    const std::optional<HistoryScreenPath> history = HistoryScreenPath::parse(screen);
    const std::optional<QString> destination = destinationAddress(screen);
    const bool information = screen == kInformationScreen;
    const int index = tabIndexOf(pid                                   ? kProcessTab
                                 : (network || history || destination) ? kNetworkTab
                                 : information                         ? kSystemTab
                                                                       : screen);
    if (index < 0) {
        *error = QStringLiteral("unknown screen: %1").arg(screen);
        return false;
    }
    ui::ViewController* shown = showTab(controller, index);
    if (auto* stack = shown != nullptr ? shown->navigationController() : nullptr) {
        stack->popToRootViewControllerAnimated(false); // a detail left from an earlier dump
        settle();
        shown = stack->topViewController();
        if (shown != nullptr && shown->modalViewController() != nullptr) {
            shown->dismissModalViewControllerAnimated(false);
            settle();
        }
    }
    if (information) {
        shown = showInformation(shown, error);
        if (shown == nullptr) {
            return false;
        }
    }
    if (pid) {
        shown = showProcessDetail(shown, *pid, screen.mid(kProcessDetailPrefix.size()), error);
        if (shown == nullptr) {
            return false;
        }
    }
    if (network || history) {
        auto* root = dynamic_cast<NetworkStatusViewController*>(shown);
        if (root == nullptr) {
            *error = QStringLiteral("the network tab shows no interface list");
            return false;
        }
        shown = network ? network->open(root, error) : history->open(root, error);
        if (shown == nullptr) {
            return false;
        }
        settle();
    }
    if (destination) {
        shown = showDestination(shown, *destination, error);
        if (shown == nullptr) {
            return false;
        }
    }
    auto* screenWithTable = qobject_cast<ui::TableViewController*>(shown);
    ui::TableView* table = screenWithTable != nullptr ? screenWithTable->tableView() : nullptr;
    if (table == nullptr) {
        *error = QStringLiteral("screen %1 has no table").arg(screen);
        return false;
    }
    *text = screenText(screen, *shown, *table, json);
    return true;
}

bool HeadlessRunner::writeScreenshots(AppController& controller, const QByteArray& folder,
                                      QList<QByteArray>* written, QString* error) {
    if (!OutputFile::makeDirectories(folder)) {
        *error = QStringLiteral("cannot create folder %1: %2")
                     .arg(QFile::decodeName(folder), QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    for (int index = 0; index < screenNames().size(); ++index) {
        showTab(controller, index);
        const QByteArray path = folder + '/' + QByteArray::number(index + 1) + '-' +
                                screenNames()[index].toLatin1() + ".png";
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        const bool encoded = controller.window()->grab().save(&buffer, "PNG");
        if (!encoded || !OutputFile::replaceContents(path, png)) {
            const QString why = encoded ? QString::fromLocal8Bit(std::strerror(errno))
                                        : QStringLiteral("the image could not be encoded");
            *error = QStringLiteral("cannot write %1: %2").arg(QFile::decodeName(path), why);
            return false;
        }
        written->append(path);
    }
    return true;
}

namespace {

int runWindowless(int argc, char** argv, const HeadlessRequest& request) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    ui::Screen::setScale(request.kind == HeadlessRequest::Kind::Screenshot ? kScreenshotScale
                                                                           : 1.0);
    // A dump or a screenshot only reads: no gathering pass writes the history (nor
    // makes the documents directory for it), and no screen asks the network for a
    // host name.
    ReverseDNS::setBackgroundQueriesAllowed(false);
    ui::ViewAnimation::setAnimationsEnabled(false);
    AppStores stores = AppStores::shared();
    stores.history.reset();
    AppController controller(std::move(stores));
    ui::Application* shared = ui::Application::sharedApplication();
    shared->setDelegate(&controller);
    controller.applicationDidFinishLaunchingWithOptions(shared, {});

    QString text;
    QString error;
    QList<QByteArray> written;
    const bool done =
        request.kind == HeadlessRequest::Kind::Dump
            ? HeadlessRunner::dumpScreen(controller, request.argument, request.json, &text, &error)
            : HeadlessRunner::writeScreenshots(controller, request.folder, &written, &error);
    controller.applicationWillTerminate(shared);
    shared->setDelegate(nullptr);
    // A failed kernel read has been said already; the failure that follows from it
    // (no such process in an empty table) would only hide it.
    if (!done && ormelWarnings() == 0) {
        std::fprintf(stderr, "ormel: %s\n", qPrintable(error));
    }
    QByteArray output = text.toUtf8();
    for (const QByteArray& path : written) {
        output += path + '\n';
    }
    const bool printed = printOut(output);
    return done && printed && ormelWarnings() == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}

int runLookup(int argc, char** argv, const HeadlessRequest& request) {
    // Many invalid lines make many reports: one write for many. Set before the first
    // message (a refused registry copy) reaches stderr.
    static char reports[1 << 16];
    std::setvbuf(stderr, reports, _IOFBF, sizeof reports);
    QCoreApplication application(argc, argv);
    if (!TarnelDB::sharedInstance()->ready()) {
        std::fprintf(stderr,
                     "ormel: no registry file could be opened (%s in the documents or "
                     "resource directory)\n",
                     TarnelDB::fileName);
        return EXIT_FAILURE;
    }
    AddressLookupStream stream;
    stream.setResolveHostNames(request.resolve);
    stream.setInvalidLineHandler([](int64_t line, std::string_view text) {
        std::fprintf(stderr, "ormel: %s\n",
                     qPrintable(AddressLookupStream::invalidLineMessage(line, text)));
    });
    const bool fromInput = request.addresses == QStringList{QStringLiteral("-")};
    const AddressLookupStream::Result result = fromInput
                                                   ? stream.run(STDIN_FILENO, STDOUT_FILENO)
                                                   : stream.run(request.addresses, STDOUT_FILENO);
    // A reader that stopped early (| head) wanted no more; that needs no message.
    const bool readerGone =
        result.failure == AddressLookupStream::Failure::Write && result.error == EPIPE;
    if (!result.ok() && !readerGone) {
        std::fprintf(stderr, "ormel: %s\n", qPrintable(result.failureText()));
    }
    std::fflush(stderr);
    TarnelDB::sharedInstance()->close();
    return result.ok() && result.invalid == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}

} // namespace

int HeadlessRunner::main(int argc, char** argv, const HeadlessRequest& request) {
    qInstallMessageHandler(headlessMessages);
    switch (request.kind) {
    case HeadlessRequest::Kind::Help:
        return printOut(usage().toUtf8()) ? EXIT_SUCCESS : EXIT_FAILURE;
    case HeadlessRequest::Kind::Version:
        return printOut(QByteArrayLiteral("ormel " ORMEL_VERSION "\n")) ? EXIT_SUCCESS
                                                                        : EXIT_FAILURE;
    case HeadlessRequest::Kind::Invalid:
        std::fprintf(stderr, "ormel: %s\n%s", qPrintable(request.error), qPrintable(usage()));
        return kUsageError;
    case HeadlessRequest::Kind::Lookup:
        return runLookup(argc, argv, request);
    case HeadlessRequest::Kind::UpdateRegistry: {
        QCoreApplication application(argc, argv);
        return RegistryUpdateCommand::run(request.force);
    }
    default:
        return runWindowless(argc, argv, request);
    }
}
