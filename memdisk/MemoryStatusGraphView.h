#pragma once

#include "memdisk/GraphView.h"
#include "platform/ui/Color.h"
#include "platform/ui/TableView.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QWidget>

#include <utility>

class AppState;

// The memory chart: a pie chart of free, active, inactive and wired memory beside its
// four-row legend. Each legend row shows a key's megabytes in the key's colour and
// adds the key's slice to the chart, once.
class MemoryStatusGraphView : public QWidget,
                              public ui::TableViewDataSource,
                              public ui::TableViewDelegate {
public:
    static constexpr double kLegendRowHeight = 28;

    explicit MemoryStatusGraphView(QWidget* parent = nullptr);

    // Stores (number, colour) under `key` ("Free", "Active", "Inactive", "Wired"),
    // replacing an earlier pair of that key, and lays the legend out anew.
    void setDataWithColorForKey(float number, const ui::Color& color, const QString& key);
    // Empties the legend, and with it the chart.
    void clearData();

    GraphView* graph() const { return graph_; }
    ui::TableView* table() const { return table_; }

    int tableViewNumberOfRowsInSection(ui::TableView*, int) override;
    ui::TableViewCell* tableViewCellForRowAtIndexPath(ui::TableView* tableView,
                                                      const ui::IndexPath& indexPath) override;
    double tableViewHeightForRowAtIndexPath(ui::TableView*, const ui::IndexPath&) override {
        return kLegendRowHeight;
    }

private:
    AppState* appCon_;
    GraphView* graph_;
    ui::TableView* table_;
    QHash<QString, std::pair<float, ui::Color>> data_;
    // The keys whose slice the legend has added to the chart.
    QSet<QString> charted_;
};
