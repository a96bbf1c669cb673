#pragma once

#include "history/HistoryDB.h"
#include "platform/ui/NavigationController.h"
#include "registry/ReverseDNS.h"
#include "support/TestEnvironment.h"

#include <QFile>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>

// A history of its own in a fresh documents directory, and a navigation stack to show a
// screen in. Host-name queries go to a loopback port where nothing answers.
class HistoryScreenFixture : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = qgetenv("ORMEL_DOCUMENTS_DIR");
        documents_ = testenv::makeTempDir("history-screens") + "/Documents";
        qputenv("ORMEL_DOCUMENTS_DIR", QFile::encodeName(documents_));
        ReverseDNS::setServersForTesting({{QStringLiteral("127.0.0.1"), 9}});
    }
    void TearDown() override {
        stack.reset();
        ReverseDNS::waitForQueries(5000);
        ReverseDNS::setServersForTesting({});
        db.close();
        qputenv("ORMEL_DOCUMENTS_DIR", saved_);
    }

    // Records `address` `hits` times with the registry values of `code`; its row id.
    int32_t record(const QString& address, const QString& code, int hits = 1) {
        db.begin();
        for (int hit = 0; hit < hits; ++hit) {
            db.insertHistory({address, code, code + " land", "ARIN", "North America",
                              address + "/24", "1992-12-01"});
        }
        db.commit();
        return static_cast<int32_t>(
            sql(QStringLiteral("SELECT id FROM history WHERE ipaddr='%1'").arg(address)).toInt());
    }
    // The first column of the first row of a statement on a connection of its own.
    QString sql(const QString& statement) const {
        sqlite3* conn = nullptr;
        QString text;
        sqlite3_open(QFile::encodeName(documents_ + "/history.db").constData(), &conn);
        sqlite3_exec(
            conn, statement.toUtf8().constData(),
            [](void* out, int, char** values, char**) {
                *static_cast<QString*>(out) = QString::fromUtf8(values[0]);
                return 1;
            },
            &text, nullptr);
        sqlite3_close(conn);
        return text;
    }

    void show(ui::ViewController* root) {
        stack = std::make_unique<ui::NavigationController>(root);
        stack->view();
        stack->beginAppearanceTransition(true, false);
        stack->endAppearanceTransition();
    }

    HistoryDB db;
    std::unique_ptr<ui::NavigationController> stack;
    QString documents_;
    QByteArray saved_;
};
