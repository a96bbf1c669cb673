#include "process/ProcessDetailViewController.h"

#include "common/Resources.h"
#include "platform/darwin/Darwin.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TableView.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

namespace {

constexpr ui::Color kZombieColor{0.7, 0, 0.7, 1};

} // namespace

ProcessDetailViewController::ProcessDetailViewController()
    : uid_(darwin::getuid()), pid_(darwin::getpid()) {
    setTitle(Resources::text("ProcessDetails"));
}

const QList<ProcessDetailViewController::FlagInfo>& ProcessDetailViewController::bits() {
    static const QList<FlagInfo> table = {
        {0x1, "Process may hold POSIX adv. lock"},
        {0x2, "Has a controlling terminal"},
        {0x8, "No SIGCHLD when children stop"},
        {0x10, "Parent waiting for child exec/exit"},
        {0x20, "Has started profiling"},
        {0x40, "Selecting; wakeup/waiting danger"},
        {0x80, "Process was stopped and continued"},
        {0x100, "Has set privileges since last exec"},
        {0x200, "Sys proc: no sigs, stats or swap"},
        {0x400, "Timing out during sleep"},
        {0x800, "Debugged process being traced"},
        {0x1000, "Debugging process has waited for child"},
        {0x2000, "Working on exiting"},
        {0x4000, "Process called exec."},
        {0x8000, ""},
    };
    return table;
}

QString ProcessDetailViewController::dateDescription(const QDateTime& date) {
    if (!date.isValid()) {
        return {};
    }
    const QDateTime local = date.toLocalTime();
    const int offsetMinutes = local.offsetFromUtc() / 60;
    const int magnitude = std::abs(offsetMinutes);
    return local.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss ")) +
           QString::asprintf("%c%02d%02d", offsetMinutes < 0 ? '-' : '+', magnitude / 60,
                             magnitude % 60);
}

void ProcessDetailViewController::setInfo(ProcessStatus::Record info) {
    info_ = std::move(info);
}

void ProcessDetailViewController::viewDidLoad() {
    ui::TableViewController::viewDidLoad();
    tableView()->setRowHeight(ProcessDetailTableCell::kRowHeight);
    tableView()->setScrollEnabled(true);
}

void ProcessDetailViewController::viewWillAppear(bool /*animated*/) {
    if (info_ && info_->isZombie()) {
        zombie_ = true;
    }
    buildInfoData();
    tableView()->reloadData();
}

void ProcessDetailViewController::viewDidUnload() {
    showStopButton(false);
    ui::TableViewController::viewDidUnload();
}

bool ProcessDetailViewController::isOwnOtherProcess() const {
    return info_ && info_->uid() == uid_ && info_->pid() != pid_;
}

void ProcessDetailViewController::showStopButton(bool shown) {
    ui::NavigationItem* item = navigationItem();
    if (!shown) {
        item->setRightBarButtonItem(nullptr);
        stopButton_ = nullptr;
        return;
    }
    if (stopButton_ == nullptr) {
        stopButton_ = new ui::BarButtonItem(Resources::text("Stop"), ui::BarButtonItemStyle::Done,
                                            [this] { stopProcess(); });
        item->setRightBarButtonItem(stopButton_);
    }
}

void ProcessDetailViewController::addRow(const char* titleKey, const QString& value,
                                         std::optional<ui::Color> color) {
    dataCells_.append({Resources::text(titleKey), value, color});
}

void ProcessDetailViewController::buildInfoData() {
    showStopButton(isOwnOtherProcess());
    dataCells_.clear();
    if (!info_) {
        return;
    }
    const ProcessInfo& info = *info_;
    // The ids print as signed numbers, as the device's "%d" does.
    addRow("COMMAND", info.name());
    addRow("USER",
           QStringLiteral("%1 (%2)").arg(info.user()).arg(static_cast<int32_t>(info.uid())));
    addRow("GROUP",
           QStringLiteral("%1 (%2)").arg(info.group()).arg(static_cast<int32_t>(info.gid())));
    addRow("PID", QString::number(info.pid()));
    addRow("PPID", QString::number(info.ppid()));
    addRow("PGID", QString::number(info.pgid()));
    addRow("STATE", Resources::text(info.stat()),
           info.isZombie() ? kZombieColor : ui::Color::black());
    addRow("PRIORITY", QString::number(info.priority()));
    if (info.uid() == uid_ && !zombie_) {
        addRow("RMEM", ProcessStatus::stringWithOccupiedMemoryForPID(info.pid()));
    }
    addRow("STARTTIME", dateDescription(info.starttime()));
    addRow("UPTIME", ProcessStatus::stringWithUptime(info.starttime()));
    buildFlagInfo(info.flag());
    if (zombie_) {
        addRow("ADVICE", Resources::text("RebootSystem"), ui::Color::red());
    }
}

void ProcessDetailViewController::buildFlagInfo(int32_t flags) {
    for (const FlagInfo& flag : bits()) {
        if ((flags & flag.bit) != 0) {
            addRow("INFO", QString::fromLatin1(flag.text));
        }
    }
}

void ProcessDetailViewController::stopProcess() {
    if (zombie_) {
        showAlert(QStringLiteral("Advice"), Resources::text("HowToKillZombie"));
        zombie_ = false;
        return;
    }
    auto* sheet =
        new ui::ActionSheet(Resources::text("SendSignal"), this, Resources::text("Cancel"),
                            Resources::text("SIGKILL"), {Resources::text("SIGTERM")});
    sheet->setParent(this); // it must not outlive its delegate
    sheet->setActionSheetStyle(ui::ActionSheetStyle::BlackOpaque);
    sheet->showInView(view()->window());
}

void ProcessDetailViewController::actionSheetClickedButtonAtIndex(ui::ActionSheet*,
                                                                  int buttonIndex) {
    if (buttonIndex == kSigKillButtonIndex) {
        sendSignal(SIGKILL);
    } else if (buttonIndex == kSigTermButtonIndex) {
        sendSignal(SIGTERM);
    }
}

void ProcessDetailViewController::sendSignal(int sig) {
    // Signalled only if the pid still names the process shown: a pid reused since the
    // snapshot, or a record that could not be read, gives "no such process".
    int result = -1;
    errno = ESRCH;
    if (info_ && info_->pid() > 0) {
        const auto startSeconds = static_cast<int32_t>(info_->starttime().toSecsSinceEpoch());
        result = darwin::killProcessStartedAt(info_->pid(), startSeconds, sig);
    }
    if (result == 0) {
        if (stopButton_ != nullptr) {
            stopButton_->setEnabled(false);
        }
        showAlert(QStringLiteral("Notification"), Resources::text("ProcessTerminated"));
        return;
    }
    const int error = errno;
    showAlert(QStringLiteral("Error"), QString::fromLocal8Bit(std::strerror(error)));
}

void ProcessDetailViewController::showAlert(const QString& titleKey, const QString& message) {
    auto* alert = new ui::AlertView(Resources::text(titleKey), message, nullptr,
                                    Resources::text("Close"), {});
    alert->show();
}

int ProcessDetailViewController::tableViewNumberOfRowsInSection(ui::TableView*, int) {
    return static_cast<int>(dataCells_.size());
}

ui::TableViewCell*
ProcessDetailViewController::tableViewCellForRowAtIndexPath(ui::TableView* tableView,
                                                            const ui::IndexPath& indexPath) {
    auto* cell =
        tableView->dequeueReusableCell<ProcessDetailTableCell>(kProcessDetailTableCellIdentifier);
    cell->setLabel(dataCells_.value(indexPath.row));
    return cell;
}
