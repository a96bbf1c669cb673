// The history list screen opened over 100 000 recorded addresses: the controller made,
// its view loaded, the rows read as it appears, and the table laid out and painted
// once in a window of one screen (320 x 480 points) on the offscreen platform; by
// count, by date, and a tap on the other order's segment of an open screen.
#include "history/HistoryDB.h"
#include "history/HistoryViewController.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/TableView.h"

#include <QApplication>
#include <QDateTime>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr int kRows = 100000;

struct Country {
    const char* code;
    const char* name;
    const char* registry;
    const char* region;
};
constexpr std::array<Country, 10> kCountries{{{"US", "United States", "arin", "North America"},
                                              {"JP", "Japan", "apnic", "Asia"},
                                              {"DE", "Germany", "ripencc", "Europe"},
                                              {"CN", "China", "apnic", "Asia"},
                                              {"GB", "United Kingdom", "ripencc", "Europe"},
                                              {"BR", "Brazil", "lacnic", "South America"},
                                              {"KR", "Korea, Republic Of", "apnic", "Asia"},
                                              {"ZA", "South Africa", "afrinic", "Africa"},
                                              {"FR", "France", "ripencc", "Europe"},
                                              {"AU", "Australia", "apnic", "Oceania"}}};

// A well-mixed 32-bit value of `i`; multiplying by an odd constant is a bijection, so
// every row gets an address of its own.
uint32_t mixed(uint32_t i) {
    return i * 2654435761U;
}

QByteArray dotted(uint32_t address) {
    return QByteArray::number(address >> 24) + '.' + QByteArray::number(address >> 16 & 255) + '.' +
           QByteArray::number(address >> 8 & 255) + '.' + QByteArray::number(address & 255);
}

// Two years of UTC times, spread by `seed`.
QByteArray timestamp(uint32_t seed) {
    constexpr int64_t kStart = 1700000000; // November 2023
    const int64_t seconds = kStart + static_cast<int64_t>(seed % (2 * 365 * 86400U));
    return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC)
        .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
        .toLatin1();
}

void bindText(sqlite3_stmt* statement, int position, const QByteArray& text) {
    sqlite3_bind_text(statement, position, text.constData(), static_cast<int>(text.size()),
                      SQLITE_TRANSIENT);
}

// Fills the history file that `history` made from the shipped copy: distinct
// addresses, a few counted very often and most a few times, dates over two years, a
// host name on a third of the rows and a comment on one in twenty.
bool fillHistory(const QByteArray& path) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return false;
    }
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO history(count,hostname,comments,ipaddr,code,name,registry,"
                       "region,networks,date,created_at,updated_at) "
                       "VALUES(?,?,?,?,?,?,?,?,?,?,?,?)",
                       -1, &insert, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    bool written = insert != nullptr;
    for (uint32_t i = 0; written && i < kRows; ++i) {
        const uint32_t address = mixed(i + 1);
        const uint32_t seed = mixed(address ^ 0x5bd1e995U);
        const Country& country = kCountries[seed % kCountries.size()];
        const uint32_t spread = seed >> 8 & 1023;
        sqlite3_bind_int(insert, 1, 1 + static_cast<int>(spread * spread / 1024 / (1 + seed % 7)));
        if (seed % 3 == 0) {
            bindText(insert, 2, "host-" + QByteArray::number(i) + ".example.net");
        } else {
            sqlite3_bind_null(insert, 2);
        }
        if (seed % 20 == 0) {
            bindText(insert, 3, "seen while testing the router, row " + QByteArray::number(i));
        } else {
            sqlite3_bind_null(insert, 3);
        }
        bindText(insert, 4, dotted(address));
        bindText(insert, 5, country.code);
        bindText(insert, 6, country.name);
        bindText(insert, 7, country.registry);
        bindText(insert, 8, country.region);
        bindText(insert, 9, dotted(address & 0xffff0000U) + "/16");
        bindText(insert, 10, timestamp(seed).left(10));
        const QByteArray created = timestamp(seed / 3);
        const QByteArray updated = timestamp(seed);
        bindText(insert, 11, std::min(created, updated));
        bindText(insert, 12, std::max(created, updated));
        written = sqlite3_step(insert) == SQLITE_DONE;
        sqlite3_reset(insert);
    }
    written =
        sqlite3_exec(db, written ? "COMMIT" : "ROLLBACK", nullptr, nullptr, nullptr) == SQLITE_OK &&
        written;
    sqlite3_finalize(insert);
    sqlite3_close(db);
    return written;
}

