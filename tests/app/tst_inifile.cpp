#include "app/config/IniFile.h"
#include "LimitGuard.h"
#include "TestSuite.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace tst_inifile {
namespace {

using vexlor::app::IniFile;

namespace {

const QByteArray kHeader = "[! Vexlor Ini file ]\r\n"
                           "[! Interface created to remote control your Bc245xlt    ]\r\n"
                           "[! Don't modify this file or do it at your own risk :)  ]\r\n"
                           "[! Made by the Vexlor developers                        ]\r\n"
                           "[! Questions and news: the Vexlor mailing list          ]\r\n"
                           "\r\n";

// The values in file order, to compare a whole configuration at once.
QStringList values(const IniFile& ini)
{
    const IniFile::Links l = ini.links();
    return {ini.UserName(), ini.ComPort(), ini.ComSettings(), ini.LogFileNameVal(),
            ini.LogWhat(), ini.AutoListenTCP(), ini.SerialPortTimeout(),
            ini.RemotePassword(), ini.RemoteAllow(), ini.RemoteBind(),
            l.webSite, l.mailAddress, l.listPage, l.listPost, l.listSubscribe, l.listUnsubscribe, l.scannerPage};
}

const QStringList kDefaults = {"", "1", "9600,n,8,1", "", "", "0", "3", "", "", "",
                               "", "", "", "", "", "", ""};

using vexlor::testing::LimitGuard;

} // namespace

class TestIniFile : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    QString path(const QString& name = QStringLiteral("qorvanix.ini")) const { return m_dir.filePath(name); }
    void write(const QString& file, const QByteArray& bytes)
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QByteArray read(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void defaults()
    {
        IniFile ini;
        QCOMPARE(ini.IniFileName(), QStringLiteral("qorvanix.ini"));
        QCOMPARE(values(ini), kDefaults);
    }

    void missingFile()
    {
        IniFile ini;
        ini.setIniFileName(path("absent.ini"));
        QVERIFY(!ini.LoadINI());
        QCOMPARE(values(ini), kDefaults);
    }

    void reading_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QStringList>("expected");
        auto with = [](int index, const QString& v) {
            QStringList l = kDefaults;
            l[index] = v;
            return l;
        };
        QTest::newRow("header only keeps defaults") << kHeader << kDefaults;
        QTest::newRow("full file") << QByteArray("[UserName]=Ann\r\n[comm port]=4\r\n[comm speed]=4800,n,8,1\r\n"
                                                 "[Logging File]=night\r\n[Log What]=101010101\r\n"
                                                 "[AutoListenTCP]=1\r\n[SerialPortTimeout]=7\r\n")
                                   << QStringList {"Ann", "4", "4800,n,8,1", "night", "101010101", " 1", " 7"} + kDefaults.mid(7);
        QTest::newRow("blank before = is part of the key") << QByteArray("[comm port] =5\r\n") << kDefaults;
        QTest::newRow("key case matters") << QByteArray("[Comm Port]=5\r\n") << kDefaults;
        QTest::newRow("blank before key") << QByteArray(" [comm port]=5\r\n") << kDefaults;
        QTest::newRow("value with = ignored, previous stays")
            << QByteArray("[UserName]=Bob\r\n[UserName]=a=b\r\n") << with(0, "Bob");
        QTest::newRow("value trimmed") << QByteArray("[UserName]=   Bob  \r\n") << with(0, "Bob");
        QTest::newRow("empty value") << QByteArray("[comm port]=\r\n") << with(1, "");
        QTest::newRow("timeout leading number") << QByteArray("[SerialPortTimeout]=5 seconds\r\n") << with(6, " 5");
        QTest::newRow("timeout non-numeric") << QByteArray("[SerialPortTimeout]=soon\r\n") << with(6, " 0");
        QTest::newRow("timeout empty") << QByteArray("[SerialPortTimeout]=\r\n") << with(6, " 0");
        QTest::newRow("timeout negative") << QByteArray("[SerialPortTimeout]=-2\r\n") << with(6, "-2");
        QTest::newRow("timeout fraction") << QByteArray("[SerialPortTimeout]= 2.5\r\n") << with(6, " 2.5");
        QTest::newRow("large number kept in digits") << QByteArray("[SerialPortTimeout]=1000000\r\n") << with(6, " 1000000");
        QTest::newRow("auto listen word") << QByteArray("[AutoListenTCP]=yes\r\n") << with(5, " 0");
        QTest::newRow("later line wins") << QByteArray("[comm port]=2\r\n[comm port]=9\r\n") << with(1, "9");
        QTest::newRow("window size discarded")
            << QByteArray("[WindowWidth]=7485\r\n[WindowHeight]=8205\r\n") << kDefaults;
        QTest::newRow("unknown key") << QByteArray("[Colour]=red\r\n") << kDefaults;
        QStringList al = with(0, "Al");
        al[1] = "3";
        QTest::newRow("LF only") << QByteArray("[comm port]=3\n[UserName]=Al\n") << al;
        QTest::newRow("CR only") << QByteArray("[comm port]=3\r[UserName]=Al") << al;
        QTest::newRow("device path") << QByteArray("[comm port]=/dev/ttyUSB0\r\n") << with(1, "/dev/ttyUSB0");
        QTest::newRow("Latin-1 name") << QByteArray("[UserName]=J\xe9r\xf4me\r\n") << with(0, QString::fromLatin1("J\xe9r\xf4me"));
        static const char garbage[] = "\x00\xff=\x01\r\n==\r\n=\r\n\x00[comm port]=8\r\n";
        QStringList remote = kDefaults;
        remote[7] = "s3cret";
        remote[8] = "192.168.1.5, ::ffff:10.0.0.2";
        remote[9] = "127.0.0.1";
        QTest::newRow("remote settings") << QByteArray("[RemotePassword]=s3cret\r\n[RemoteAllow]=192.168.1.5, ::ffff:10.0.0.2\r\n"
                                                       "[RemoteBind]=127.0.0.1\r\n")
                                         << remote;
        QTest::newRow("remote settings before the others") << QByteArray("[RemoteBind]=::1\r\n[UserName]=Al\r\n")
                                                           << [&] { QStringList l = with(0, "Al"); l[9] = "::1"; return l; }();
        QTest::newRow("password trimmed") << QByteArray("[RemotePassword]=  pass word \r\n") << with(7, "pass word");
        QTest::newRow("password with = kept whole") << QByteArray("[RemotePassword]=abc=def=\r\n") << with(7, "abc=def=");
        QTest::newRow("password is text, not a number") << QByteArray("[RemotePassword]=0042\r\n") << with(7, "0042");
        QTest::newRow("remote key case matters") << QByteArray("[remotepassword]=x\r\n[RemoteAllow] =1.2.3.4\r\n") << kDefaults;
        QTest::newRow("Latin-1 password") << QByteArray("[RemotePassword]=\xe9t\xe9\r\n") << with(7, QString::fromLatin1("\xe9t\xe9"));
        QTest::newRow("link targets kept whole")
            << QByteArray("[ScannerPage]=https://example.org/?a=b\r\n[MailAddress]= me@example.org \r\n")
            << [&] { QStringList l = with(11, "me@example.org"); l[16] = "https://example.org/?a=b"; return l; }();
        QTest::newRow("garbage bytes") << QByteArray(garbage, sizeof(garbage) - 1) << kDefaults;
    }
    void reading()
    {
        QFETCH(QByteArray, body);
        QFETCH(QStringList, expected);
        write(path(), body);
        IniFile ini;
        ini.setIniFileName(path());
        QVERIFY(ini.LoadINI());
        QCOMPARE(values(ini), expected);
    }

