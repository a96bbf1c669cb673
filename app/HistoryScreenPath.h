#pragma once

#include <QString>

#include <cstdint>
#include <optional>

class NetworkStatusViewController;

namespace ui {
class ViewController;
}

// The lookup history named as --dump names it:
//   history       the list, most counted first
//   history/date  the list, most recently updated first
//   history/ID    the details of the record with row id ID
// It opens as the Network tab's "History" button and the list's rows open it.
struct HistoryScreenPath {
    bool byDate = false;
    std::optional<int64_t> id; // more digits than fit: the largest number

    // Nothing for a name that is not a history screen's.
    static std::optional<HistoryScreenPath> parse(const QString& screen);

    // Opens the screen from the Network tab's root screen; nullptr with the reason in
    // `error` when the record does not exist or the screen did not open.
    ui::ViewController* open(NetworkStatusViewController* root, QString* error) const;
};