// The list in a navigation stack, shown as the application shows a modal screen.
class OpenScreen {
public:
    OpenScreen() : list_(new HistoryViewController()), stack_(list_) {}

    HistoryViewController* list() const { return list_; }
    QWidget* view() { return stack_.view(); }

    // Appears, in a window of one screen, painted once.
    void show() {
        QWidget* window = stack_.view();
        window->resize(ui::Screen::toPixels(ui::Screen::bounds()).size());
        stack_.beginAppearanceTransition(true, false);
        window->show();
        stack_.endAppearanceTransition();
        QApplication::processEvents();
    }

private:
    HistoryViewController* list_;
    ui::NavigationController stack_;
};

void reportRows(benchmark::State& state, HistoryViewController* list) {
    state.counters["rows"] = list->tableView()->numberOfRowsInSection(0);
    state.counters["cells"] = static_cast<double>(list->tableView()->visibleCells().size());
}

void openIn(benchmark::State& state, int order) {
    std::unique_ptr<OpenScreen> screen;
    for (auto _ : state) {
        state.PauseTiming();
        screen.reset();
        QApplication::processEvents();
        state.ResumeTiming();
        screen = std::make_unique<OpenScreen>();
        screen->view();
        if (order == HistoryViewController::OrderByDate) {
            // The screen opens by count; the date order is chosen before it appears.
            state.PauseTiming();
            screen->list()->segmentedControl()->tapSegmentAtIndex(order);
            state.ResumeTiming();
        }
        screen->show();
    }
    reportRows(state, screen->list());
}

void BM_OpenByCount(benchmark::State& state) {
    openIn(state, HistoryViewController::OrderByCount);
}
BENCHMARK(BM_OpenByCount)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenByDate(benchmark::State& state) {
    openIn(state, HistoryViewController::OrderByDate);
}
BENCHMARK(BM_OpenByDate)->Unit(benchmark::kMillisecond)->UseRealTime();

// A tap on the segment not selected, and the repaint it asks for.
void BM_SwitchOrder(benchmark::State& state) {
    OpenScreen screen;
    screen.show();
    ui::SegmentedControl* segment = screen.list()->segmentedControl();
    for (auto _ : state) {
        segment->tapSegmentAtIndex(1 - segment->selectedSegmentIndex());
        QApplication::processEvents();
    }
    reportRows(state, screen.list());
}
BENCHMARK(BM_SwitchOrder)->Unit(benchmark::kMillisecond)->UseRealTime();

QtMessageHandler qtMessages = nullptr;

// The offscreen platform warns of every window it shows that it cannot size it.
void withoutSizeHintWarnings(QtMsgType type, const QMessageLogContext& context,
                             const QString& message) {
    if (!message.contains(QLatin1String("propagateSizeHints"))) {
        qtMessages(type, context, message);
    }
}

} // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QTemporaryDir documents;
    ::setenv("ORMEL_DOCUMENTS_DIR", documents.path().toUtf8().constData(), 1);
    QApplication application(argc, argv);
    qtMessages = qInstallMessageHandler(withoutSizeHintWarnings);
    // The bundle of the build tree, beside this program's folder.
    const QByteArray resources =
        (QCoreApplication::applicationDirPath() + "/../resources").toUtf8();
    ::setenv("ORMEL_RESOURCE_DIR", resources.constData(), 0);

    HistoryDB* history = HistoryDB::sharedInstance();
    // The first transaction makes the file from the shipped copy.
    if (!history->begin() || !history->commit()) {
        std::fprintf(stderr, "the history could not be made\n");
        return 1;
    }
    const QByteArray path = history->openPath();
    history->close();
    if (!fillHistory(path)) {
        std::fprintf(stderr, "the history could not be filled\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    history->close();
    return 0;
}
