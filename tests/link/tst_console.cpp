#include "FakeClock.h"
#include "FakeSerialPort.h"
#include "link/Console.h"
#include "link/ScannerLink.h"
#include "TestSuite.h"

#include <QSignalSpy>
#include <QTest>

namespace tst_console {
namespace {

using namespace vexlor;

// The manual console: what goes on the line, what the Tx list and the box show.
class TestConsole : public QObject {
    Q_OBJECT
    fakes::FakeSerialPort m_port;
    fakes::FakeClock m_clock;
    std::unique_ptr<link::ScannerLink> m_link;
    std::unique_ptr<link::Console> m_console;

private Q_SLOTS:
    void init()
    {
        m_port.open();
        m_port.clearWritten();
        m_link = std::make_unique<link::ScannerLink>(m_port, m_clock);
        m_console = std::make_unique<link::Console>(*m_link);
    }

    // Each row types the box's successive texts, as a text box reports them.
    void enter_data()
    {
        QTest::addColumn<QStringList>("edits");
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<QStringList>("tx");
        QTest::addColumn<QString>("box");
        QTest::newRow("lower case, Enter") << QStringList {"m", "md", "md\n"} << QByteArray("MD\r")
                                           << QStringList {"MD"} << QString();
        QTest::newRow("blanks trimmed") << QStringList {"  pc a  \n"} << QByteArray("PC A\r") << QStringList {"PC A"}
                                        << QString();
        QTest::newRow("Enter mid-text sends the whole line")
            << QStringList {"wi", "w\ni"} << QByteArray("WI\r") << QStringList {"WI"} << QString();
        QTest::newRow("CR LF and paragraph separator count once")
            << QStringList {QString("sb\r\n"), QString("is") + QChar::ParagraphSeparator} << QByteArray("SB\rIS\r")
            << QStringList {"SB", "IS"} << QString();
        QTest::newRow("empty box, Enter") << QStringList {"\n"} << QByteArray() << QStringList {} << QString();
        QTest::newRow("blanks, Enter: break removed, blanks kept")
            << QStringList {"   \n"} << QByteArray() << QStringList {} << QString("   ");
        QTest::newRow("typing without Enter sends nothing")
            << QStringList {"k", "ke", "key"} << QByteArray() << QStringList {} << QString("key");
    }
    void enter()
    {
        QFETCH(QStringList, edits);
        QSignalSpy box(m_console.get(), &link::Console::boxChanged);
        for (const QString& text : edits) {
            const qsizetype before = box.size();
            m_console->CmdToBeSendBox_Change(text);
            // The box then reports what the console put back, which must not act again.
            if (box.size() > before)
                m_console->CmdToBeSendBox_Change(box.last().at(0).toString());
        }
        QTEST(m_port.written, "written");
        QTEST(m_console->TxData(), "tx");
        QTEST(m_console->CmdToBeSendBox(), "box");
    }

    void sendButton()
    {
        QSignalSpy focus(m_console.get(), &link::Console::boxFocusWanted);
        m_console->SndCmd_Click();
        QCOMPARE(m_port.written, QByteArray());
        QCOMPARE(focus.size(), 0);
        m_console->CmdToBeSendBox_Change(QStringLiteral(" mu "));
        m_console->SndCmd_Click();
        QCOMPARE(m_port.written, QByteArray("MU\r"));
        QCOMPARE(m_console->CmdToBeSendBox(), QString());
        QCOMPARE(focus.size(), 1);
        m_console->SndCmd_Click(); // the box is empty now
        QCOMPARE(m_port.written, QByteArray("MU\r"));
    }

    void doubleClickResends_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QByteArray>("again");
        QTest::newRow("first") << 0 << QByteArray("MD\r");
        QTest::newRow("second") << 1 << QByteArray("KEY02 5\r");
        QTest::newRow("no entry") << 2 << QByteArray();
        QTest::newRow("none selected") << -1 << QByteArray();
    }
    void doubleClickResends()
    {
        QFETCH(int, row);
        QFETCH(QByteArray, again);
        m_console->CmdToBeSendBox_Change(QStringLiteral("md\n"));
        m_console->CmdToBeSendBox_Change(QStringLiteral("key02 5\n"));
        m_port.clearWritten();
        QSignalSpy appended(m_console.get(), &link::Console::txAppended);
        m_console->TxData_DblClick(row);
        QCOMPARE(m_port.written, again);
        QCOMPARE(m_console->TxData().size(), again.isEmpty() ? 2 : 3);
        if (!again.isEmpty()) {
            QCOMPARE(m_console->TxData().last(), QString::fromLatin1(again.chopped(1)));
            QCOMPARE(appended.size(), 1);
        }
    }

    void clearEmptiesTheList()
    {
        m_console->CmdToBeSendBox_Change(QStringLiteral("md\n"));
        QSignalSpy cleared(m_console.get(), &link::Console::cleared);
        m_console->Clear_Click();
        QVERIFY(m_console->TxData().isEmpty());
        QCOMPARE(cleared.size(), 1);
        m_console->TxData_DblClick(0);
        QCOMPARE(m_port.written, QByteArray("MD\r"));
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestConsole)

} // namespace
} // namespace tst_console

#include "tst_console.moc"
