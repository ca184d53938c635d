#include "app/config/IniFile.h"

#include "link/Wire.h"
#include "platform/SafeWrite.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringList>

#include <cmath>
#include <optional>

namespace vexlor::app {

// Whole: Vexlor's own keys. Everything after the first "=", since a pass phrase
// may hold one, in UTF-8; the original keys are single-byte text.
// Outside the unnamed namespace: IniFile::Key, which has linkage, holds one.
enum class KeyKind { Text, Number, Whole };

namespace {

// Written by older releases: known, but their values are dropped.
const char* const kDiscardedKeys[] = {"[WindowWidth]", "[WindowHeight]"};

QString trimBlanks(const QString& s)
{
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && s[b] == QLatin1Char(' '))
        ++b;
    while (e > b && s[e - 1] == QLatin1Char(' '))
        --e;
    return s.mid(b, e - b);
}

// A file from an older release holds its own keys as single-byte text, which is
// seldom valid UTF-8: such a value reads as it always did.
QString ownKeyText(const QString& singleByte)
{
    const QByteArray bytes = singleByte.toLatin1();
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    return utf8.hasError() ? singleByte : text;
}

const char* const kHeader[] = {
    "[! Vexlor Ini file ]",
    "[! Interface created to remote control your Bc245xlt    ]",
    "[! Don't modify this file or do it at your own risk :)  ]",
    "[! Made by the Vexlor developers                        ]",
    "[! Questions and news: the Vexlor mailing list          ]",
    "",
};

} // namespace

// One row per key, in the order the file is written; new keys go at the end.
struct IniFile::Key {
    const char* name;
    QString IniFile::*field;
    KeyKind kind;
};

const IniFile::Key IniFile::kKeys[] = {
    {"[UserName]", &IniFile::m_userName, KeyKind::Text},
    {"[comm port]", &IniFile::m_comPort, KeyKind::Text},
    {"[comm speed]", &IniFile::m_comSettings, KeyKind::Text},
    {"[Logging File]", &IniFile::m_logFileNameVal, KeyKind::Text},
    {"[Log What]", &IniFile::m_logWhat, KeyKind::Text},
    {"[AutoListenTCP]", &IniFile::m_autoListenTCP, KeyKind::Number},
    {"[SerialPortTimeout]", &IniFile::m_serialPortTimeout, KeyKind::Number},
    {"[RemotePassword]", &IniFile::m_remotePassword, KeyKind::Whole},
    {"[RemoteAllow]", &IniFile::m_remoteAllow, KeyKind::Whole},
    {"[RemoteBind]", &IniFile::m_remoteBind, KeyKind::Whole},
    {"[WebSite]", &IniFile::m_webSite, KeyKind::Whole},
    {"[MailAddress]", &IniFile::m_mailAddress, KeyKind::Whole},
    {"[MailingListPage]", &IniFile::m_listPage, KeyKind::Whole},
    {"[MailingListPost]", &IniFile::m_listPost, KeyKind::Whole},
    {"[MailingListSubscribe]", &IniFile::m_listSubscribe, KeyKind::Whole},
    {"[MailingListUnsubscribe]", &IniFile::m_listUnsubscribe, KeyKind::Whole},
    {"[ScannerPage]", &IniFile::m_scannerPage, KeyKind::Whole},
    {"[WindowPlaces]", &IniFile::m_windowPlaces, KeyKind::Whole},
    {"[WebRemote]", &IniFile::m_webRemote, KeyKind::Whole},
    {"[WebListen]", &IniFile::m_webListen, KeyKind::Whole},
    {"[WebWatchFree]", &IniFile::m_webWatchFree, KeyKind::Whole},
    {"[WebCertificate]", &IniFile::m_webCertificate, KeyKind::Whole},
    {"[WebKey]", &IniFile::m_webKey, KeyKind::Whole},
    {"[Recording]", &IniFile::m_recording, KeyKind::Whole},
    {"[RecordingInput]", &IniFile::m_recordingInput, KeyKind::Whole},
    {"[RecordingFormat]", &IniFile::m_recordingFormat, KeyKind::Whole},
    {"[RecordingWhat]", &IniFile::m_recordingWhat, KeyKind::Whole},
    {"[RecordingMarked]", &IniFile::m_recordingMarked, KeyKind::Whole},
    {"[RecordingMinimumMs]", &IniFile::m_recordingMinimumMs, KeyKind::Whole},
    {"[RecordingHangMs]", &IniFile::m_recordingHangMs, KeyKind::Whole},
    {"[RecordingLimitGB]", &IniFile::m_recordingLimitGB, KeyKind::Whole},
    {"[RecordingLimitDays]", &IniFile::m_recordingLimitDays, KeyKind::Whole},
};

