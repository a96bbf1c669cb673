#pragma once

#include "app/InformationSettings.h"
#include "platform/ui/NumberFormatter.h"
#include "platform/ui/TableViewController.h"
#include "registry/WorldMapViewDelegate.h"

#include <QList>
#include <QStringList>
#include <QUrl>

#include <functional>

class TarnelDB;

// The about-and-maintenance screen, presented over the System tab: the record count
// and data date of each registry in the registry file with the registries' world map,
// links to the shipped documents and the flag images' project, a problem report by
// mail, and the credits. Rows whose target is not configured are left out. A triple
// tap on the map (or the "UpdateRegistry" row) starts the registry update, once the
// update flow has installed its starter.
class InformationViewController : public ui::TableViewController, public WorldMapViewDelegate {
public:
    using UpdateStarter = std::function<void(InformationViewController*)>;

    enum class Section { Records, Links, Mail, Credits };

    static constexpr double kRowHeight = 40;
    static constexpr double kMapRowHeight = 164;
    static constexpr double kMinimumCreditsHeight = 200;
    static constexpr double kCreditsWidth = 300;
    static constexpr const char* kMapImage = "rir-map";

    explicit InformationViewController(
        InformationSettings settings = InformationSettings::fromEnvironment());
    ~InformationViewController() override;

    // Installed by the update flow; an empty one takes the update away again.
    static void setUpdateStarter(UpdateStarter starter);
    static bool hasUpdateStarter();

    static QString version();
    // The mailto: URL of a problem report to `address`.
    static QUrl reportURL(const QString& address, const QString& device,
                          const QString& systemVersion, const QString& kernel,
                          const QString& distribution);

    void viewDidLoad() override;

    // Rebuilds the registry rows from the registry file open now (after an update).
    void reloadRecords();
    void startUpdate();

    // The map of the map row while that row is laid out.
    WorldMapView* worldMap();
    const QList<QStringList>& infoData() const { return infoData_; }
    const QList<Section>& sections() const { return sections_; }
    QStringList linkTitles() const;
    QString creditsText() const;
    double creditsHeight() const { return creditsHeight_; }
    QUrl mailURL() const;

    void worldMapViewTapCount(WorldMapView* view, int tapCount) override;

    int numberOfSectionsInTableView(ui::TableView*) override;
    int tableViewNumberOfRowsInSection(ui::TableView*, int section) override;
    ui::TableViewCell* tableViewCellForRowAtIndexPath(ui::TableView* tableView,
                                                      const ui::IndexPath& indexPath) override;
    QString tableViewTitleForHeaderInSection(ui::TableView*, int section) override;
    double tableViewHeightForRowAtIndexPath(ui::TableView*,
                                            const ui::IndexPath& indexPath) override;
    void tableViewDidSelectRowAtIndexPath(ui::TableView* tableView,
                                          const ui::IndexPath& indexPath) override;
    void tableViewAccessoryButtonTappedForRowWithIndexPath(ui::TableView* tableView,
                                                           const ui::IndexPath& indexPath) override;

private:
    struct Link {
        QString titleKey;
        QUrl url;
    };

    void buildTableData();
    void buildInfoData();
    void openLink(const Link& link);
    bool networkReachable() const;
    int mapRow() const { return static_cast<int>(infoData_.size()); }
    ui::TableViewCell* recordCell(ui::TableView* tableView, const ui::IndexPath& indexPath);
    ui::TableViewCell* plainCell(ui::TableView* tableView, const QString& identifier,
                                 const QString& text);

    InformationSettings settings_;
    TarnelDB* tarnel_;
    ui::NumberFormatter ownFormat_;
    QList<QStringList> infoData_;
    QList<Link> links_;
    QList<Section> sections_;
    double creditsHeight_ = kMinimumCreditsHeight;
};
