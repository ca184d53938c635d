#include "TestSuite.h"
#include "utilities/TalkgroupConverter.h"
#include "utilities/ui/TGConvert.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

namespace tst_tgconvert {
namespace {

using vexlor::utilities::TalkgroupConverter;
using vexlor::utilities::TGConvert;

namespace {
struct Rig {
    QTemporaryDir dir;
    TalkgroupConverter converter {dir.filePath(QStringLiteral("tghex2afs.dat"))};
    TGConvert window {converter};

    Rig() { window.show(); }
    template <typename T> T* find(const char* name) { return window.findChild<T*>(QString::fromLatin1(name)); }
    QColor background(const char* name) { return find<QWidget>(name)->palette().color(QPalette::Base); }
};

// Clicks the indicator: a stretched radio button ignores clicks beside its text.
void clickOption(QRadioButton* b) { QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2)); }
} // namespace

class TestTGConvert : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void opensOnHex()
    {
        Rig rig;
        QCOMPARE(rig.window.objectName(), QStringLiteral("TGConvert"));
        QVERIFY(!rig.window.isModal());
        QVERIFY(rig.find<QRadioButton>("hexChk")->isChecked());
        QVERIFY(!rig.find<QRadioButton>("decChk")->isChecked());
        QVERIFY(rig.find<QPlainTextEdit>("decBox")->isReadOnly());
        QVERIFY(!rig.find<QPlainTextEdit>("hexBox")->isReadOnly());
    }

    void convert_data()
    {
        QTest::addColumn<bool>("dec");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("enter");
        QTest::addColumn<QString>("decBox");
        QTest::addColumn<QString>("hexBox");
        QTest::newRow("Dec, Convert button") << true << "283" << false << "283" << "11B";
        QTest::newRow("Dec, Enter") << true << "283" << true << "283" << "11B";
        QTest::newRow("Hex, Enter") << false << "11b" << true << "" << "11B";
    }
    void convert()
    {
        QFETCH(bool, dec);
        QFETCH(QString, typed);
        QFETCH(bool, enter);
        Rig rig;
        QVERIFY(TalkgroupConverter::ensureAfsFile(rig.converter.afsFile()));
        auto* decChk = rig.find<QRadioButton>("decChk");
        auto* decBox = rig.find<QPlainTextEdit>("decBox");
        auto* hexBox = rig.find<QPlainTextEdit>("hexBox");
        auto* afsBox = rig.find<QLineEdit>("AfsBox");
        auto* convertCmd = rig.find<QPushButton>("ConvertCmd");
        QVERIFY(decChk && decBox && hexBox && afsBox && convertCmd);

        if (dec) {
            clickOption(decChk);
            QVERIFY(decChk->isChecked());
            QVERIFY(!decBox->isReadOnly());
            QVERIFY(hexBox->isReadOnly());
            QVERIFY(rig.background("hexBox") != rig.background("decBox"));
        }
        QPlainTextEdit* box = dec ? decBox : hexBox;
        QTest::keyClicks(box, typed);
        if (enter)
            QTest::keyClick(box, Qt::Key_Return);
        else
            QTest::mouseClick(convertCmd, Qt::LeftButton);

        QTEST(decBox->toPlainText(), "decBox");
        QTEST(hexBox->toPlainText(), "hexBox");
        QCOMPARE(afsBox->text(), QStringLiteral("02-033"));
        // Typing on continues at the end, not before the converted text.
        QTest::keyClicks(box, QStringLiteral("0"));
        QVERIFY(box->toPlainText().endsWith(QLatin1Char('0')));
    }

    void refusalIsShown()
    {
        Rig rig;
        auto* note = rig.find<QLabel>("NoteLbl");
        QVERIFY(note && note->isHidden());
        clickOption(rig.find<QRadioButton>("decChk"));
        QTest::keyClicks(rig.find<QPlainTextEdit>("decBox"), QStringLiteral("-5"));
        QTest::keyClick(rig.find<QPlainTextEdit>("decBox"), Qt::Key_Return);
        QVERIFY(!note->isHidden());
        QVERIFY(note->text().startsWith(QStringLiteral("-5 is out of range")));
    }

    void okCloses()
    {
        Rig rig;
        QTest::mouseClick(rig.find<QPushButton>("OKCmd"), Qt::LeftButton);
        QVERIFY(!rig.window.isVisible());
    }
};

VEXLOR_TEST_MAIN(TestTGConvert)

} // namespace
} // namespace tst_tgconvert

#include "tst_tgconvert.moc"
