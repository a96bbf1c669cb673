#include "app/HeadlessRunner.h"

#include "app/AppController.h"
#include "platform/ui/Application.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewController.h"
#include "process/ProcessStatusViewController.h"
#include "registry/TarnelDB.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

// Pixels per point of the screenshots: the device's double-density screen.
constexpr double kScreenshotScale = 2.0;

const QString kProcessTab = QStringLiteral("process");
const QString kProcessDetailPrefix = QStringLiteral("process/");

int tabIndexOf(const QString& screen) {
    return static_cast<int>(HeadlessRunner::screenNames().indexOf(screen));
}

// The pid of "process/PID", or nothing for any other screen name.
std::optional<int32_t> processDetailPID(const QString& screen) {
    if (!screen.startsWith(kProcessDetailPrefix)) {
        return std::nullopt;
    }
    const QString digits = screen.mid(kProcessDetailPrefix.size());
    bool ok = false;
    const int pid = digits.toInt(&ok);
    const bool plainDigits =
        !digits.isEmpty() &&
        std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= '0' && c <= '9'; });
    if (!ok || !plainDigits || pid <= 0) {
        return std::nullopt;
    }
    return pid;
}

bool isScreenName(const QString& screen) {
    return tabIndexOf(screen) >= 0 || processDetailPID(screen).has_value();
}

