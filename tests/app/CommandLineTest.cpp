#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <sys/utsname.h>
#include <unistd.h>

#include <optional>

// The built program run as a script runs it: its exit status, standard output and
// standard error.
namespace {

struct ProgramRun {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

ProgramRun
runShell(const QString& script,
         const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    QProcessEnvironment withBinary = environment;
    withBinary.insert("ORMEL", QStringLiteral(ORMEL_BINARY));
    process.setProcessEnvironment(withBinary);
    process.start("/bin/sh", {"-c", script});
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

// Private mount namespaces need root; CI runs as root, so there they never skip.
bool mayMount() {
    return ::geteuid() == 0 || qEnvironmentVariableIsSet("CI");
}

TEST(CommandLine, RefusesBadArgumentsWithStatusTwo) {
    for (const char* arguments :
         {"--frobnicate", "--dump", "--dump battery", "--dump system extra", "--json",
          "--dump system --screenshot /tmp", "--lookup", "--lookup - 8.8.8.8",
          "--screenshot /tmp --json", "--dump process/-3", "--resolve 8.8.8.8",
          "--dump system --resolve", "--resolve --lookup"}) {
        const ProgramRun run = runShell(QStringLiteral("$ORMEL %1").arg(arguments));
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_TRUE(run.err.startsWith("ormel: ")) << arguments << run.err.constData();
        EXPECT_TRUE(run.out.isEmpty()) << arguments;
    }
    const ProgramRun help = runShell("$ORMEL --help && $ORMEL --version && $ORMEL -h");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.count("usage: ormel"), 2);
    EXPECT_TRUE(help.out.contains("\normel 0.")) << help.out.constData();
}

// Qt's own options still reach the application.
TEST(CommandLine, KeepsQtsOwnOptions) {
    const ProgramRun run = runShell("$ORMEL -platform offscreen --dump memory");
    EXPECT_EQ(run.status, 0) << run.err.constData();
    EXPECT_TRUE(run.out.startsWith("== Memory Status\n"));
}

TEST(CommandLine, JsonDumpIsOneObjectNamingTheScreen) {
    const ProgramRun run = runShell("$ORMEL --dump memory --json");
    ASSERT_EQ(run.status, 0) << run.err.constData();
    EXPECT_TRUE(run.out.endsWith("}\n"));
    EXPECT_EQ(run.out.count('\n'), 1);
    QJsonParseError error{};
    const QJsonObject dump = QJsonDocument::fromJson(run.out, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError);
    EXPECT_EQ(dump.value("screen"), "memory");
    EXPECT_EQ(dump.value("title"), "Memory Status");
    EXPECT_EQ(dump.value("sections")[0]["title"], "Memory Usage");
}

TEST(CommandLine, AnyPidThatDoesNotExistIsTheSameError) {
    for (const char* pid : {"0", "99999999", "999999999999999999", "12345678901234567890123"}) {
        const ProgramRun run = runShell(QStringLiteral("$ORMEL --dump process/%1").arg(pid));
        EXPECT_EQ(run.status, 1) << pid;
        EXPECT_EQ(run.err, QByteArray("ormel: no process with pid ") + pid + "\n");
    }
}

TEST(CommandLine, AFailedWriteToStandardOutputFails) {
    const ProgramRun run = runShell("$ORMEL --dump memory >/dev/full");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains("cannot write to standard output")) << run.err.constData();
}

// The map's callout names the place of the first reading (a recorded log here), or the
// run fails saying why there is none.
TEST(CommandLine, TheMapDumpNamesThePlaceOfTheReading) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("ORMEL_NMEA_LOG", ORMEL_FIXTURES_DIR "/location/three-fixes.nmea");
    const ProgramRun run = runShell("$ORMEL --dump map && $ORMEL --dump map --json", environment);
    EXPECT_EQ(run.status, 0) << run.err.constData();
    EXPECT_EQ(run.out, "== Location\n--\nHere\tBavaria, Germany\n"
                       R"({"screen":"map","sections":[{"rows":[["Here","Bavaria, Germany"]],)"
                       R"("title":""}],"title":"Location"})"
                       "\n");
    environment.insert("ORMEL_NMEA_LOG", "/nonexistent.nmea");
    const ProgramRun none = runShell("$ORMEL --dump map", environment);
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.err, "ormel: no location reading: Location services are off\n");
}

