#include "simulator/SimulatorHost.h"

#include "simulator/ActivityScript.h"
#include "simulator/MemoryState.h"
#include "platform/SerialTrace.h"
#include "simulator/PtyEndpoint.h"
#include "simulator/ReceiverModel.h"
#include "simulator/StateFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <random>

namespace vexlor::simulator {

namespace {
constexpr int kSaveCheckMs = 2000;
// A change is saved this soon, so a crash costs at most this much of it; an
// upload's changes in a row share one save.
constexpr int kSaveDelayMs = 200;
}

SimulatorHost::SimulatorHost(const SimulatorOptions& options, QObject* parent)
    : QObject(parent), m_options(options)
{
    m_seed = options.seedGiven ? options.seed : std::random_device {}();
    m_saveTimer.setInterval(kSaveCheckMs);
    connect(&m_saveTimer, &QTimer::timeout, this, &SimulatorHost::saveIfChanged);
    m_changeTimer.setSingleShot(true);
    m_changeTimer.setInterval(kSaveDelayMs);
    connect(&m_changeTimer, &QTimer::timeout, this, &SimulatorHost::saveIfChanged);
}

SimulatorHost::~SimulatorHost() { stop(); }

bool SimulatorHost::start()
{
    if (m_running)
        return true;
    std::optional<ActivityScript> script;
    if (!m_options.scriptFile.isEmpty()) {
        script = ActivityScript::load(m_options.scriptFile, &m_error);
        if (!script)
            return false;
    }
    MemoryState memory = MemoryState::factoryLoaded();
    if (!m_options.stateFile.isEmpty())
        loadState(memory);

    m_linkPath = m_options.linkPath;
    if (m_linkPath.isEmpty()) {
        m_linkDir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/vexlor-sim-XXXXXX"));
        if (!m_linkDir->isValid()) {
            m_error = QStringLiteral("cannot create a folder for the port link: %1").arg(m_linkDir->errorString());
            return false;
        }
        m_linkPath = m_linkDir->filePath(QStringLiteral("ttyVexlorSim"));
    }

    m_endpoint.reset();
    m_model = std::make_unique<ReceiverModel>(m_seed, memory);
    m_model->activity().setEnabled(m_options.activity);
    if (script)
        m_model->activity().setScript(*script);
    m_savedRevision = m_model->memory().revision();

    // Faults draw from their own sequence, so they do not shift the receptions.
    m_endpoint = std::make_unique<PtyEndpoint>(*m_model, m_options.faults, m_seed ^ 0x5eed5eedu);
    m_endpoint->setLinkPath(m_linkPath);
    connect(m_endpoint.get(), &PtyEndpoint::slaveChanged, this, &SimulatorHost::slaveChanged);
    if (!m_options.stateFile.isEmpty()) {
        connect(m_endpoint.get(), &PtyEndpoint::commandCarriedOut, this, [this] {
            if (m_model->memory().revision() != m_savedRevision && !m_changeTimer.isActive())
                m_changeTimer.start();
        });
    }
    if (!m_options.traceFile.isEmpty() && !startTrace())
        return false;
    if (!m_endpoint->open()) {
        m_error = m_endpoint->errorString();
        m_endpoint.reset();
        return false;
    }
    m_running = true;
    if (!m_options.stateFile.isEmpty())
        m_saveTimer.start();
    return true;
}

bool SimulatorHost::startTrace()
{
    m_trace = std::make_unique<platform::SerialTrace>(m_options.traceFile);
    if (!m_trace->open()) {
        m_error = QStringLiteral("cannot write the trace file %1: %2").arg(m_options.traceFile, m_trace->errorString());
        m_trace.reset();
        return false;
    }
    platform::SerialTrace* t = m_trace.get();
    m_endpoint->setTrace(t);
    connect(t, &platform::SerialTrace::writeFailed, this,
            [this](const QString& why) { warn(QStringLiteral("the trace stopped: %1").arg(why)); });
    connect(m_endpoint.get(), &PtyEndpoint::slaveChanged, t, [t](const QString& name) { t->mark(QStringLiteral("serving on %1").arg(name)); });
    connect(m_endpoint.get(), &PtyEndpoint::peerChanged, t, [t](bool on) {
        t->mark(on ? QStringLiteral("reader connected") : QStringLiteral("reader gone"));
    });
    connect(m_endpoint.get(), &PtyEndpoint::lineDropped, t, [t] { t->mark(QStringLiteral("line dropped")); });
    connect(m_endpoint.get(), &PtyEndpoint::lineRestored, t, [t] { t->mark(QStringLiteral("line restored")); });
    connect(m_endpoint.get(), &PtyEndpoint::inputLost, t, [t](qint64 n) {
        t->mark(QStringLiteral("%1 bytes lost: the input buffer was full").arg(n));
    });
    return true;
}

void SimulatorHost::stop()
{
    if (!m_running)
        return;
    m_saveTimer.stop();
    m_changeTimer.stop();
    // Unchanged memories need no file: a run that only looked leaves none behind.
    if (!m_options.stateFile.isEmpty())
        saveIfChanged();
    m_endpoint->close();
    m_running = false;
}

QString SimulatorHost::portName() const { return m_linkPath; }

QString SimulatorHost::slaveName() const { return m_endpoint ? m_endpoint->slaveName() : QString(); }

qint64 SimulatorHost::lostBytes() const { return m_endpoint ? m_endpoint->lostBytes() : 0; }

void SimulatorHost::loadState(MemoryState& memory)
{
    const QString path = m_options.stateFile;
    const QFileInfo info(path);
    if (!info.exists())
        return;
    if (!info.isFile() || !info.isReadable()) {
        m_saveAllowed = false;
        warn(QStringLiteral("%1: cannot be read; the factory memories are used and it is left alone").arg(path));
        return;
    }
    QString why;
    if (auto loaded = StateFile::load(path, &why)) {
        memory = *loaded;
        return;
    }
    // Keep the unreadable file: saving over it would lose what it held.
    QString aside = path + QStringLiteral(".corrupt");
    for (int i = 1; QFileInfo::exists(aside) && i < 1000; ++i)
        aside = path + QStringLiteral(".corrupt.%1").arg(i);
    if (QFile::rename(path, aside)) {
        warn(QStringLiteral("%1; ignored it and moved it to %2").arg(why, aside));
    } else {
        m_saveAllowed = false;
        warn(QStringLiteral("%1; ignored it, and will not save over it").arg(why));
    }
}

void SimulatorHost::saveIfChanged()
{
    if (m_model && m_model->memory().revision() != m_savedRevision)
        saveState();
}

void SimulatorHost::saveState()
{
    if (!m_saveAllowed || !m_model)
        return;
    QString why;
    m_saveFailed = !StateFile::save(m_options.stateFile, m_model->memory(), &why);
    if (m_saveFailed)
        warn(why);
    else
        m_savedRevision = m_model->memory().revision();
}

void SimulatorHost::warn(const QString& text)
{
    if (m_warnings.contains(text))
        return; // a save that keeps failing says so once
    m_warnings << text;
    qWarning("vexlor-sim: %s", qPrintable(text));
}

} // namespace vexlor::simulator

#include "moc_SimulatorHost.cpp"
