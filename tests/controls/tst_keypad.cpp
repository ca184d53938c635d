#include "controls/Keypad.h"
#include "controls/ui/Keypad.h"
#include "FakeClock.h"
#include "FakeSerialPort.h"
#include "link/KeyMap.h"
#include "link/ScannerLink.h"
#include "TestSuite.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace tst_keypad {
namespace {

using namespace vexlor;
using controls::Keypad;
using controls::KeypadSender;

namespace {
// The keypad window over a fake receiver port.
struct Rig {
    fakes::FakeClock clock;
    fakes::FakeSerialPort port;
    link::ScannerLink link {port, clock};
    KeypadSender sender {link};
    Keypad window {sender};

    Rig()
    {
        port.open();
        window.show();
    }
    QString written() const { return QString::fromLatin1(port.written); }
};
} // namespace

class TestKeypad : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void window()
    {
        Rig rig;
        QCOMPARE(rig.window.objectName(), QStringLiteral("keypad"));
        QCOMPARE(rig.window.windowTitle(), QStringLiteral("Virtual Keypad"));
        // Key number 2 is the digit key: there is no function button for it.
        QVERIFY(!rig.window.findChild<QPushButton*>("dkey_2"));
        QCOMPARE(rig.window.findChildren<QPushButton*>(QRegularExpression("^dkey_\\d+$")).size(), 14);
        QCOMPARE(rig.window.findChildren<QPushButton*>(QRegularExpression("^key_\\d$")).size(), 10);
    }