// The value of the row `title` in the section `header` of a text dump, if there is one.
std::optional<QString> dumpedValue(const QString& dump, const QString& header,
                                   const QString& title) {
    QString current;
    for (const QString& line : dump.split('\n')) {
        if (line.startsWith("-- ")) {
            current = line.mid(3);
        } else if (current == header && line.startsWith(title + '\t')) {
            return line.mid(title.size() + 1);
        }
    }
    return std::nullopt;
}

// The first line of a file of this machine that starts with `key`, without the key.
QString hostLine(const QString& path, const QString& key) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith(key.toUtf8())) {
            return QString::fromUtf8(line.mid(key.size())).trimmed();
        }
    }
    return {};
}

// The level-1 data cache of cpu0 in bytes as /sys gives it, or "Unknown".
QString hostL1DataCache() {
    const QString caches = "/sys/devices/system/cpu/cpu0/cache";
    for (const QString& index : QDir(caches).entryList({"index*"})) {
        const QString base = caches + '/' + index + '/';
        if (hostLine(base + "level", "") == "1" && hostLine(base + "type", "") == "Data") {
            const QString size = hostLine(base + "size", "");
            return QString::number(size.chopped(1).toLongLong() * 1024) + " Bytes";
        }
    }
    return "Unknown";
}

// What the System tab says of this machine is what the machine's own files and tools say.
TEST(LiveHostSystemDump, AgreesWithUnameNprocMeminfoCachesAndOsRelease) {
    const ProgramRun run = runShell("$ORMEL --dump system");
    ASSERT_EQ(run.status, 0) << run.err.constData();
    const QString dump = QString::fromUtf8(run.out);
    utsname host{};
    ASSERT_EQ(::uname(&host), 0);
    EXPECT_EQ(dumpedValue(dump, "Kernel", "Type"), QString::fromUtf8(host.sysname));
    EXPECT_EQ(dumpedValue(dump, "Kernel", "Release"), QString::fromUtf8(host.release));
    EXPECT_EQ(dumpedValue(dump, "Kernel", "Host Name"), QString::fromUtf8(host.nodename));
    EXPECT_EQ(dumpedValue(dump, "Hardware", "Processors"),
              QString::number(::sysconf(_SC_NPROCESSORS_ONLN)));
    const qint64 memTotalKiB = hostLine("/proc/meminfo", "MemTotal:").chopped(3).toLongLong();
    EXPECT_EQ(dumpedValue(dump, "Hardware", "Physical Memory"),
              QString::number(memTotalKiB / 1024) + " MBytes");
    EXPECT_EQ(dumpedValue(dump, "Hardware", "Page Size"), QString::number(::getpagesize()));
    EXPECT_EQ(dumpedValue(dump, "Hardware", "L1 D-Cache"), hostL1DataCache());
    QString version = hostLine("/etc/os-release", "VERSION_ID=");
    version.remove('"');
    EXPECT_EQ(dumpedValue(dump, "Device", "Version"), version);
    // No machine running Linux reports a bus frequency: unknown, never "0 MHz".
    EXPECT_EQ(dumpedValue(dump, "Hardware", "Bus Frequency"), "Unknown");
}

TEST(CommandLine, ReadOnlyCommandsCreateNoDirectory) {
    const QString home = testenv::makeTempDir("cli-home") + "/missing";
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", home);
    environment.remove("XDG_DATA_HOME");
    environment.insert("ORMEL_DOCUMENTS_DIR", home + "/typo");
    EXPECT_EQ(runShell("$ORMEL --dump system >/dev/null", environment).status, 0);
    environment.remove("ORMEL_DOCUMENTS_DIR");
    EXPECT_EQ(runShell("$ORMEL --lookup 8.8.8.8 >/dev/null", environment).status, 0);
    EXPECT_FALSE(QFileInfo::exists(home));
}