IniFile::IniFile()
    : m_iniFileName(QStringLiteral("qorvanix.ini"))
    , m_comPort(QStringLiteral("1"))
    , m_comSettings(QStringLiteral("9600,n,8,1"))
    , m_autoListenTCP(QStringLiteral("0"))
    , m_serialPortTimeout(QStringLiteral("3"))
{
}

IniFile::Links IniFile::links() const
{
    return {m_webSite, m_mailAddress, m_listPage, m_listPost, m_listSubscribe, m_listUnsubscribe, m_scannerPage};
}

void IniFile::setLinks(const Links& l)
{
    m_webSite = l.webSite;
    m_mailAddress = l.mailAddress;
    m_listPage = l.listPage;
    m_listPost = l.listPost;
    m_listSubscribe = l.listSubscribe;
    m_listUnsubscribe = l.listUnsubscribe;
    m_scannerPage = l.scannerPage;
}

QString IniFile::numberText(double value)
{
    QString digits = QString::number(value, 'g', 15);
    // The reader takes no exponent: "1e+20" would load back as 1.
    if (digits.contains(QLatin1Char('e'))) {
        const double magnitude = std::abs(value);
        if (magnitude >= 1) {
            digits = QString::number(value, 'f', 0);
        } else if (magnitude < 1e-15) {
            value = 0;
            digits = QStringLiteral("0");
        } else {
            digits = QString::number(value, 'f', 14 - int(std::floor(std::log10(magnitude))));
            while (digits.endsWith(QLatin1Char('0')))
                digits.chop(1);
        }
    }
    return value >= 0 ? QLatin1Char(' ') + digits : digits;
}

void IniFile::readLine(const QString& line)
{
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals < 0)
        return;
    const QString name = line.left(equals);
    for (const char* discarded : kDiscardedKeys) {
        if (name == QLatin1String(discarded))
            return;
    }
    for (const Key& key : kKeys) {
        if (name != QLatin1String(key.name))
            continue;
        // The original lines hold exactly one "=": a line with more is not one of them.
        const QString rest = line.mid(equals + 1);
        if (key.kind != KeyKind::Whole && rest.contains(QLatin1Char('=')))
            return;
        const QString value = trimBlanks(rest);
        if (key.kind == KeyKind::Number)
            this->*key.field = numberText(link::wire::leadingNumber(value));
        else if (key.kind == KeyKind::Whole)
            this->*key.field = ownKeyText(value);
        else
            this->*key.field = value;
        return;
    }
}

bool IniFile::LoadINI()
{
    QFile file(m_iniFileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // Line by line, so an oversized file costs no more than its longest line.
    while (!file.atEnd()) {
        QByteArray chunk = file.readLine();
        if (chunk.isEmpty() && file.error() != QFileDevice::NoError)
            break;
        if (chunk.endsWith('\n'))
            chunk.chop(1);
        // A lone CR also ends a line.
        for (const QByteArray& line : chunk.split('\r'))
            readLine(QString::fromLatin1(line));
    }
    return true;
}

QByteArray IniFile::contents() const
{
    QByteArray out;
    const QByteArray crlf("\r\n");
    for (const char* line : kHeader)
        out += QByteArray(line) + crlf;
    for (const Key& key : kKeys) {
        const QString& value = this->*key.field;
        out += QByteArray(key.name) + '=' + (key.kind == KeyKind::Whole ? value.toUtf8() : value.toLatin1()) + crlf;
    }
    return out;
}

bool IniFile::SaveINI()
{
    m_lastError.clear();
    // The remote password is a secret: the file is then for its owner only.
    const auto mode = m_remotePassword.isEmpty() ? std::nullopt : std::optional<unsigned>(0600);
    const auto w = platform::safewrite::replace(m_iniFileName, contents(), mode);
    if (!w.written)
        m_lastError = QStringLiteral("%1: %2").arg(m_iniFileName, w.reason);
    return w.written;
}

} // namespace vexlor::app
