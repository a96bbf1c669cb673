// The gathering pass's writes into the lookup history: 10 000 destinations inserted in
// one transaction, first as new addresses, then again (every one folded into its row),
// beside SQLite's own batched insert into a plain table of the same columns.
#include "history/HistoryDB.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdlib>

namespace {

constexpr int kDestinations = 10000;

QStringList row(int i) {
    const QString address =
        QStringLiteral("%1.%2.%3.%4").arg(20 + i / 65536).arg(i / 256 % 256).arg(i % 256).arg(7);
    return {address,
            QStringLiteral("JP"),
            QStringLiteral("Japan"),
            QStringLiteral("apnic"),
            QStringLiteral("Asia"),
            QStringLiteral("133.0.0.0/8"),
            QStringLiteral("1997-03-01")};
}

bool gatheringPass(HistoryDB& history, const QList<QStringList>& rows) {
    if (!history.begin()) {
        return false;
    }
    for (const QStringList& values : rows) {
        history.insertHistory(values);
    }
    return history.commit();
}

QList<QStringList> destinations() {
    QList<QStringList> rows;
    for (int i = 0; i < kDestinations; ++i) {
        rows.append(row(i));
    }
    return rows;
}

// One gathering pass an iteration. Starting each from an empty history makes every row
// new; otherwise every insert after the first pass is folded into its row.
void runPasses(benchmark::State& state, bool fromEmpty) {
    const QList<QStringList> rows = destinations();
    HistoryDB* history = HistoryDB::sharedInstance();
    gatheringPass(*history, rows);
    for (auto _ : state) {
        if (fromEmpty) {
            state.PauseTiming();
            history->deleteAllHistories();
            history->optimize();
            state.ResumeTiming();
        }
        if (!gatheringPass(*history, rows)) {
            state.SkipWithError("the history could not be written");
            return;
        }
    }
    state.counters["rows_kept"] = static_cast<double>(history->selectAllHistoriesOrderBy(0).size());
    state.counters["rows_per_s"] =
        benchmark::Counter(kDestinations, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_GatheringPassNewAddresses(benchmark::State& state) {
    runPasses(state, true);
}
BENCHMARK(BM_GatheringPassNewAddresses)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_GatheringPassKnownAddresses(benchmark::State& state) {
    runPasses(state, false);
}
BENCHMARK(BM_GatheringPassKnownAddresses)->Unit(benchmark::kMillisecond)->UseRealTime();

// SQLite's own rate: one prepared insert, bound and stepped per row, in one transaction,
// into a table with no index or trigger.
void BM_SqliteBatchedInsert(benchmark::State& state) {
    const QList<QStringList> rows = destinations();
    QTemporaryDir folder;
    sqlite3* db = nullptr;
    sqlite3_open(folder.filePath("plain.db").toUtf8().constData(), &db);
    sqlite3_exec(db,
                 "CREATE TABLE t(ipaddr TEXT, code TEXT, name TEXT, registry TEXT, region TEXT, "
                 "networks TEXT, date TEXT)",
                 nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO t VALUES(?,?,?,?,?,?,?)", -1, &insert, nullptr);
    for (auto _ : state) {
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        for (const QStringList& values : rows) {
            for (int column = 0; column < values.size(); ++column) {
                const QByteArray text = values[column].toUtf8();
                sqlite3_bind_text(insert, column + 1, text.constData(), int(text.size()),
                                  SQLITE_TRANSIENT);
            }
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
    state.counters["rows_per_s"] =
        benchmark::Counter(kDestinations, benchmark::Counter::kIsIterationInvariantRate);
    sqlite3_finalize(insert);
    sqlite3_close(db);
}
BENCHMARK(BM_SqliteBatchedInsert)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QTemporaryDir documents;
    ::setenv("ORMEL_DOCUMENTS_DIR", documents.path().toUtf8().constData(), 1);
    // The shipped history template of the build tree, beside this program's folder.
    const QByteArray resources =
        (QCoreApplication::applicationDirPath() + "/../resources").toUtf8();
    ::setenv("ORMEL_RESOURCE_DIR", resources.constData(), 0);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    HistoryDB::sharedInstance()->close();
    return 0;
}