// Folder names are taken as they stand: a "%1" is no placeholder, and bytes that are
// not UTF-8 name the folder they name.
TEST(CommandLine, ScreenshotsLandInTheFolderNamed) {
    const QString parent = testenv::makeTempDir("cli-shots");
    const ProgramRun run =
        runShell("cd '" + parent +
                 "' && $ORMEL --screenshot 'a%1b%2' && "
                 "$ORMEL --screenshot \"$(printf 'raw\\377')\" >/dev/null && "
                 "ls \"$(printf 'raw\\377')\" | wc -l && rm -r \"$(printf 'raw\\377')\"");
    ASSERT_EQ(run.status, 0) << run.err.constData();
    const QString folder = parent + "/a%1b%2";
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("a%1b%2/1-system.png\n").toUtf8()))
        << run.out.constData();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 5);
    EXPECT_TRUE(run.out.endsWith("\n5\n"));
}

// A documents directory named in bytes that are not UTF-8 is the one read: its
// registry copy (here an empty one) is found, refused and named.
TEST(CommandLine, TheDocumentsDirectoryIsTheBytesItIsNamedBy) {
    const QString parent = testenv::makeTempDir("cli-documents");
    const ProgramRun run = runShell(
        "cd '" + parent +
        "' && mkdir \"$(printf 'd\\377')\" && "
        ": > \"$(printf 'd\\377')/ccTLD.dat\" && "
        "ORMEL_DOCUMENTS_DIR=\"$PWD/$(printf 'd\\377')\" $ORMEL --lookup 8.8.8.8; status=$?; "
        "rm -r \"$(printf 'd\\377')\"; exit $status");
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.out.startsWith("8.8.8.8\tUS\t")); // from the shipped copy
    EXPECT_TRUE(run.err.contains("d\\xff/ccTLD.dat refused: too short")) << run.err.constData();
}

TEST(CommandLine, AScreenshotOnAFullDiskLeavesNoPartialFile) {
    if (!mayMount()) {
        GTEST_SKIP() << "needs root for a private mount namespace";
    }
    const QString folder = testenv::makeTempDir("cli-full");
    const ProgramRun run = runShell(
        QStringLiteral("unshare -m sh -c 'mount -t tmpfs -o size=12k none \"%1\" && "
                       "$ORMEL --screenshot \"%1\"; status=$?; ls -A \"%1\"; exit $status'")
            .arg(folder));
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains("cannot write")) << run.err.constData();
    EXPECT_EQ(run.out, "") << "left behind: " << run.out.constData();
}

// With /proc hidden every kernel read fails: each dump says which and fails, and a
// pid is not reported as missing when the table could not be read at all.
TEST(CommandLine, FailedKernelReadsFailTheDump) {
    if (!mayMount()) {
        GTEST_SKIP() << "needs root for a private mount namespace";
    }
    for (const char* screen : {"system", "process", "memory", "disk", "process/1"}) {
        const ProgramRun run = runShell(
            QStringLiteral("unshare -m sh -c 'mount -t tmpfs none /proc && $ORMEL --dump %1'")
                .arg(screen));
        EXPECT_EQ(run.status, 1) << screen;
        EXPECT_TRUE(run.err.contains("ormel: memory:")) << screen << run.err.constData();
        EXPECT_FALSE(run.err.contains("no process")) << screen;
    }
    const ProgramRun process = runShell(
        "unshare -m sh -c 'mount -t tmpfs none /proc && $ORMEL --dump process 2>&1 >/dev/null'");
    EXPECT_TRUE(process.out.contains("ormel: process table:")) << process.out.constData();
}

