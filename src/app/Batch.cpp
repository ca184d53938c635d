#include "app/Batch.h"

#include "app/OwnFiles.h"
#include "app/SignalWatcher.h"
#include "link/Commands.h"
#include "link/Wire.h"
#include "memory/ImportUpload.h"
#include "memory/MemoryTables.h"
#include "memory/ReceiverBackup.h"
#include "memory/TaggedText.h"
#include "memory/TaggedTextFile.h"
#include "platform/SerialPort.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <unistd.h>

namespace vexlor::app {

namespace {

QString writeFailure(const QString& path, const memory::taggedfile::WriteResult& w)
{
    return QStringLiteral("cannot write %1: %2; any earlier file of that name is unchanged").arg(path, w.reason);
}

} // namespace

Batch::Batch(platform::SerialPort& port, platform::Clock& clock, const CommandLine& options, QObject* parent)
    : QObject(parent),
      m_port(port),
      m_options(options),
      m_tables(std::make_unique<memory::MemoryTables>()),
      m_link(port, clock)
{
    report = [](const QString& line) { std::fprintf(stderr, "vexlor: %s\n", qPrintable(line)); };
    showProgress = ::isatty(STDERR_FILENO) == 1;
}

Batch::~Batch()
{
    if (m_port.isOpen())
        m_port.close();
}

Batch::Status Batch::fail(const QString& why)
{
    report(why);
    return Failed;
}

void Batch::progress(const QString& what, int done, int total)
{
    if (!showProgress)
        return;
    std::fprintf(stderr, "\r%s: %d of %d", qPrintable(what), done, total);
    if (done >= total)
        std::fputc('\n', stderr);
    std::fflush(stderr);
}

void Batch::terminate()
{
    if (m_interrupted)
        m_giveUpLineWait = true;
    m_interrupted = true;
    m_link.shutDown();
}

bool Batch::interrupted() const { return m_interrupted || SignalWatcher::pending() != 0; }

Batch::Status Batch::run()
{
    // A missing configuration means the defaults, as in the window.
    m_ini.LoadINI();
    m_link.setSerialPortTimeout(link::wire::leadingNumber(m_ini.SerialPortTimeout()));
    // Before the stores are read or the receiver is touched.
    const QString destination = m_options.exportFile.isEmpty() ? m_options.backupFile : m_options.exportFile;
    const QString refused = destination.isEmpty() ? QString() : destinationProblem(destination, ownFiles(m_ini, m_stores));
    if (!refused.isEmpty())
        return fail(QStringLiteral("cannot write %1: %2").arg(destination, refused));
    // An export only reads: a missing store is reported, never made.
    if (!m_options.exportFile.isEmpty())
        m_stores.setReadOnly(true);
    m_stores.LoadStores(*m_tables);
    Status status = Usage;
    if (!m_options.exportFile.isEmpty())
        status = exportFile();
    else if (!m_options.importFile.isEmpty())
        status = importFile();
    else if (!m_options.backupFile.isEmpty())
        status = backup();
    return releaseReceiver(status);
}

Batch::Status Batch::releaseReceiver(Status status)
{
    const QStringList owed = m_link.owedCommands();
    if (owed.isEmpty())
        return status;
    report(QStringLiteral("the serial line is down: waiting up to %1 s for it to return, to release the scanner")
               .arg(m_options.lineWaitSeconds));
    // A second Ctrl+C gives up the wait.
    if (m_link.sendOwed(m_options.lineWaitSeconds * 1000, [this] { return m_giveUpLineWait; })) {
        report(QStringLiteral("the line returned and the scanner was released"));
        return status;
    }
    const bool programming = owed.contains(link::cmd::key(0));
    report(QStringLiteral("the scanner never got %1: it may still be quieted (muted, sending no reports of its own)%2. "
                          "Switch it off and on, or start Vexlor once the cable is back.")
               .arg(owed.join(QStringLiteral(", ")),
                    programming ? QStringLiteral(" and in programming") : QString()));
    return Failed;
}

bool Batch::openPort(const QString& consequence)
{
    m_port.setPortName(m_options.port.isEmpty() ? m_ini.ComPort() : m_options.port);
    m_port.setSettings(m_ini.ComSettings());
    if (m_port.open())
        return true;
    QString why = QStringLiteral("cannot open the serial port %1: %2").arg(m_port.portName(), m_port.errorString());
    if (m_port.errorString().contains(QLatin1String("Permission denied"), Qt::CaseInsensitive))
        why += QStringLiteral(" (add your user to the dialout group and log in again)");
    report(why + consequence);
    return false;
}

Batch::Status Batch::exportFile()
{
    if (!m_stores.loadError().isEmpty())
        return fail(m_stores.loadError() + QStringLiteral("; nothing was exported"));
    const QByteArray text = memory::tagged::exportText(*m_tables);
    // An empty file in place of a good one helps no one.
    if (text.isEmpty())
        return fail(QStringLiteral("nothing to export: the data folder %1 holds no channel, bank or ID; "
                                   "%2 was not touched")
                        .arg(QDir::currentPath(), m_options.exportFile));
    const auto w = memory::taggedfile::write(m_options.exportFile, text);
    if (!w.written)
        return fail(writeFailure(m_options.exportFile, w));
    // Written, but not all of it: the run did not do all it was asked.
    const QStringList left = memory::tagged::exportOmissions(*m_tables);
    for (const QString& bank : left)
        report(QStringLiteral("%1: %2").arg(m_options.exportFile, bank));
    return left.isEmpty() ? Done : Failed;
}

Batch::Status Batch::importFile()
{
    // Read into a copy: the tables and the stores change together, or not at all.
    auto next = std::make_unique<memory::MemoryTables>(*m_tables);
    const auto r = memory::taggedfile::import(m_options.importFile, *next, [this] { return interrupted(); });
    if (r.cancelled)
        return fail(QStringLiteral("interrupted: nothing was imported"));
    if (!r.opened || (!r.complete && !r.tooLarge))
        return fail(QStringLiteral("cannot read %1: %2").arg(m_options.importFile, r.reason));
    if (r.tooLarge)
        return fail(QStringLiteral("%1 is larger than %2 MB: no tagged text file")
                        .arg(m_options.importFile)
                        .arg(memory::taggedfile::kMaxFileBytes / (1024 * 1024)));
    if (r.count.skipped > 0)
        report(QStringLiteral("%1: %2 line(s) held no record that fits the memories and were skipped")
                   .arg(m_options.importFile)
                   .arg(r.count.skipped));
    if (r.count.refusedFrequencies > 0)
        report(QStringLiteral("%1: %2").arg(m_options.importFile, memory::tagged::refusedFrequenciesNote(r.count.refusedFrequencies)));
    if (r.count.records == 0)
        return fail(QStringLiteral("nothing was found to import in %1: no line holds a channel, bank or ID")
                        .arg(m_options.importFile));
    // A signal that came while the file was parsed ends the run before anything is written.
    QCoreApplication::processEvents();
    if (interrupted())
        return fail(QStringLiteral("interrupted: nothing was imported"));
    if (!memory::taggedfile::commitImport(*m_tables, *next, m_stores, this))
        return fail(QStringLiteral("the local files could not be written, nothing was imported: %1")
                        .arg(m_stores.errorString()));
    // Channels left as they were for a frequency the scanner cannot take: not all was imported.
    const Status imported = r.count.refusedFrequencies > 0 ? Failed : Done;
    if (!m_options.upload) {
        memory::tagged::clearMarks(*m_tables);
        return imported;
    }
    if (!openPort(QStringLiteral(": the memories are imported into the local files, but nothing was sent to "
                                 "the scanner")))
        return Failed;
    return upload() == Done ? imported : Failed;
}

Batch::Status Batch::upload()
{
    memory::ImportUpload upload(m_link, *m_tables);
    connect(&upload, &memory::ImportUpload::progressed, this,
            [this](int sent, int total) { progress(QStringLiteral("Uploading to the scanner"), sent, total); });
    const auto r = upload.run();
    if (interrupted())
        return fail(QStringLiteral("interrupted: %1 of %2 items sent").arg(r.sent).arg(r.total));
    QStringList why;
    if (r.stopped && r.unanswered > 0)
        why << QStringLiteral("the scanner stopped answering (%1 of %2 items sent): check that it is on and in "
                              "remote mode")
                   .arg(r.sent)
                   .arg(r.total);
    else if (r.stopped)
        why << QStringLiteral("the upload ended early (%1 of %2 items sent): the serial line went down")
                   .arg(r.sent)
                   .arg(r.total);
    if (r.refused > 0)
        why << QStringLiteral("the scanner refused %1 of %2 items (it answered NG, ERR or something else than OK)")
                   .arg(r.refused)
                   .arg(r.total);
    if (r.skipped > 0)
        why << QStringLiteral("%1 of %2 items not sent: a trunk type the scanner does not know, or an ID "
                              "that is not a number")
                   .arg(r.skipped)
                   .arg(r.total);
    for (const QString& line : why)
        report(line);
    return why.isEmpty() ? Done : Failed;
}

Batch::Status Batch::backup()
{
    if (!openPort())
        return Failed;
    memory::ReceiverBackup reader(m_link, m_port);
    connect(&reader, &memory::ReceiverBackup::progressed, this,
            [this](int done, int total) { progress(QStringLiteral("Backing up the scanner"), done, total); });
    auto copy = std::make_unique<memory::MemoryTables>();
    const auto outcome = reader.run(*m_tables, *copy);
    if (interrupted())
        return fail(QStringLiteral("interrupted: no backup was written"));
    using Outcome = memory::ReceiverBackup::Outcome;
    if (outcome != Outcome::Complete && outcome != Outcome::Partial)
        return fail(QStringLiteral("the backup failed: %1").arg(reader.failure()));
    const auto w = memory::taggedfile::write(m_options.backupFile, memory::tagged::exportText(*copy));
    if (!w.written)
        return fail(writeFailure(m_options.backupFile, w));
    if (outcome == Outcome::Partial)
        return fail(QStringLiteral("the scanner would not scan %1 in trunk mode: %2 holds everything else, "
                                   "but not those ID lists")
                        .arg(memory::ReceiverBackup::bankList(reader.unreadBanks()), m_options.backupFile));
    return Done;
}

} // namespace vexlor::app

#include "moc_Batch.cpp"