    void savedBytes()
    {
        IniFile ini;
        ini.setIniFileName(path());
        ini.setUserName("Ann");
        ini.setComPort("/dev/ttyUSB0");
        ini.setLogWhat("110000000");
        QVERIFY(ini.SaveINI());
        const QByteArray expected = kHeader
            + "[UserName]=Ann\r\n"
              "[comm port]=/dev/ttyUSB0\r\n"
              "[comm speed]=9600,n,8,1\r\n"
              "[Logging File]=\r\n"
              "[Log What]=110000000\r\n"
              "[AutoListenTCP]=0\r\n"
              "[SerialPortTimeout]=3\r\n"
              "[RemotePassword]=\r\n"
              "[RemoteAllow]=\r\n"
              "[RemoteBind]=\r\n"
              "[WebSite]=\r\n"
              "[MailAddress]=\r\n"
              "[MailingListPage]=\r\n"
              "[MailingListPost]=\r\n"
              "[MailingListSubscribe]=\r\n"
              "[MailingListUnsubscribe]=\r\n"
              "[ScannerPage]=\r\n"
              "[WindowPlaces]=\r\n"
              "[WebRemote]=\r\n[WebListen]=\r\n[WebWatchFree]=\r\n[WebCertificate]=\r\n[WebKey]=\r\n"
              "[Recording]=\r\n[RecordingInput]=\r\n[RecordingFormat]=\r\n[RecordingWhat]=\r\n[RecordingMarked]=\r\n"
              "[RecordingMinimumMs]=\r\n[RecordingHangMs]=\r\n[RecordingLimitGB]=\r\n[RecordingLimitDays]=\r\n";
        QCOMPARE(read(path()), expected);
        QCOMPARE(ini.contents(), expected);
    }

