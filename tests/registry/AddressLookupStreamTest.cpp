#include "registry/AddressLookupStream.h"

#include "registry/TarnelDB.h"
#include "support/TestEnvironment.h"
#include "tests/registry/DnsResponder.h"
#include "tests/registry/RegistryFile.h"

#include <QDir>
#include <QFile>

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <random>
#include <thread>
#include <unistd.h>

namespace {

using namespace registryfile;
using Failure = AddressLookupStream::Failure;

// What a run wrote and reported.
struct StreamRun {
    AddressLookupStream::Result result;
    QByteArray output;
    QStringList invalid; // the handler's reports, as the command prints them
};

class AddressLookupStreamTest : public ::testing::Test {
protected:
    void SetUp() override {
        QFile::remove(downloadedPath());
        db()->updated();
        stream_.setInvalidLineHandler([this](int64_t line, std::string_view text) {
            invalid_.append(AddressLookupStream::invalidLineMessage(line, text));
        });
    }
    void TearDown() override {
        QFile::remove(downloadedPath());
        db()->updated();
    }
    static TarnelDB* db() { return TarnelDB::sharedInstance(); }
    static QString downloadedPath() { return QDir(testenv::documentsDir()).filePath("ccTLD.dat"); }

    // Runs the stream from a file holding `input` into a file.
    StreamRun runOver(const QByteArray& input) {
        const QString in = dir_ + "/in", out = dir_ + "/out";
        EXPECT_TRUE(registryfile::write(in, input));
        const int inputFd = ::open(QFile::encodeName(in).constData(), O_RDONLY);
        const int outputFd =
            ::open(QFile::encodeName(out).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        StreamRun run;
        invalid_.clear();
        run.result = stream_.run(inputFd, outputFd);
        ::close(inputFd);
        ::close(outputFd);
        QFile written(out);
        EXPECT_TRUE(written.open(QIODevice::ReadOnly));
        run.output = written.readAll();
        run.invalid = invalid_;
        return run;
    }

    // The line the Registry screen's search gives for a text.
    static QByteArray searchLine(const QString& text) {
        return (QStringList{text} + db()->search(text)).join('\t').toUtf8() + '\n';
    }

    QString dir_ = testenv::makeTempDir("stream");
    AddressLookupStream stream_;
    QStringList invalid_;
};

TEST_F(AddressLookupStreamTest, AnswersEveryLineAsTheSearchDoesAndReportsTextThatIsNoAddress) {
    const StreamRun run = runOver("41.0.0.1\n10.0.0.1\r\n\n1.2.3\n256.1.1.1\n::1\n 8.8.8.8\n"
                                  "8.8.8.8x\n008.008.008.008\r\n3.0.0.9");
    EXPECT_EQ(run.output, searchLine("41.0.0.1") +
                              "10.0.0.1\n\n1.2.3\n256.1.1.1\n::1\n 8.8.8.8\n"
                              "8.8.8.8x\n" +
                              searchLine("008.008.008.008") + searchLine("3.0.0.9"));
    EXPECT_EQ(searchLine("41.0.0.1"), "41.0.0.1\tZA\tSouth Africa, Republic Of\tAFRINIC\tAfrica "
                                      "Region\t41.0.0.0/11\t2007-11-26 (allocated)\n");
    EXPECT_EQ(searchLine("008.008.008.008").count('\t'), 6);
    EXPECT_EQ(run.invalid, QStringList({R"(line 3: "" is not an IPv4 address)",
                                        R"(line 4: "1.2.3" is not an IPv4 address)",
                                        R"(line 5: "256.1.1.1" is not an IPv4 address)",
                                        R"(line 6: "::1" is not an IPv4 address)",
                                        R"(line 7: " 8.8.8.8" is not an IPv4 address)",
                                        R"(line 8: "8.8.8.8x" is not an IPv4 address)"}));
    EXPECT_TRUE(run.result.ok());
    EXPECT_EQ(run.result.lines, 10);
    EXPECT_EQ(run.result.invalid, 6);
    EXPECT_TRUE(runOver("").output.isEmpty());
}

// Random addresses over the whole space and over few ranges, so that most records
// are answered again from the texts kept for them, in lines beyond one buffer.
TEST_F(AddressLookupStreamTest, KeptAnswersAreTheSearchsAndTheListGivesTheSameLines) {
    std::mt19937 random(20240614u);
    QStringList addresses;
    QByteArray input;
    QByteArray expected;
    for (int i = 0; i < 120000; ++i) {
        const uint32_t a = i % 2 == 0 ? static_cast<uint32_t>(random())
                                      : ip(41, 0, 0, 0) + static_cast<uint32_t>(random() % 4096);
        const QString text = QStringLiteral("%1.%2.%3.%4")
                                 .arg(a >> 24)
                                 .arg((a >> 16) & 0xffu)
                                 .arg((a >> 8) & 0xffu)
                                 .arg(a & 0xffu);
        addresses.append(text);
        input += text.toLatin1() + '\n';
        if (i % 40 == 0) { // the search costs more than the stream: not every line
            expected += searchLine(text);
        }
    }
    const StreamRun run = runOver(input);
    ASSERT_TRUE(run.result.ok());
    const QList<QByteArray> lines = run.output.split('\n');
    ASSERT_EQ(lines.size(), addresses.size() + 1);
    QByteArray sampled;
    for (qsizetype i = 0; i < addresses.size(); i += 40) {
        sampled += lines[i] + '\n';
    }
    EXPECT_EQ(sampled, expected);
    EXPECT_EQ(stream_.answer(addresses), run.output);
    EXPECT_TRUE(run.invalid.isEmpty());
}

TEST_F(AddressLookupStreamTest, AReopenedRegistryIsAnsweredFromItsOwnRecords) {
    const QByteArray input = "133.0.0.1\n41.0.0.1\n";
    const QByteArray shipped = runOver(input).output;
    ASSERT_TRUE(registryfile::write(downloadedPath(),
                                    registryfile::bytes({}, {{ip(41, 0, 0, 0), ip(41, 1, 0, 0), JP,
                                                              APNIC, 19970301, ALLOCATED}})));
    db()->updated();
    // The record the first run kept for 41.0.0.1 is another file's.
    EXPECT_EQ(runOver(input).output, "133.0.0.1\n41.0.0.1\tJP\tJapan\tAPNIC\tAsia/Pacific "
                                     "Region\t41.0.0.0/16\t1997-03-01 (allocated)\n");
    QFile::remove(downloadedPath());
    db()->updated();
    EXPECT_EQ(runOver(input).output, shipped);
}

// A line no buffer holds is passed through in pieces, still one line, its "\r" off.
TEST_F(AddressLookupStreamTest, ALineLongerThanTheBufferIsAnsweredAloneAndReportedCut) {
    const QByteArray longLine(3 << 20, 'x');
    const StreamRun run = runOver(longLine + "\r\n10.0.0.1\n" + longLine);
    EXPECT_EQ(run.output, longLine + "\n10.0.0.1\n" + longLine + "\n");
    const QString reported =
        QStringLiteral(R"(line %2: "%1..." is not an IPv4 address)")
            .arg(QString(static_cast<qsizetype>(AddressLookupStream::reportedTextLimit),
                         QLatin1Char('x')));
    EXPECT_EQ(run.invalid, QStringList({reported.arg(1), reported.arg(3)}));
    EXPECT_EQ(run.result.lines, 3);
}

TEST_F(AddressLookupStreamTest, ReadAndWriteFailuresEndTheRunAndSayWhy) {
    const QString in = dir_ + "/in";
    ASSERT_TRUE(registryfile::write(in, QByteArray("8.8.8.8\n").repeated(1000)));
    const int input = ::open(QFile::encodeName(in).constData(), O_RDONLY);
    const int full = ::open("/dev/full", O_WRONLY);
    ASSERT_GE(full, 0);
    AddressLookupStream::Result result = stream_.run(input, full);
    EXPECT_EQ(result.failure, Failure::Write);
    EXPECT_EQ(result.failureText(), "cannot write the answers: No space left on device");
    ::close(full);

    // A reader gone: EPIPE, and no SIGPIPE left to end the process later.
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    ::close(pipeEnds[0]);
    ::lseek(input, 0, SEEK_SET);
    result = stream_.run(input, pipeEnds[1]);
    ::close(pipeEnds[1]);
    EXPECT_EQ(result.failure, Failure::Write);
    EXPECT_EQ(result.error, EPIPE);
    sigset_t pending;
    sigpending(&pending);
    EXPECT_EQ(sigismember(&pending, SIGPIPE), 0);
    ::close(input);

    const int folder = ::open(QFile::encodeName(dir_).constData(), O_RDONLY | O_DIRECTORY);
    result = stream_.run(folder, STDOUT_FILENO);
    ::close(folder);
    EXPECT_EQ(result.failure, Failure::Read);
    EXPECT_EQ(result.failureText(), "cannot read the addresses: Is a directory");
    EXPECT_EQ(stream_.run(QStringList{"1.1.1.1"}, -1).error, EBADF);
}

// "host-N.example" for an address ending in N; no such name for one ending in 2.
QByteArray hostReply(const QByteArray& id, const QByteArray& question) {
    const QByteArray last = question.mid(1, question.at(0));
    return last == "2" ? build({{}, 3}, id, question)
                       : build({{ptr("host-" + last + ".example")}}, id, question);
}

TEST_F(AddressLookupStreamTest, ResolvedAddressesEndInTheirHostNameAskedOnceEach) {
    DnsResponder responder(hostReply);
    stream_.setResolveHostNames(true);
    const StreamRun run = runOver("41.0.0.1\n10.0.0.2\nx\n10.0.0.1\r\n41.0.0.1\n");
    const QByteArray registryLine = searchLine("41.0.0.1").chopped(1);
    EXPECT_EQ(run.output, registryLine +
                              "\thost-1.example\n10.0.0.2\t\nx\n10.0.0.1\thost-1.example\n" +
                              registryLine + "\thost-1.example\n");
    EXPECT_EQ(responder.queries(), 3);
    EXPECT_EQ(run.invalid, QStringList{R"(line 3: "x" is not an IPv4 address)"});
    EXPECT_EQ(stream_.answer({"10.0.0.1", "10.0.0.2"}), "10.0.0.1\thost-1.example\n10.0.0.2\t\n");

    stream_.setResolveHostNames(false);
    EXPECT_EQ(runOver("10.0.0.1\n").output, "10.0.0.1\n");
    EXPECT_EQ(responder.queries(), 5); // each run asks afresh; an offline one asks nothing
}

TEST_F(AddressLookupStreamTest, AServerThatNeverAnswersLeavesTheHostNamesEmpty) {
    const DnsResponder silent(hostReply, /*held=*/true);
    stream_.setResolveHostNames(true);
    const StreamRun run = runOver("10.0.0.1\n10.0.0.3\n");
    EXPECT_EQ(run.output, "10.0.0.1\t\n10.0.0.3\t\n");
    EXPECT_TRUE(run.result.ok());
}

// All queries of the batch wait for the last to arrive, then are answered last first.
TEST_F(AddressLookupStreamTest, HostNamesAnsweredOutOfOrderStayOnTheirLines) {
    DnsResponder responder(hostReply, /*held=*/true);
    stream_.setResolveHostNames(true);
    QStringList addresses;
    QByteArray expected;
    for (int i = 1; i <= HostNameResolver::maxInFlight; ++i) {
        addresses.append(QStringLiteral("10.0.1.%1").arg(i));
        expected += addresses.back().toLatin1() + '\t' +
                    (i == 2 ? QByteArray() : "host-" + QByteArray::number(i) + ".example") + '\n';
    }
    QByteArray output;
    std::thread run([&] { output = stream_.answer(addresses); });
    const auto bound = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (responder.queries() < addresses.size() && std::chrono::steady_clock::now() < bound) {
        std::this_thread::yield();
    }
    responder.release(/*lastFirst=*/true);
    run.join();
    EXPECT_EQ(output, expected);
}

} // namespace
