#include "app/HistoryScreenPath.h"

#include "history/HistoryDB.h"
#include "history/HistoryDetailViewController.h"
#include "history/HistoryViewController.h"
#include "network/NetworkStatusViewController.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/SegmentedControl.h"

#include <charconv>
#include <limits>

namespace {

const QString kHistory = QStringLiteral("history");
const QString kPrefix = QStringLiteral("history/");

// The list the "History" button presents, dismissing one an earlier dump left open.
HistoryViewController* presentList(NetworkStatusViewController* root) {
    ui::NavigationController* tab = root->navigationController();
    if (tab == nullptr) {
        return nullptr;
    }
    if (tab->modalViewController() != nullptr) {
        tab->dismissModalViewControllerAnimated(false);
    }
    root->historyAction();
    auto* stack = dynamic_cast<ui::NavigationController*>(tab->modalViewController());
    return stack != nullptr ? dynamic_cast<HistoryViewController*>(stack->topViewController())
                            : nullptr;
}

} // namespace

std::optional<HistoryScreenPath> HistoryScreenPath::parse(const QString& screen) {
    if (screen == kHistory) {
        return HistoryScreenPath{};
    }
    if (!screen.startsWith(kPrefix)) {
        return std::nullopt;
    }
    const QByteArray rest = screen.mid(kPrefix.size()).toLatin1();
    if (rest == "date") {
        return HistoryScreenPath{true, std::nullopt};
    }
    if (rest.isEmpty() ||
        !std::all_of(rest.begin(), rest.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    int64_t id = 0;
    const auto [end, failure] =
        std::from_chars(rest.constData(), rest.constData() + rest.size(), id);
    if (failure == std::errc::result_out_of_range) {
        id = std::numeric_limits<int64_t>::max();
    }
    return HistoryScreenPath{false, id};
}

ui::ViewController* HistoryScreenPath::open(NetworkStatusViewController* root,
                                            QString* error) const {
    HistoryViewController* list = presentList(root);
    if (list == nullptr) {
        *error = QStringLiteral("the history did not open");
        return nullptr;
    }
    if (byDate) {
        list->segmentedControl()->tapSegmentAtIndex(HistoryViewController::OrderByDate);
    }
    if (!id) {
        return list;
    }
    const bool fits = *id <= std::numeric_limits<int32_t>::max();
    const int32_t pkey = static_cast<int32_t>(*id);
    if (!fits || HistoryDB::sharedInstance()->selectHistory(pkey).isEmpty()) {
        *error = QStringLiteral("no history entry %1").arg(*id);
        return nullptr;
    }
    auto* detail = new HistoryDetailViewController();
    detail->setPkey(pkey);
    list->navigationController()->pushViewControllerAnimated(detail, false);
    return detail;
}
