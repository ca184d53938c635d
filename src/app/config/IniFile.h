#pragma once

#include "utilities/LinkTargets.h"

#include <QByteArray>
#include <QString>

namespace vexlor::app {

// The persistent settings and the qorvanix.ini file that holds them.
// A plain value type: copy it to try a change without touching the original.
class IniFile {
public:
    IniFile();

    // The file, by default a bare name in the current working directory.
    QString IniFileName() const { return m_iniFileName; }
    void setIniFileName(const QString& name) { m_iniFileName = name; }

    QString UserName() const { return m_userName; }
    void setUserName(const QString& v) { m_userName = v; }
    // A port number ("1") or a device path ("/dev/ttyUSB0").
    QString ComPort() const { return m_comPort; }
    void setComPort(const QString& v) { m_comPort = v; }
    QString ComSettings() const { return m_comSettings; }
    void setComSettings(const QString& v) { m_comSettings = v; }
    QString LogFileNameVal() const { return m_logFileNameVal; }
    void setLogFileNameVal(const QString& v) { m_logFileNameVal = v; }
    QString LogWhat() const { return m_logWhat; }
    void setLogWhat(const QString& v) { m_logWhat = v; }
    QString AutoListenTCP() const { return m_autoListenTCP; }
    void setAutoListenTCP(const QString& v) { m_autoListenTCP = v; }
    QString SerialPortTimeout() const { return m_serialPortTimeout; }
    void setSerialPortTimeout(const QString& v) { m_serialPortTimeout = v; }
    // The remote link's lock; all three empty keep it open to anyone.
    QString RemotePassword() const { return m_remotePassword; }
    void setRemotePassword(const QString& v) { m_remotePassword = v; }
    // Comma-separated client addresses; empty means any.
    QString RemoteAllow() const { return m_remoteAllow; }
    void setRemoteAllow(const QString& v) { m_remoteAllow = v; }
    // The address to listen on; empty means every interface.
    QString RemoteBind() const { return m_remoteBind; }
    void setRemoteBind(const QString& v) { m_remoteBind = v; }

    // The web remote: "1" on; where it listens ([ADDRESS:]PORT); "1" to let anyone who
    // reaches it watch without the pass phrase.
    QString WebRemote() const { return m_webRemote; }
    void setWebRemote(const QString& v) { m_webRemote = v; }
    QString WebListen() const { return m_webListen; }
    void setWebListen(const QString& v) { m_webListen = v; }
    QString WebWatchFree() const { return m_webWatchFree; }
    void setWebWatchFree(const QString& v) { m_webWatchFree = v; }
    // PEM files for TLS; both empty serve plain HTTP.
    QString WebCertificate() const { return m_webCertificate; }
    void setWebCertificate(const QString& v) { m_webCertificate = v; }
    QString WebKey() const { return m_webKey; }
    void setWebKey(const QString& v) { m_webKey = v; }

    // Recordings: "1" on; the sound input's id; "flac" or "opus"; what to record ("0" everything,
    // "1" the marked only, "2" all but the locked-out); the marked channels and talkgroups;
    // the minimum and hang times in ms; the disk limit in GB and in days.
    QString Recording() const { return m_recording; }
    void setRecording(const QString& v) { m_recording = v; }
    QString RecordingInput() const { return m_recordingInput; }
    void setRecordingInput(const QString& v) { m_recordingInput = v; }
    QString RecordingFormat() const { return m_recordingFormat; }
    void setRecordingFormat(const QString& v) { m_recordingFormat = v; }
    QString RecordingWhat() const { return m_recordingWhat; }
    void setRecordingWhat(const QString& v) { m_recordingWhat = v; }
    QString RecordingMarked() const { return m_recordingMarked; }
    void setRecordingMarked(const QString& v) { m_recordingMarked = v; }
    QString RecordingMinimumMs() const { return m_recordingMinimumMs; }
    void setRecordingMinimumMs(const QString& v) { m_recordingMinimumMs = v; }
    QString RecordingHangMs() const { return m_recordingHangMs; }
    void setRecordingHangMs(const QString& v) { m_recordingHangMs = v; }
    QString RecordingLimitGB() const { return m_recordingLimitGB; }
    void setRecordingLimitGB(const QString& v) { m_recordingLimitGB = v; }
    QString RecordingLimitDays() const { return m_recordingLimitDays; }
    void setRecordingLimitDays(const QString& v) { m_recordingLimitDays = v; }

    // Where the windows were: "Name:x,y,w,h" entries joined by ";".
    QString WindowPlaces() const { return m_windowPlaces; }
    void setWindowPlaces(const QString& v) { m_windowPlaces = v; }

    // Where the Help menu's links and the about window's labels lead. Empty: not
    // configured (web items then open the shipped documentation, mail items say so).
    using Links = utilities::LinkTargets;
    Links links() const;
    void setLinks(const Links& links);

    // False when the file cannot be opened; bad lines are skipped.
    bool LoadINI();
    // Replaces the file atomically: on failure the previous file stays as it
    // was and lastError() tells why. Callers that report nothing may ignore it.
    bool SaveINI();
    QString lastError() const { return m_lastError; }

    // The exact bytes SaveINI writes.
    QByteArray contents() const;

    // A numeric value as LoadINI stores it back: " 5", "-2".
    static QString numberText(double value);

private:
    struct Key;
    static const Key kKeys[];
    void readLine(const QString& line);

    QString m_iniFileName;
    QString m_userName;
    QString m_comPort;
    QString m_comSettings;
    QString m_logFileNameVal;
    QString m_logWhat;
    QString m_autoListenTCP;
    QString m_serialPortTimeout;
    QString m_remotePassword;
    QString m_remoteAllow;
    QString m_remoteBind;
    QString m_webSite;
    QString m_mailAddress;
    QString m_listPage;
    QString m_listPost;
    QString m_listSubscribe;
    QString m_listUnsubscribe;
    QString m_scannerPage;
    QString m_windowPlaces;
    QString m_webRemote;
    QString m_webListen;
    QString m_webWatchFree;
    QString m_webCertificate;
    QString m_webKey;
    QString m_recording;
    QString m_recordingInput;
    QString m_recordingFormat;
    QString m_recordingWhat;
    QString m_recordingMarked;
    QString m_recordingMinimumMs;
    QString m_recordingHangMs;
    QString m_recordingLimitGB;
    QString m_recordingLimitDays;
    QString m_lastError;
};

} // namespace vexlor::app
