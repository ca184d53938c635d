#include "platform/qt/QtDialogs.h"
#include "TestSuite.h"

#include <QApplication>
#include <QFileDialog>
#include <QTest>
#include <QTimer>

namespace tst_qtdialogs {
namespace {

using vexlor::platform::QtDialogs;

class TestQtDialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A file to be written gets a save dialog, which asks before replacing a file.
    void fileDialogMode_data()
    {
        QTest::addColumn<bool>("newName");
        QTest::addColumn<int>("mode");
        QTest::newRow("existing file") << false << int(QFileDialog::AcceptOpen);
        QTest::newRow("new name") << true << int(QFileDialog::AcceptSave);
    }
    void fileDialogMode()
    {
        QFETCH(bool, newName);
        int seen = -1;
        QTimer::singleShot(0, this, [&seen] {
            if (auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                seen = int(d->acceptMode());
                d->reject();
            }
        });
        QtDialogs dialogs;
        const auto chosen = dialogs.openFile({QStringLiteral("Export"), QStringLiteral("CSV Files (*.csv)|*.csv"), 1, newName});
        QVERIFY(!chosen);
        QTEST(seen, "mode");
    }
};

VEXLOR_TEST_MAIN(TestQtDialogs)

} // namespace
} // namespace tst_qtdialogs

#include "tst_qtdialogs.moc"
