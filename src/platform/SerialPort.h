#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

namespace vexlor::platform {

// The receiver's serial line, as the logic sees it. Writes queue and return
// at once; data is read only when the logic asks for it.
class SerialPort : public QObject {
    Q_OBJECT
public:
    enum class LineEvent { CtsChanged, DsrChanged };

    // Capacity the poll compares the fill level with.
    static constexpr int kInBufferSize = 1024;

    using QObject::QObject;
    ~SerialPort() override = default;

    // A configured number N or a device path (see PortNames).
    virtual void setPortName(const QString& name) = 0;
    virtual QString portName() const = 0;
    // "9600,n,8,1"; false when the text cannot be parsed (the old settings stay).
    virtual bool setSettings(const QString& settings) = 0;
    virtual QString settings() const = 0;

    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // The system's reason for the last failure, such as "Permission denied".
    virtual QString errorString() const = 0;

    virtual void write(const QByteArray& bytes) = 0;
    virtual QByteArray readAll() = 0;
    virtual qint64 bytesAvailable() const = 0;
    // Bytes written but not yet taken by the line.
    virtual qint64 bytesToWrite() const = 0;
    virtual int inBufferSize() const { return kInBufferSize; }
    virtual void discardInput() = 0;
    virtual void discardOutput() = 0;

    virtual bool dsr() const = 0;
    virtual bool cts() const = 0;

Q_SIGNALS:
    void readyRead();
    void lineStateChanged(vexlor::platform::SerialPort::LineEvent event);
};

} // namespace vexlor::platform
