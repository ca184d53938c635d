#include "TestSuite.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace tst_layering {
namespace {

// Project includes must point down the layers: a subsystem (and its windows)
// reaches only its own folder and the subsystems below it; app reaches all.
class TestLayering : public QObject {
    Q_OBJECT

    static int rank(const QString& subsystem)
    {
        static const QHash<QString, int> ranks {
            {"platform", 0}, {"link", 1},     {"memory", 2},    {"recording", 2}, {"monitor", 3},
            {"controls", 4}, {"remote", 4},   {"printing", 4},  {"utilities", 4}, {"simulator", 4},
            {"web", 5},       {"app", 9},
        };
        return ranks.value(subsystem, -1);
    }

private Q_SLOTS:
    void includesPointDown()
    {
        const QString root = QStringLiteral(VEXLOR_SOURCE_DIR);
        static const QRegularExpression include(QStringLiteral("^#include \"([a-z]+)/"),
                                                QRegularExpression::MultilineOption);
        QStringList wrong;
        int files = 0;
        QDirIterator it(root, {"*.h", "*.cpp"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString own = QDir(root).relativeFilePath(path).section(QLatin1Char('/'), 0, 0);
            QVERIFY2(rank(own) >= 0, qPrintable(path));
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadOnly));
            ++files;
            auto m = include.globalMatch(QString::fromUtf8(f.readAll()));
            while (m.hasNext()) {
                const QString used = m.next().captured(1);
                if (used != own && rank(used) >= rank(own))
                    wrong << QDir(root).relativeFilePath(path) + QStringLiteral(" -> ") + used;
            }
        }
        QVERIFY(files > 100);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QLatin1Char('\n'))));
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestLayering)

} // namespace
} // namespace tst_layering

#include "tst_layering.moc"
