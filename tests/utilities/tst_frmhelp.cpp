#include "TestSuite.h"
#include "utilities/ui/FrmHelp.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace tst_frmhelp {
namespace {

using vexlor::utilities::FrmHelp;

class TestFrmHelp : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void loadThenClose()
    {
        FrmHelp help;
        QCOMPARE(help.objectName(), QStringLiteral("frmHelp"));
        help.show();
        help.Load(QStringLiteral("Memory Help"), QStringLiteral("First line\r\nSecond line"));
        QVERIFY(!help.isVisible());
        QCOMPARE(help.windowTitle(), QStringLiteral("Memory Help"));
        auto* text = help.findChild<QPlainTextEdit*>(QStringLiteral("txtHelp"));
        QVERIFY(text);
        QVERIFY(text->isReadOnly());
        QCOMPARE(text->toPlainText(), QStringLiteral("First line\nSecond line"));

        help.show();
        auto* close = help.findChild<QPushButton*>(QStringLiteral("bnClose"));
        QVERIFY(close);
        QTest::mouseClick(close, Qt::LeftButton);
        QVERIFY(!help.isVisible());
    }
};

VEXLOR_TEST_MAIN(TestFrmHelp)

} // namespace
} // namespace tst_frmhelp

#include "tst_frmhelp.moc"
