#pragma once

// The real vexlor program, run as an operator or a script would run it.
#include <QProcess>
#include <QString>
#include <QStringList>

namespace vexlor::testing {

inline QString vexlorProgram() { return qEnvironmentVariable("VEXLOR_BIN_DIR") + QStringLiteral("/vexlor"); }

// Runs vexlor in cwd; its exit code, -1 when it did not end normally.
inline int runVexlor(const QString& cwd, const QStringList& args, QByteArray* err = nullptr,
                     const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(cwd);
    p.start(vexlorProgram(), args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return -1;
    if (err)
        *err = p.readAllStandardError();
    return p.exitCode();
}

} // namespace vexlor::testing