    void dkeyButton_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("line");
        QTest::newRow("0") << 0 << "&SCAN" << "KEY00\r";
        QTest::newRow("1") << 1 << "&MAN" << "KEY01\r";
        QTest::newRow("3") << 3 << "." << "KEY03\r";
        QTest::newRow("4") << 4 << "&E" << "KEY04\r";
        QTest::newRow("5") << 5 << "&PRI" << "KEY05\r";
        QTest::newRow("6") << 6 << "L/&O" << "KEY06\r";
        QTest::newRow("7") << 7 << "Lmt" << "KEY07\r";
        QTest::newRow("8") << 8 << "&Hld" << "KEY08\r";
        QTest::newRow("9") << 9 << "S&RCH" << "KEY09\r";
        QTest::newRow("10") << 10 << "S&VC" << "KEY10\r";
        QTest::newRow("11") << 11 << "D&AT" << "KEY11\r";
        QTest::newRow("12") << 12 << "&DLY" << "KEY12\r";
        QTest::newRow("13") << 13 << "&TRNK" << "KEY13\r";
        QTest::newRow("14") << 14 << "L&gt" << "KEY14\r";
    }
    void dkeyButton()
    {
        QFETCH(int, index);
        Rig rig;
        auto* b = rig.window.findChild<QPushButton*>(QStringLiteral("dkey_%1").arg(index));
        QVERIFY(b);
        QTEST(b->text(), "caption");
        QTest::mouseClick(b, Qt::LeftButton);
        QTEST(rig.written(), "line");
        QVERIFY(rig.window.isVisible());
    }

    void keyButton_data()
    {
        QTest::addColumn<int>("digit");
        for (int d = 0; d <= 9; ++d)
            QTest::addRow("%d", d) << d;
    }
    void keyButton()
    {
        QFETCH(int, digit);
        Rig rig;
        auto* b = rig.window.findChild<QPushButton*>(QStringLiteral("key_%1").arg(digit));
        QVERIFY(b);
        QCOMPARE(b->text(), QString::number(digit));
        QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(rig.written(), QStringLiteral("KEY02 %1\r").arg(digit));
    }

    void legends_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::newRow("above 1") << 1 << "1-30";
        QTest::newRow("above 2") << 2 << "31-60";
        QTest::newRow("above 5") << 5 << "121-150";
        QTest::newRow("above 9") << 9 << "241-270";
        QTest::newRow("above 0") << 0 << "271-300";
        QTest::newRow("above .") << 10 << "ATT";
        QTest::newRow("above E") << 11 << "---";
        QTest::newRow("beside PRI") << 12 << "Turbo";
    }
    void legends()
    {
        QFETCH(int, index);
        Rig rig;
        auto* l = rig.window.findChild<QLabel*>(QStringLiteral("Label1_%1").arg(index));
        QVERIFY(l);
        QTEST(l->text(), "text");
    }

    // Each typed character is tried on the window and on a focused button,
    // in lower and in upper case.
    void typed_data()
    {
        QTest::addColumn<char>("typed");
        QTest::addColumn<QString>("line");
        QTest::newRow("s") << 's' << "KEY00\r";
        QTest::newRow("m") << 'm' << "KEY01\r";
        QTest::newRow(".") << '.' << "KEY03\r";
        QTest::newRow("e") << 'e' << "KEY04\r";
        QTest::newRow("p") << 'p' << "KEY05\r";
        QTest::newRow("o") << 'o' << "KEY06\r";
        QTest::newRow("h is Lmt, not Hld") << 'h' << "KEY07\r";
        QTest::newRow("+") << '+' << "KEY07\r";
        QTest::newRow("-") << '-' << "KEY08\r";
        QTest::newRow("r") << 'r' << "KEY09\r";
        QTest::newRow("v") << 'v' << "KEY10\r";
        QTest::newRow("a") << 'a' << "KEY11\r";
        QTest::newRow("d") << 'd' << "KEY12\r";
        QTest::newRow("t") << 't' << "KEY13\r";
        QTest::newRow("g") << 'g' << "KEY14\r";
        for (char d = '0'; d <= '9'; ++d)
            QTest::addRow("%c", d) << d << QStringLiteral("KEY02 %1\r").arg(QChar::fromLatin1(d));
        // Not on the keypad.
        for (char c : {'b', 'c', 'f', 'i', 'j', 'k', 'l', 'n', 'q', 'u', 'w', 'x', 'y', 'z', '*', '/', ',', ' '})
            QTest::addRow("unmapped '%c'", c) << c << QString();
    }
    void typed()
    {
        QFETCH(char, typed);
        QFETCH(QString, line);
        const QChar upper = QChar::fromLatin1(typed).toUpper();
        for (const QChar c : {QChar::fromLatin1(typed), upper}) {
            Rig rig;
            QTest::keyClicks(&rig.window, QString(c));
            QCOMPARE(rig.written(), line);

            rig.port.clearWritten();
            auto* focused = rig.window.findChild<QPushButton*>("dkey_12");
            focused->setFocus();
            QTest::keyClicks(focused, QString(c));
            QCOMPARE(rig.written(), line);
            QVERIFY(rig.window.isVisible());
        }
    }

    void oneCommandPerCharacter()
    {
        Rig rig;
        QTest::keyClicks(&rig.window, QStringLiteral("sH5-"));
        QCOMPARE(rig.written(), QStringLiteral("KEY00\rKEY07\rKEY02 5\rKEY08\r"));
    }

    void escapeCloses_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("window") << "keypad";
        QTest::newRow("focused button") << "key_5";
    }
    void escapeCloses()
    {
        QFETCH(QString, target);
        Rig rig;
        QWidget* w = target == rig.window.objectName() ? &rig.window : rig.window.findChild<QWidget*>(target);
        QVERIFY(w);
        QTest::keyClick(w, Qt::Key_Escape);
        QVERIFY(!rig.window.isVisible());
        QVERIFY(rig.port.written.isEmpty());
    }

    // A closed port refuses the write; the window stays and nothing is queued for later.
    void closedPortIgnored()
    {
        Rig rig;
        rig.port.close();
        QTest::mouseClick(rig.window.findChild<QPushButton*>("dkey_0"), Qt::LeftButton);
        QTest::keyClicks(&rig.window, QStringLiteral("h5"));
        QVERIFY(rig.window.isVisible());
        rig.port.open();
        QTest::keyClicks(&rig.window, QStringLiteral("s"));
        QCOMPARE(rig.written(), QStringLiteral("KEY00\r"));
    }

    // Only plain ASCII maps; Latin-1 letters do not fold onto the keypad's letters.
    void nonAsciiIgnored()
    {
        for (const char16_t c : {u'\u00e9', u'\u00df', u'\u0131', u'\u00ff'})
            QVERIFY2(!link::keypadKeyFor(QChar(c)), qPrintable(QString(QChar(c))));
    }
};

VEXLOR_TEST_MAIN(TestKeypad)

} // namespace
} // namespace tst_keypad

#include "tst_keypad.moc"
