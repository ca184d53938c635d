#include "app/CommandLine.h"
#include "web/WebRemoteSetup.h"
#include "TestSuite.h"

#include <QTest>

namespace tst_commandline {
namespace {

using vexlor::app::CommandLine;

class TestCommandLine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parse_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("dataDir");
        QTest::addColumn<bool>("simulate");
        QTest::addColumn<bool>("version");
        QTest::addColumn<bool>("help");
        QTest::addColumn<bool>("error");
        QTest::newRow("nothing") << QStringList {} << "" << "" << false << false << false << false;
        QTest::newRow("port") << QStringList {"--port", "/dev/ttyUSB0"} << "/dev/ttyUSB0" << "" << false << false
                              << false << false;
        QTest::newRow("port=") << QStringList {"--port=3"} << "3" << "" << false << false << false << false;
        QTest::newRow("data dir") << QStringList {"--data-dir", "/tmp/x", "--simulate"} << "" << "/tmp/x" << true
                                  << false << false << false;
        QTest::newRow("version") << QStringList {"--version"} << "" << "" << false << true << false << false;
        QTest::newRow("help") << QStringList {"-h"} << "" << "" << false << false << true << false;
        QTest::newRow("port without value") << QStringList {"--port"} << "" << "" << false << false << false << true;
        QTest::newRow("empty port=") << QStringList {"--port="} << "" << "" << false << false << false << true;
        QTest::newRow("unknown") << QStringList {"--loud"} << "" << "" << false << false << false << true;
        QTest::newRow("desktop with data dir") << QStringList {"--desktop", "--data-dir", "d"} << "" << "" << false
                                               << false << false << true;
        QTest::newRow("simulate with port") << QStringList {"--simulate", "--port", "1"} << "1" << "" << true << false
                                            << false << true;
    }
    void parse()
    {
        QFETCH(QStringList, args);
        const CommandLine c = CommandLine::parse(args);
        QFETCH(bool, error);
        QCOMPARE(!c.error.isEmpty(), error);
        if (error)
            return;
        QFETCH(QString, port);
        QFETCH(QString, dataDir);
        QFETCH(bool, simulate);
        QFETCH(bool, version);
        QFETCH(bool, help);
        QCOMPARE(c.port, port);
        QCOMPARE(c.dataDir, dataDir);
        QCOMPARE(c.simulate, simulate);
        QCOMPARE(c.showVersion, version);
        QCOMPARE(c.showHelp, help);
    }

    void memoryOperations_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("parsed"); // export|import|backup|upload, or "error"
        QTest::newRow("import= with upload") << QStringList {"--import=a.txt", "--upload"} << "|a.txt||1";
        QTest::newRow("backup and port") << QStringList {"--backup", "b.txt", "--port", "/dev/ttyUSB0"} << "||b.txt|0";
        QTest::newRow("backup without value") << QStringList {"--backup"} << "error";
        QTest::newRow("upload with export") << QStringList {"--export", "a", "--upload"} << "error";
    }
    void memoryOperations()
    {
        QFETCH(QStringList, args);
        const CommandLine c = CommandLine::parse(args);
        const QString parsed = c.error.isEmpty()
            ? QStringList {c.exportFile, c.importFile, c.backupFile, QString::number(c.upload)}.join("|")
            : QStringLiteral("error");
        QTEST(parsed, "parsed");
        QVERIFY(!c.error.isEmpty() || c.isBatch());
    }

    void fast_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("parsed"); // the fast flag, or "error"
        QTest::newRow("with --simulate") << QStringList {"--backup", "b.txt", "--fast", "--simulate"} << "1";
        QTest::newRow("without --simulate") << QStringList {"--backup", "b.txt", "--fast"} << "error";
    }
    void fast()
    {
        QFETCH(QStringList, args);
        const CommandLine c = CommandLine::parse(args);
        QTEST(c.error.isEmpty() ? QString::number(c.fast) : QStringLiteral("error"), "parsed");
    }

    void web_data()
    {
        QTest::addColumn<QString>("arg");
        QTest::addColumn<QString>("parsed"); // address|port, or error
        QTest::newRow("a port") << "8080" << "|8080";
        QTest::newRow("address and port") << "0.0.0.0:8443" << "0.0.0.0|8443";
        QTest::newRow("IPv6 in brackets") << "[::1]:0" << "::1|0";
        QTest::newRow("not an address") << "scanner:8080" << "error";
        QTest::newRow("past 65535") << "70000" << "error";
        QTest::newRow("no port") << "127.0.0.1:" << "error";
    }
    void web()
    {
        QFETCH(QString, arg);
        const CommandLine c = CommandLine::parse({QStringLiteral("--web"), arg});
        QString address;
        int port = -1;
        const bool ok = c.error.isEmpty() && vexlor::web::parseListen(c.web, &address, &port);
        QTEST(ok ? address + QLatin1Char('|') + QString::number(port) : QStringLiteral("error"), "parsed");
    }

    void texts()
    {
        QCOMPARE(CommandLine::versionLine(), QStringLiteral("Vexlor V 2.4.3 (10/23/2001)"));
        for (const char* option : {"--port", "--data-dir", "--desktop", "--simulate", "--fast", "--version", "--help", "--export", "--import", "--upload", "--backup", "--web"})
            QVERIFY2(CommandLine::helpText().contains(QLatin1String(option)), option);
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestCommandLine)

} // namespace
} // namespace tst_commandline

#include "tst_commandline.moc"
