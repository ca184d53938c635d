#include "remote/AccessRules.h"
#include "remote/LoginGuard.h"
#include "TestSuite.h"

#include <QTest>

namespace tst_accessrules {
namespace {

using vexlor::remote::AccessRules;
using vexlor::remote::LoginGuard;

class TestAccessRules : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void passwords_data()
    {
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QByteArray>("given");
        QTest::addColumn<bool>("match");
        QTest::newRow("same") << "s3cret" << QByteArray("s3cret") << true;
        QTest::newRow("other") << "s3cret" << QByteArray("s3creT") << false;
        QTest::newRow("prefix") << "s3cret" << QByteArray("s3c") << false;
        QTest::newRow("longer") << "s3cret" << QByteArray("s3cretX") << false;
        QTest::newRow("repeated") << "ab" << QByteArray("abab") << false;
        QTest::newRow("empty given") << "s3cret" << QByteArray() << false;
        QTest::newRow("nothing expected never matches") << "" << QByteArray() << false;
        QTest::newRow("case") << "Pass" << QByteArray("pass") << false;
        QTest::newRow("accents in UTF-8") << QStringLiteral("\u00e9t\u00e9") << QByteArray("\xc3\xa9t\xc3\xa9") << true;
        QTest::newRow("accents single-byte") << QStringLiteral("\u00e9t\u00e9") << QByteArray("\xe9t\xe9") << true;
        // Written single-byte, these letters would become "?" and match any such guess.
        QTest::newRow("beyond single-byte, sent single-byte") << QStringLiteral("\u017c\u00f3\u0142w")
                                                              << QStringLiteral("\u017c\u00f3\u0142w").toLatin1() << false;
    }
    void passwords()
    {
        QFETCH(QString, expected);
        QFETCH(QByteArray, given);
        QTEST(AccessRules::passwordMatches(expected, given), "match");
    }

    void canonical_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("canonical");
        QTest::newRow("IPv4") << "192.168.1.5" << "192.168.1.5";
        QTest::newRow("IPv4 blanks") << " 10.0.0.1 " << "10.0.0.1";
        QTest::newRow("IPv4-mapped") << "::ffff:10.0.0.1" << "10.0.0.1";
        QTest::newRow("IPv4-mapped upper case") << "::FFFF:10.0.0.1" << "10.0.0.1";
        QTest::newRow("IPv4-mapped in hex") << "0:0:0:0:0:ffff:a00:1" << "10.0.0.1";
        QTest::newRow("IPv6 long form") << "0:0:0:0:0:0:0:1" << "::1";
        QTest::newRow("IPv6 bracketed") << "[fe80::1]" << "fe80::1";
        QTest::newRow("IPv6 scope dropped") << "fe80::1%eth0" << "fe80::1";
        QTest::newRow("IPv4-compatible is not mapped") << "::10.0.0.1" << "::10.0.0.1";
        QTest::newRow("host name") << "localhost" << "";
        QTest::newRow("short IPv4") << "10.1" << "";
        QTest::newRow("octet too big") << "10.0.0.256" << "";
        QTest::newRow("NUL inside") << QString::fromLatin1("10.0.0.1\0x", 10) << "";
        QTest::newRow("empty") << "" << "";
    }
    void canonical()
    {
        QFETCH(QString, text);
        QTEST(AccessRules::canonicalAddress(text), "canonical");
    }

    void allowList_data()
    {
        QTest::addColumn<QString>("allow");
        QTest::addColumn<QString>("peer");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("empty list allows any") << "" << "203.0.113.9" << true;
        QTest::newRow("blanks only allow any") << " , ," << "203.0.113.9" << true;
        QTest::newRow("listed") << "10.0.0.1, 10.0.0.2" << "10.0.0.2" << true;
        QTest::newRow("not listed") << "10.0.0.1,10.0.0.2" << "10.0.0.3" << false;
        QTest::newRow("mapped peer, IPv4 entry") << "10.0.0.1" << "::ffff:10.0.0.1" << true;
        QTest::newRow("IPv4 peer, mapped entry") << "::ffff:10.0.0.1" << "10.0.0.1" << true;
        QTest::newRow("loopback v6 is not v4") << "127.0.0.1" << "::1" << false;
        QTest::newRow("IPv6 spellings") << "0:0:0:0:0:0:0:1" << "::1" << true;
        QTest::newRow("bad entry matches nobody") << "10.0.0.l" << "10.0.0.1" << false;
        QTest::newRow("bad entry beside a good one") << "junk,10.0.0.1" << "10.0.0.1" << true;
        QTest::newRow("no peer address") << "10.0.0.1" << "" << false;
    }
    void allowList()
    {
        QFETCH(QString, allow);
        QFETCH(QString, peer);
        const AccessRules r = AccessRules::fromSettings({}, allow, {});
        QTEST(r.allows(peer), "allowed");
    }

    void fromSettings()
    {
        const AccessRules r = AccessRules::fromSettings("pw", " 10.0.0.1 ,,::1 ", " 127.0.0.1 ");
        QVERIFY(r.locked());
        QCOMPARE(r.allow, (QStringList {"10.0.0.1", "::1"}));
        QCOMPARE(r.bind, QStringLiteral("127.0.0.1"));
        QVERIFY(!AccessRules::fromSettings({}, {}, {}).locked());
    }

    void guardRemembersBoundedly()
    {
        LoginGuard guard;
        for (int i = 0; i < LoginGuard::kMaxFailures; ++i)
            guard.failed(QStringLiteral("10.0.0.7"), 0);
        // Many other sources each guessing once cannot push the refused one out.
        for (int i = 0; i < LoginGuard::kMaxAddresses + 100; ++i)
            guard.failed(QStringLiteral("10.1.%1.%2").arg(i / 256).arg(i % 256), 1);
        QCOMPARE(guard.size(), LoginGuard::kMaxAddresses);
        QVERIFY(guard.refused(QStringLiteral("10.0.0.7"), 2));
    }

    // A login is recent for a day, whatever the spelling of its address; the oldest makes room.
    void recentLogins()
    {
        LoginGuard guard;
        guard.loggedIn(QStringLiteral("::ffff:10.0.0.7"), 0);
        QVERIFY(guard.recent(QStringLiteral("10.0.0.7"), LoginGuard::kRecentMs - 1));
        QVERIFY(!guard.recent(QStringLiteral("10.0.0.8"), 0));
        QVERIFY(!guard.anyRecent(LoginGuard::kRecentMs));
        for (int i = 0; i <= LoginGuard::kMaxRecent; ++i)
            guard.loggedIn(QStringLiteral("10.1.0.%1").arg(i), 1 + i);
        QVERIFY(!guard.recent(QStringLiteral("10.1.0.0"), 100));
        QVERIFY(guard.recent(QStringLiteral("10.1.0.1"), 100));
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestAccessRules)

} // namespace
} // namespace tst_accessrules

#include "tst_accessrules.moc"