// Addresses drawn from the registries' statistics files, one per registry:
// "afrinic|ZA|ipv4|41.0.0.0|2097152|20071126|allocated", "apnic|JP|ipv4|1.0.16.0|
// 4096|20110412|allocated", "arin|US|ipv4|3.0.0.0|16777216|19880223|assigned",
// "ripencc|NL|ipv4|193.0.0.0|4096|19930901|allocated" and
// "lacnic|BR|ipv4|45.4.240.0|1024|20170303|allocated".
// The same answers whether the addresses come as arguments or on standard input.
TEST(CommandLine, LookupsAgreeWithTheRegistryStatistics) {
    const char* addresses = "41.0.0.1 1.0.16.5 3.0.0.9 193.0.0.1 45.4.243.255 10.0.0.1";
    const ProgramRun listed = runShell(QStringLiteral("$ORMEL --lookup %1").arg(addresses));
    const ProgramRun piped =
        runShell(QStringLiteral("printf '%s\\n' %1 | $ORMEL --lookup -").arg(addresses));
    EXPECT_EQ(listed.status, 0);
    EXPECT_EQ(piped.out, listed.out);
    const QString lines = QString::fromUtf8(listed.out);
    EXPECT_EQ(
        lines.split('\n'),
        QStringList(
            {"41.0.0.1\tZA\tSouth Africa, Republic Of\tAFRINIC\tAfrica Region\t41.0.0.0/11\t"
             "2007-11-26 (allocated)",
             "1.0.16.5\tJP\tJapan\tAPNIC\tAsia/Pacific Region\t1.0.16.0/20\t2011-04-12 (allocated)",
             "3.0.0.9\tUS\tAmerica, United States Of (USA)\tARIN\tNorth America Region\t3.0.0.0/8\t"
             "1988-02-23 (assigned)",
             "193.0.0.1\tNL\tNetherlands, Kingdom Of\tRIPE NCC\tEurope, the Middle East, and "
             "Central "
             "Asia\t193.0.0.0/20\t1993-09-01 (allocated)",
             "45.4.243.255\tBR\tBrazil, Federative Republic Of\tLACNIC\tLatin America and some "
             "Caribbean Islands\t45.4.240.0/22\t2017-03-03 (allocated)",
             "10.0.0.1", ""}));
}

// An invalid text is said on stderr and fails the run, and still has its line, so
// that output lines pair with input lines.
TEST(CommandLine, InvalidLookupTextsFailTheRun) {
    for (const char* input :
         {"--lookup '' 1.2.3 256.1.1.1 ::1 ' 8.8.8.8' 8.8.8.8",
          "--lookup - <<EOF\n\n1.2.3\n256.1.1.1\n::1\n 8.8.8.8\n8.8.8.8\nEOF"}) {
        const ProgramRun run = runShell(QStringLiteral("$ORMEL %1").arg(input));
        EXPECT_EQ(run.status, 1) << input;
        const QList<QByteArray> lines = run.out.split('\n');
        ASSERT_EQ(lines.size(), 7) << run.out.constData();
        EXPECT_EQ(lines.mid(0, 5),
                  QList<QByteArray>({"", "1.2.3", "256.1.1.1", "::1", " 8.8.8.8"}));
        EXPECT_TRUE(lines[5].startsWith("8.8.8.8\tUS\t"));
        EXPECT_EQ(run.err.count("is not an IPv4 address"), 5) << run.err.constData();
    }
    // A newline inside an argument does not make two answers; an ESC does not reach the
    // terminal through the report.
    const ProgramRun hostile =
        runShell("$ORMEL --lookup \"$(printf '8.8.8.8\\n9.9.9.9')\" \"$(printf '\\033[8m')\"");
    EXPECT_EQ(hostile.status, 1);
    EXPECT_EQ(hostile.out, "8.8.8.8\\n9.9.9.9\n\x1b[8m\n");
    EXPECT_FALSE(hostile.err.contains('\x1b'));
    EXPECT_TRUE(hostile.err.contains("line 2: \"\\x1b[8m\"")) << hostile.err.constData();
}

} // namespace
