#include "FakeDialogs.h"
#include "FakeShell.h"
#include "TestSuite.h"
#include "utilities/Links.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace tst_links {
namespace {

using namespace vexlor;
using Link = utilities::Links::Link;

// What each link opens, and what the operator is told when it cannot.
class TestLinks : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void targets_data()
    {
        QTest::addColumn<int>("link");
        QTest::addColumn<QString>("configured");
        QTest::addColumn<QString>("opened"); // empty: nothing opened
        QTest::addColumn<QString>("told");   // part of the message, when nothing opened
        QTest::newRow("web site set") << int(Link::WebSite) << " https://example.org/vexlor " << "https://example.org/vexlor" << "";
        QTest::newRow("web site unset opens the documentation") << int(Link::WebSite) << "" << "README.md" << "";
        QTest::newRow("web site not a web address") << int(Link::WebSite) << "file:///etc/passwd" << ""
                                                    << "[WebSite] in qorvanix.ini is not a web address";
        QTest::newRow("mail set") << int(Link::Mail) << "me@example.org" << "mailto:me@example.org" << "";
        QTest::newRow("mail given as mailto") << int(Link::ListPost) << "mailto:list@example.org"
                                              << "mailto:list@example.org" << "";
        QTest::newRow("about mail names the program") << int(Link::AboutMail) << "me@example.org"
                                                      << "mailto:me@example.org?subject=About Vexlor" << "";
        QTest::newRow("mail unset") << int(Link::ListSubscribe) << "" << "" << "Set [MailingListSubscribe]";
        QTest::newRow("mail smuggling a header") << int(Link::Mail) << "me@example.org?body=hi" << ""
                                                 << "is not a mail address";
        QTest::newRow("two addresses") << int(Link::ListUnsubscribe) << "a@b.org,c@d.org" << "" << "is not a mail address";
    }
    void targets()
    {
        QFETCH(int, link);
        QFETCH(QString, configured);
        QFETCH(QString, opened);
        QFETCH(QString, told);
        QTemporaryDir dir;
        const QString readme = dir.filePath(QStringLiteral("README.md"));
        QFile f(readme);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        fakes::FakeShell shell;
        fakes::FakeDialogs dialogs;
        // Every key holds the same value, so each row shows that its link reads a key at all.
        utilities::Links links(shell, dialogs, [&] {
            return utilities::LinkTargets {configured, configured, configured, configured,
                                           configured, configured, configured};
        }, readme);
        links.open(Link(link));
        if (opened.isEmpty()) {
            QVERIFY(shell.urls.isEmpty());
            QCOMPARE(dialogs.messages.size(), 1);
            QVERIFY2(dialogs.messages[0].text.contains(told), qPrintable(dialogs.messages[0].text));
        } else {
            QCOMPARE(shell.urls.size(), 1);
            QVERIFY(dialogs.messages.isEmpty());
            if (opened.endsWith(QLatin1String("README.md")))
                QCOMPARE(QUrl(shell.urls[0]).toLocalFile(), QFileInfo(readme).absoluteFilePath());
            else
                QCOMPARE(shell.urls[0], opened);
        }
    }

    // Without the documentation there is nothing true to open.
    void noDocumentation()
    {
        fakes::FakeShell shell;
        fakes::FakeDialogs dialogs;
        utilities::Links links(shell, dialogs, [] { return utilities::LinkTargets {}; }, QStringLiteral("/nonexistent/README.md"));
        links.open(Link::ScannerPage);
        QVERIFY(shell.urls.isEmpty());
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY(dialogs.messages[0].text.contains(QLatin1String("Set [ScannerPage]")));
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestLinks)

} // namespace
} // namespace tst_links

#include "tst_links.moc"
