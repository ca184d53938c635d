#include "TestSuite.h"
#include "web/HttpRequestReader.h"
#include "web/WebAccess.h"

#include <QTest>

namespace tst_webaccess {
namespace {

using namespace vexlor;
using web::WebAccess;
using Verdict = WebAccess::Verdict;

const QString kHere = QStringLiteral("127.0.0.1");
const QString kPhone = QStringLiteral("192.168.1.20");

class TestWebAccess : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Each step: "watch", "control", "login:PHRASE", "logout" or "wait:MS", with the verdict it gets.
    void rules_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("allow");
        QTest::addColumn<bool>("watchFree");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QList<Verdict>>("verdicts");
        QTest::newRow("no pass phrase: this computer controls") << "" << "" << false << kHere << QStringList {"watch", "control"}
                                                              << QList<Verdict> {Verdict::Allowed, Verdict::Allowed};
        QTest::newRow("pass phrase: nothing before the login, all after")
            << "s3cret" << "" << false << kPhone << QStringList {"watch", "control", "login:s3cret", "watch", "control"}
            << QList<Verdict> {Verdict::LoginNeeded, Verdict::LoginNeeded, Verdict::Allowed, Verdict::Allowed, Verdict::Allowed};
        QTest::newRow("watching without a login, control with one")
            << "s3cret" << "" << true << kPhone << QStringList {"watch", "control"} << QList<Verdict> {Verdict::Allowed, Verdict::LoginNeeded};
        QTest::newRow("wrong pass phrase") << "s3cret" << "" << false << kPhone << QStringList {"login:guess", "control"}
                                           << QList<Verdict> {Verdict::WrongPassword, Verdict::LoginNeeded};
        QTest::newRow("five guesses shut the address out, the right phrase too")
            << "s3cret" << "" << true << kPhone
            << QStringList {"login:a", "login:b", "login:c", "login:d", "login:e", "login:s3cret", "watch"}
            << QList<Verdict> {Verdict::WrongPassword, Verdict::WrongPassword, Verdict::WrongPassword, Verdict::WrongPassword,
                               Verdict::WrongPassword, Verdict::Guessing, Verdict::Guessing};
        QTest::newRow("not on the allow list") << "s3cret" << "10.0.0.5" << true << kPhone << QStringList {"watch", "login:s3cret"}
                                               << QList<Verdict> {Verdict::NotAllowed, Verdict::NotAllowed};
        QTest::newRow("a session ends after twelve hours, or at logout")
            << "s3cret" << "" << false << kPhone
            << QStringList {"login:s3cret", "wait:43199000", "control", "wait:2000", "control", "login:s3cret", "logout", "control"}
            << QList<Verdict> {Verdict::Allowed, Verdict::Allowed, Verdict::Allowed, Verdict::Allowed, Verdict::LoginNeeded,
                               Verdict::Allowed, Verdict::Allowed, Verdict::LoginNeeded};
    }
    void rules()
    {
        QFETCH(QString, password);
        QFETCH(QString, allow);
        QFETCH(bool, watchFree);
        QFETCH(QString, from);
        QFETCH(QStringList, steps);
        QFETCH(QList<Verdict>, verdicts);
        WebAccess access(remote::AccessRules::fromSettings(password, allow, QString()), watchFree);
        QCOMPARE(access.listenAddress(QStringLiteral("0.0.0.0")), password.isEmpty() ? kHere : QStringLiteral("0.0.0.0"));
        qint64 now = 1000;
        QByteArray token;
        for (qsizetype i = 0; i < steps.size(); ++i) {
            const QString& s = steps[i];
            Verdict v = Verdict::Allowed;
            if (s == QLatin1String("watch")) {
                v = access.watch(from, token, now);
            } else if (s == QLatin1String("control")) {
                v = access.control(from, token, now);
            } else if (s.startsWith(QLatin1String("login:"))) {
                const QByteArray given = access.login(from, s.mid(6).toUtf8(), now, &v);
                token = given.isEmpty() ? token : given;
            } else if (s == QLatin1String("logout")) {
                access.logout(token);
            } else {
                now += s.mid(5).toLongLong();
            }
            QVERIFY2(v == verdicts[i], qPrintable(QStringLiteral("step %1: %2").arg(i).arg(s)));
        }
    }

    void origin_data()
    {
        QTest::addColumn<QByteArray>("headers");
        QTest::addColumn<bool>("secure");
        QTest::addColumn<bool>("same");
        QTest::newRow("the page's own") << QByteArray("Host: scanner:8080\r\nOrigin: http://scanner:8080") << false << true;
        QTest::newRow("another site") << QByteArray("Host: scanner:8080\r\nOrigin: http://evil.example") << false << false;
        QTest::newRow("http page, https expected") << QByteArray("Host: scanner:8443\r\nOrigin: http://scanner:8443") << true << false;
        QTest::newRow("no Origin") << QByteArray("Host: scanner:8080") << false << false;
    }
    void origin()
    {
        QFETCH(QByteArray, headers);
        QFETCH(bool, secure);
        web::HttpRequestReader reader;
        QCOMPARE(reader.feed("GET /ws HTTP/1.1\r\n" + headers + "\r\n\r\n"), web::HttpRequestReader::Outcome::Ready);
        QTEST(WebAccess::sameOrigin(reader.request(), secure), "same");
    }

    void cookie()
    {
        QCOMPARE(WebAccess::cookieHeader("ab12", true), QByteArray("vexlor_session=ab12; Path=/; HttpOnly; SameSite=Strict; Secure"));
        QCOMPARE(WebAccess::cookieHeader({}, false), QByteArray("vexlor_session=; Path=/; HttpOnly; SameSite=Strict; Max-Age=0"));
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestWebAccess)

} // namespace
} // namespace tst_webaccess

#include "tst_webaccess.moc"
