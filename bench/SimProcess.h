#pragma once

// vexlor-sim from next to the benchmark, as a process of its own, so the
// benchmark's CPU time is the program's side alone.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

struct SimProcess {
    QTemporaryDir dir;
    QProcess sim;

    QString linkPath() const { return dir.filePath(QStringLiteral("ttyVexlor")); }

    // The empty text once the simulator serves its line, else why not.
    QString start(int baud, const QStringList& more = {})
    {
        const QString program = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("vexlor-sim"));
        sim.setProcessChannelMode(QProcess::SeparateChannels);
        sim.start(program, QStringList {QStringLiteral("--link"), linkPath(), QStringLiteral("--baud"), QString::number(baud),
                                        QStringLiteral("--no-activity"), QStringLiteral("--seed"), QStringLiteral("1")}
                               + more);
        // It prints the slave's name once the link is in place.
        if (!sim.waitForStarted(3000) || !sim.waitForReadyRead(3000) || !QFileInfo(linkPath()).isSymLink())
            return QStringLiteral("cannot start %1").arg(program);
        return {};
    }
    // Ends it and gives what it said on its way out.
    QString stop()
    {
        if (sim.state() == QProcess::NotRunning)
            return {};
        sim.terminate();
        if (!sim.waitForFinished(3000))
            sim.kill();
        return QString::fromLocal8Bit(sim.readAllStandardError());
    }
    ~SimProcess() { stop(); }
};
