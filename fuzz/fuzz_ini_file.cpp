// Any bytes as the configuration file; what was read must save and read back the same.
#include "FuzzSupport.h"

#include "app/config/IniFile.h"

#include <QFile>

using namespace vexlor;
using app::IniFile;

namespace {

QString g_path;

IniFile loaded(const QByteArray& bytes)
{
    QFile file(g_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fuzz::violated("the input file could not be written");
    file.close();
    IniFile ini;
    ini.setIniFileName(g_path);
    VEXLOR_FUZZ_CHECK(ini.LoadINI());
    return ini;
}

// Every setting, numbers without the blank a load puts before them.
QStringList settings(const IniFile& ini)
{
    const IniFile::Links l = ini.links();
    return {ini.UserName(), ini.ComPort(), ini.ComSettings(), ini.LogFileNameVal(), ini.LogWhat(),
            ini.AutoListenTCP().trimmed(), ini.SerialPortTimeout().trimmed(), ini.RemotePassword(),
            ini.RemoteAllow(), ini.RemoteBind(), l.webSite, l.mailAddress, l.listPage, l.listPost,
            l.listSubscribe, l.listUnsubscribe, l.scannerPage};
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const QTemporaryDir& dir = fuzz::scratchDir();
    g_path = dir.filePath(QStringLiteral("fuzz.ini"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const IniFile first = loaded(fuzz::bytesOf(data, size));
    const QByteArray saved = first.contents();
    const IniFile second = loaded(saved);
    // No setting is lost or changed by saving it, and a saved file reads back to itself.
    VEXLOR_FUZZ_CHECK(settings(second) == settings(first));
    VEXLOR_FUZZ_CHECK(loaded(second.contents()).contents() == second.contents());
    return 0;
}
