#include "app/OwnFiles.h"

#include "app/BuiltInSimulator.h"
#include "app/DataFolderLock.h"
#include "app/config/IniFile.h"
#include "memory/LocalStores.h"
#include "platform/SafeWrite.h"
#include "recording/ActivityLog.h"
#include "utilities/TalkgroupConverter.h"

#include <QFileInfo>

namespace vexlor::app {

QStringList ownFiles(const IniFile& ini, const memory::LocalStores& stores)
{
    QStringList files = stores.files();
    files << ini.IniFileName() << DataFolderLock::kFileName << utilities::TalkgroupConverter::kAfsFile
          << kSimulatorMemoriesFile;
    // An automatic name is made at the window's start, which then keeps it in the configuration.
    if (!recording::ActivityLog::isAutomaticName(ini.LogFileNameVal()))
        files << ini.LogFileNameVal() + QStringLiteral(".log");
    for (QString& f : files)
        f = QFileInfo(f).absoluteFilePath();
    return files;
}

QString destinationProblem(const QString& path, const QStringList& own)
{
    const QString folder = platform::safewrite::folderProblem(path);
    return folder.isEmpty() ? platform::safewrite::refusal(path, own) : folder;
}

} // namespace vexlor::app