    void saveAfterLoad()
    {
        write(path(), "[UserName]=  Ann \r\n[AutoListenTCP]=1\r\n[SerialPortTimeout]=5 s\r\n[WindowWidth]=10\r\n");
        IniFile ini;
        ini.setIniFileName(path());
        QVERIFY(ini.LoadINI());
        QVERIFY(ini.SaveINI());
        const QByteArray saved = read(path());
        QVERIFY(saved.contains("\r\n[UserName]=Ann\r\n"));
        QVERIFY(saved.contains("\r\n[AutoListenTCP]= 1\r\n"));
        QVERIFY(saved.contains("\r\n[SerialPortTimeout]= 5\r\n[RemotePassword]="));
        QVERIFY(!saved.contains("WindowWidth"));

        IniFile again;
        again.setIniFileName(path());
        QVERIFY(again.LoadINI());
        QCOMPARE(values(again), values(ini));
        QVERIFY(again.SaveINI());
        QCOMPARE(read(path()), saved);
    }

    // Written after the thirteen lines, and read back the same.
    void remoteSettingsRoundTrip()
    {
        IniFile ini;
        ini.setIniFileName(path());
        ini.setRemotePassword("top=secret");
        ini.setRemoteAllow("10.0.0.1,10.0.0.2");
        ini.setRemoteBind("127.0.0.1");
        QVERIFY(ini.SaveINI());
        const QList<QByteArray> lines = read(path()).split('\n');
        QCOMPARE(lines.size(), 39); // 38 lines and the empty piece after the last LF
        QCOMPARE(lines[12], QByteArray("[SerialPortTimeout]=3\r"));
        QCOMPARE(lines[13], QByteArray("[RemotePassword]=top=secret\r"));
        QCOMPARE(lines[14], QByteArray("[RemoteAllow]=10.0.0.1,10.0.0.2\r"));
        QCOMPARE(lines[15], QByteArray("[RemoteBind]=127.0.0.1\r"));

        IniFile again;
        again.setIniFileName(path());
        QVERIFY(again.LoadINI());
        QCOMPARE(values(again).mid(7), values(ini).mid(7));
    }

    void passwordFileIsPrivate_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("othersMayRead");
        QTest::newRow("no password") << QString() << true;
        QTest::newRow("password") << QStringLiteral("pw") << false;
    }
    void passwordFileIsPrivate()
    {
        QFETCH(QString, password);
        QFETCH(bool, othersMayRead);
        QFile::remove(path());
        write(path(), "old\r\n");
        QVERIFY(QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));
        IniFile ini;
        ini.setIniFileName(path());
        ini.setRemotePassword(password);
        QVERIFY(ini.SaveINI());
        const QFile::Permissions p = QFile::permissions(path());
        QVERIFY(p & QFile::ReadOwner);
        QCOMPARE(bool(p & QFile::ReadOther), othersMayRead);
        QCOMPARE(bool(p & QFile::ReadGroup), othersMayRead);
    }

    void failedSaveKeepsOldFile_data()
    {
        QTest::addColumn<int>("resource");
        // No new file can be created in the directory (as for a read-only one).
        QTest::newRow("cannot create") << int(RLIMIT_NOFILE);
        // The disk refuses the bytes half way.
        QTest::newRow("write fails") << int(RLIMIT_FSIZE);
    }
    void failedSaveKeepsOldFile()
    {
        QFETCH(int, resource);
        const QByteArray old = kHeader + "[UserName]=Old\r\n";
        write(path(), old);
        IniFile ini;
        ini.setIniFileName(path());
        ini.setUserName(QString(500, QLatin1Char('x')));

        bool saved = true;
        {
            // Any file at all counts against the descriptor limit; take the lowest free one as the limit.
            const int probe = ::open("/dev/null", O_RDONLY);
            QVERIFY(probe >= 0);
            ::close(probe);
            const rlim_t limit = resource == RLIMIT_NOFILE ? rlim_t(probe) : rlim_t(64);
            auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
            LimitGuard guard(resource, limit);
            QVERIFY(guard.ok());
            saved = ini.SaveINI();
            std::signal(SIGXFSZ, oldHandler);
        }
        QVERIFY(!saved);
        QVERIFY(!ini.lastError().isEmpty());
        QCOMPARE(read(path()), old);
        // No temporary file is left beside it.
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList {"qorvanix.ini"});
    }

    void saveIntoMissingDirectory()
    {
        IniFile ini;
        ini.setIniFileName(path("no/such/dir/qorvanix.ini"));
        QVERIFY(!ini.SaveINI());
        QVERIFY(!ini.lastError().isEmpty());
    }

    void numberText_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << " 0";
        QTest::newRow("positive") << 5.0 << " 5";
        QTest::newRow("negative") << -3.0 << "-3";
        QTest::newRow("fraction") << 0.5 << " 0.5";
        // Written without an exponent, which the reader would stop at.
        QTest::newRow("huge") << -4.5e20 << "-450000000000000000000";
        QTest::newRow("tiny") << 0.0000125 << " 0.0000125";
        QTest::newRow("below any setting") << 1e-300 << " 0";
    }
    void numberText()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(IniFile::numberText(value), text);
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestIniFile)

} // namespace
} // namespace tst_inifile

#include "tst_inifile.moc"