// Headless runs print only their result: Qt's notes about the offscreen platform
// (no window raising, no runtime directory) are not the user's concern there.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg || qEnvironmentVariableIsSet("ORMEL_DEBUG")) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
    }
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
ui::ViewController* showProcessDetail(ui::ViewController* list, int32_t pid, QString* error) {
    auto* processes = dynamic_cast<ProcessStatusViewController*>(list);
    if (processes == nullptr) {
        *error = QStringLiteral("the process tab shows no process list");
        return nullptr;
    }
    const std::optional<ui::IndexPath> row = processes->indexPathOfPID(pid);
    if (!row) {
        *error = QStringLiteral("no process with pid %1").arg(pid);
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

} // namespace

const QStringList& HeadlessRunner::screenNames() {
    static const QStringList names = {"system", "process", "memory", "disk", "network"};
    return names;
}

QString HeadlessRunner::usage() {
    return QStringLiteral(
               "usage: ormel                      open the window\n"
               "       ormel --dump SCREEN        print a screen as text\n"
               "       ormel --screenshot DIR     write a PNG of every tab\n"
               "       ormel --lookup ADDRESS...  look IPv4 addresses up in the registry\n"
               "SCREEN: %1,\n"
               "        or process/PID for the details of one process\n")
        .arg(screenNames().join(", "));
}

QString HeadlessRunner::lookupLines(const QStringList& addresses) {
    QString lines;
    for (const QString& address : addresses) {
        const QStringList texts = TarnelDB::sharedInstance()->search(address);
        lines += (QStringList{address} + texts).join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return lines;
}

HeadlessRequest HeadlessRunner::parse(const QStringList& arguments) {
    HeadlessRequest request;
    if (arguments.isEmpty()) {
        return request;
    }
    const QString& option = arguments.first();
    auto refuse = [&](const QString& why) {
        request.kind = HeadlessRequest::Kind::Invalid;
        request.error = why;
        return request;
    };
    if (option == "--help" || option == "-h") {
        request.kind = HeadlessRequest::Kind::Help;
        return request;
    }
    if (option == "--version") {
        request.kind = HeadlessRequest::Kind::Version;
        return request;
    }
    if (option == "--lookup") {
        if (arguments.size() < 2) {
            return refuse(QStringLiteral("--lookup takes one or more addresses"));
        }
        request.kind = HeadlessRequest::Kind::Lookup;
        request.addresses = arguments.mid(1);
        return request;
    }
    if (option != "--dump" && option != "--screenshot") {
        return refuse(QStringLiteral("unknown option: %1").arg(option));
    }
    if (arguments.size() != 2 || arguments[1].isEmpty()) {
        return refuse(QStringLiteral("%1 takes exactly one argument").arg(option));
    }
    request.argument = arguments[1];
    if (option == "--dump") {
        request.kind = HeadlessRequest::Kind::Dump;
        if (!isScreenName(request.argument)) {
            return refuse(QStringLiteral("unknown screen: %1").arg(request.argument));
        }
    } else {
        request.kind = HeadlessRequest::Kind::Screenshot;
    }
    return request;
}

bool HeadlessRunner::dumpScreen(AppController& controller, const QString& screen, QString* text,
                                QString* error) {
    const std::optional<int32_t> pid = processDetailPID(screen);
    const int index = tabIndexOf(pid ? kProcessTab : screen);
    if (index < 0) {
        *error = QStringLiteral("unknown screen: %1").arg(screen);
        return false;
    }
    ui::ViewController* shown = showTab(controller, index);
    if (auto* stack = shown != nullptr ? shown->navigationController() : nullptr) {
        stack->popToRootViewControllerAnimated(false); // a detail left from an earlier dump
        settle();
        shown = stack->topViewController();
    }
    if (pid) {
        shown = showProcessDetail(shown, *pid, error);
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
    *text = QStringLiteral("== %1\n").arg(shown->title()) + table->renderText();
    return true;
}

bool HeadlessRunner::writeScreenshots(AppController& controller, const QString& folder,
                                      QStringList* written, QString* error) {
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("cannot create folder %1").arg(folder);
        return false;
    }
    for (int index = 0; index < screenNames().size(); ++index) {
        showTab(controller, index);
        const QString path =
            QStringLiteral("%1/%2-%3.png").arg(folder).arg(index + 1).arg(screenNames()[index]);
        if (!controller.window()->grab().save(path, "PNG")) {
            *error = QStringLiteral("cannot write %1").arg(path);
            return false;
        }
        written->append(path);
    }
    return true;
}

int HeadlessRunner::main(int argc, char** argv, const HeadlessRequest& request) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    switch (request.kind) {
    case HeadlessRequest::Kind::Help:
        out << usage();
        return EXIT_SUCCESS;
    case HeadlessRequest::Kind::Version:
        out << "ormel " << ORMEL_VERSION << "\n";
        return EXIT_SUCCESS;
    case HeadlessRequest::Kind::Invalid:
        err << "ormel: " << request.error << "\n" << usage();
        return 2;
    case HeadlessRequest::Kind::Lookup: {
        QCoreApplication application(argc, argv);
        if (!TarnelDB::sharedInstance()->ready()) {
            err << "ormel: no registry file could be opened (" << TarnelDB::fileName
                << " in the documents or resource directory)\n";
            return EXIT_FAILURE;
        }
        out << lookupLines(request.addresses);
        TarnelDB::sharedInstance()->close();
        return EXIT_SUCCESS;
    }
    default:
        break;
    }

    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler(quietMessages);
    QApplication application(argc, argv);
    ui::Screen::setScale(request.kind == HeadlessRequest::Kind::Screenshot ? kScreenshotScale
                                                                           : 1.0);
    AppController controller;
    ui::Application* shared = ui::Application::sharedApplication();
    shared->setDelegate(&controller);
    controller.applicationDidFinishLaunchingWithOptions(shared, {});

    QString text;
    QString error;
    QStringList written;
    const bool done = request.kind == HeadlessRequest::Kind::Dump
                          ? dumpScreen(controller, request.argument, &text, &error)
                          : writeScreenshots(controller, request.argument, &written, &error);
    controller.applicationWillTerminate(shared);
    shared->setDelegate(nullptr);
    if (!done) {
        err << "ormel: " << error << "\n";
        return EXIT_FAILURE;
    }
    out << text;
    for (const QString& path : written) {
        out << path << "\n";
    }
    return EXIT_SUCCESS;
}
