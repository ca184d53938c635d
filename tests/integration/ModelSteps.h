#pragma once

// The model of the memories and of what each window holds, the system it
// is held against, and the step that compares the two after every command.
#include "FakeClipboard.h"
#include "link/FrequencyPlan.h"
#include "MemoryModel.h"
#include "SimRig.h"
#include "memory/BankEditor.h"

#include <rapidcheck.h>
#include <rapidcheck/state.h>

#include <QDir>
#include <QFile>
#include <QHash>

#include <algorithm>
#include <functional>

namespace vexlor::testing::model {

using memory::BankEditor;
using memory::MemoryChange;
using Snapshot = memory::BankGrid::Snapshot;
using Button = platform::Dialogs::Button;

// The windows' logic on fresh stores in a temporary folder, as the program
// wires it, and the simulator on its pseudo-terminal, which every sequence
// shares: opening a new one costs a tenth of a second.
struct Sut {
    testing::Rig& rig;
    fakes::FakeClipboard clipboard;
    std::unique_ptr<BankEditor> banks;

    explicit Sut(testing::Rig& shared) : rig(shared) {}
    ~Sut() { banks.reset(); }

    // Banks 1 to 6 trunked (the ID directory opens on bank 1), 7 to 10 conventional.
    static MemoryState receiverAtStart()
    {
        MemoryState m = MemoryState::factoryLoaded();
        for (const auto& [bank, type] : {std::pair {1, 6}, {2, 2}, {3, 3}, {5, 5}, {6, 1}})
            m.setTrunkType(bank, type);
        return m;
    }
    static bool startLine(testing::Rig& rig)
    {
        if (!rig.start())
            return false;
        // A conventional bank refuses the ID directory's trunk key until the time-out: short, yet
        // far beyond an answer's time on the pseudo-terminal.
        rig.link->setSerialPortTimeout(0.3);
        return true;
    }
    void start()
    {
        const QDir dir(rig.dir.path());
        for (const QString& file : dir.entryList(QDir::Files))
            QFile::remove(dir.filePath(file));
        rig.host->model().setMemory(receiverAtStart());
        rig.dialogs.messages.clear();
        rig.load();
        openWindows();
    }
    void openWindows()
    {
        // The pty has no baud rate: a read need not wait a real receiver's tick.
        rig.freq->reader().ChTimer().setInterval(5);
        banks = std::make_unique<BankEditor>(BankEditor::Parts {rig.dialogs, clipboard, rig.tables, *rig.stores, {}});
        rig.freq->open();
        rig.ids->open();
        rig.ids->IDT().stop();
        rig.ids->IDT_Timer();
        banks->open();
        settle();
    }
    void restart()
    {
        banks.reset();
        rig.load();
        openWindows();
    }
    void answer(bool yes) { rig.dialogs.answers.assign(64, yes ? Button::Yes : Button::No); }

    // Everything written so far has reached the receiver and its answers are
    // read, as the poll would read them: a query's answer comes after them all.
    bool settle()
    {
        QByteArray read;
        rig.port.write("VR\r");
        return testing::waitFor([&] {
            read += rig.port.readAll();
            return read.contains("VR ") && read.endsWith('\r');
        }, 2000);
    }

    // The stores as a fresh start reads them; read again only when their bytes changed.
    const Memories& stored()
    {
        QByteArray bytes;
        for (const QString& path : {rig.stores->bankPath(), rig.stores->idBankPath()}) {
            QFile f(path);
            bytes += f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
            bytes += '\0';
        }
        if (bytes != m_storedBytes) {
            m_storedBytes = bytes;
            m_stored = reloaded(*rig.stores);
        }
        return m_stored;
    }

private:
    QByteArray m_storedBytes;
    Memories m_stored;
};

// Who made a change, as the windows tell their own from the others'.
enum class Who { Freq, Ids, Banks, Other };

struct FreqBoxes {
    QString freq, type, name;
    bool dly = false, lo = false, trunk = false;
};

struct Model {
    Memories tables;
    Memories stores;
    MemoryState rx;

    int freqBank = 1;
    int freqCh = 0; // the channel in the editor, 0 for none
    FreqBoxes fb;

    int idBank = 1, idList = 1, idSlot = 0;
    QStringList idBoxes, idShown; // ID, type, name
    bool rxOnIdBank = true; // the receiver is on the ID directory's bank

    int bBank = 1, bTab = 0;
    QString nameBox, nameBase;
    int typeBox = 0, typeBase = 0;
    std::array<Snapshot, 2> grids {Snapshot {{QStringList(7)}, {}, {}}, Snapshot {{QStringList(5)}, {}, {}}};
    QHash<int, QStringList> chBase, idBase;
    struct Undo {
        int bank, tab;
        Snapshot before;
    };
    QList<Undo> undo;
};

// ---- what the windows do, as the model sees it ----

inline QString trim(const QString& s) { return MT::trimBlanks(s); }
inline int typeIndex(const std::optional<QString>& t) { return MT::trunkTypeIndex(t.value_or(QString())).value_or(-1); }

inline void storeChannel(Model& m, int n) { m.stores.ch[n] = stored(m.tables.ch[n]); }
inline void storeSlot(Model& m, int b, int s)
{
    if (!trim(m.tables.ids[b][s].label).isEmpty())
        m.stores.ids[b][s] = stored(m.tables.ids[b][s]);
}
inline void storeBankText(std::optional<QString>& to, const std::optional<QString>& value)
{
    if (!value || value->toLatin1().size() <= 61)
        to = value;
}

inline void loadFreqEditor(Model& m, int c)
{
    const Chan& ch = m.tables.ch[c];
    m.freqCh = c;
    m.fb = {ch.freq, ch.type, ch.name, ch.dly == "=", ch.lo == "=", ch.mode == "Trunk"};
}

inline void loadIdEditor(Model& m)
{
    const Slot& s = m.tables.ids[m.idBank][m.idSlot];
    m.idBoxes = trim(s.label).isEmpty() ? QStringList {"000000", "", ""} : QStringList {s.id, s.type, s.name};
    m.idShown = m.idBoxes;
}

inline QStringList idRecord(const Model& m, int slot)
{
    const Slot& s = m.tables.ids[m.bBank][slot];
    return {trim(s.id), trim(s.type), trim(s.name), trim(s.lo)};
}
inline QList<QStringList> channelRows(const Model& m, int b)
{
    QList<QStringList> rows;
    for (int n = MT::firstChannel(b); n < MT::firstChannel(b) + 30; ++n)
        rows << QStringList {QString::number(n)} + m.tables.ch[n].record();
    return rows;
}
inline QList<QStringList> idRows(const Model& m, int b)
{
    QList<QStringList> rows;
    for (int s = 1; s <= MT::kSlots; ++s) {
        const Slot& x = m.tables.ids[b][s];
        if (!x.id.isEmpty())
            rows << QStringList {MT::slotLabel(s), x.id, x.type, x.name, x.lo};
    }
    return rows;
}

inline void select(Snapshot& g, int row, int col, int rowEnd, int colEnd)
{
    const int lastRow = int(g.rows.size()) - 1, lastCol = int(g.rows[0].size()) - 1;
    g.sel = {std::clamp(row, 0, lastRow), std::clamp(col, 0, lastCol), std::clamp(rowEnd, 0, lastRow), std::clamp(colEnd, 0, lastCol)};
}
inline void setDataRows(Snapshot& g, const QList<QStringList>& rows)
{
    const int cols = int(g.rows[0].size());
    g.rows.resize(1);
    for (QStringList r : rows) {
        r.resize(cols);
        g.rows << r;
    }
    select(g, g.sel.row, g.sel.col, g.sel.rowEnd, g.sel.colEnd);
}
inline int slotOfLabel(const QString& label)
{
    const QStringList parts = label.split('-');
    return parts.size() == 2 ? MT::slotOf(parts[0].toInt(), parts[1].toInt()) : 0;
}
inline int channelOfRow(const QStringList& row)
{
    const double v = wire::leadingNumber(row.value(0));
    return v >= 1 && v <= MT::kChannels ? wire::leadingInt(memory::Cell::decimal(v).left(3)) : 0;
}
inline void loadBankData(Model& m)
{
    m.nameBox = m.nameBase = m.tables.name(m.bBank);
    m.typeBox = m.typeBase = typeIndex(m.tables.types[m.bBank]);
}
inline void loadChannelGrid(Model& m)
{
    setDataRows(m.grids[0], channelRows(m, m.bBank));
    m.chBase.clear();
    for (int n = MT::firstChannel(m.bBank); n < MT::firstChannel(m.bBank) + 30; ++n)
        m.chBase.insert(n, m.tables.ch[n].record());
}
inline void loadIdGrid(Model& m)
{
    setDataRows(m.grids[1], idRows(m, m.bBank));
    m.idBase.clear();
    for (int s = 1; s <= MT::kSlots; ++s)
        m.idBase.insert(s, idRecord(m, s));
}
inline bool nameEdited(const Model& m) { return trim(m.nameBox) != m.nameBase && trim(m.nameBox) != m.tables.name(m.bBank); }
inline bool typeEdited(const Model& m)
{
    return m.typeBox >= 0 && m.typeBox != m.typeBase && QString(MT::TrunkTypeTable[size_t(m.typeBox)].shortForm) != m.tables.type(m.bBank);
}
// What Save would write: the tab's caption is marked, and leaving the bank asks.
inline bool unsaved(const Model& m, int tab)
{
    if (tab == 0)
        return nameEdited(m) || typeEdited(m);
    for (int r = 1; r < m.grids[tab - 1].rows.size(); ++r) {
        const QStringList& row = m.grids[tab - 1].rows[r];
        if (tab == 1) {
            const int n = channelOfRow(row);
            const QStringList now = n ? m.tables.ch[n].record() : QStringList();
            if (n != 0 && row.mid(1, 6) != m.chBase.value(n, now) && row.mid(1, 6) != now)
                return true;
            continue;
        }
        if (trim(row[0]).isEmpty())
            continue;
        const int s = slotOfLabel(trim(row[0]));
        if (s == 0)
            return true;
        const QStringList mine {trim(row[1]), trim(row[2]), trim(row[3]), trim(row[4])}, now = idRecord(m, s);
        const bool filled = !trim(m.tables.ids[m.bBank][s].label).isEmpty();
        if (mine != m.idBase.value(s, now) && !(mine == now && filled))
            return true;
    }
    return false;
}
inline bool anyUnsaved(const Model& m) { return unsaved(m, 0) || unsaved(m, 1) || unsaved(m, 2); }
// A grid with unsaved edits keeps them while another tab shows.
inline void showTab(Model& m, int tab)
{
    m.bTab = tab;
    if (tab == 1 && !unsaved(m, 1))
        loadChannelGrid(m);
    else if (tab == 2 && !unsaved(m, 2))
        loadIdGrid(m);
}
inline void showBank(Model& m, int bank)
{
    m.bBank = bank;
    loadBankData(m);
    loadChannelGrid(m);
    loadIdGrid(m);
}

inline void normalise(Snapshot& g, int r, bool channels)
{
    QStringList& row = g.rows[r];
    auto flag = [&](int col) { row[col] = trim(row[col]).isEmpty() ? QString() : QStringLiteral("="); };
    if (!channels) {
        flag(4);
        return;
    }
    row[6] = row[6].left(3).toUpper() == "TRU" ? QStringLiteral("Trunk") : QStringLiteral("Normal");
    flag(5);
    flag(4);
    const double value = wire::leadingNumber(row[1]);
    row[1] = wire::formatMHz(row[1].contains('.') ? value : value * 0.0001);
}

// Every window follows a change that another one made.
inline void follow(Model& m, const MemoryChange& change, Who who)
{
    if (who != Who::Freq && m.freqCh >= 1 && change.coversChannel(m.freqCh))
        loadFreqEditor(m, m.freqCh);
    if (who != Who::Ids && m.idSlot >= 1 && change.coversSlot(m.idBank, m.idSlot))
        loadIdEditor(m);
    if (who == Who::Banks || !change.touchesBank(m.bBank))
        return;
    // A box the operator edited keeps its baseline, so that Save asks.
    if (change.coversBankData(m.bBank) && trim(m.nameBox) == m.nameBase)
        m.nameBox = m.nameBase = m.tables.name(m.bBank);
    if (change.coversBankData(m.bBank) && m.typeBox == m.typeBase)
        m.typeBox = m.typeBase = typeIndex(m.tables.types[m.bBank]);
    bool replaced = false;
    Snapshot& ch = m.grids[0];
    for (int r = 1; r < ch.rows.size(); ++r) {
        QStringList& row = ch.rows[r];
        const int n = channelOfRow(row);
        if (!m.chBase.contains(n) || !change.coversChannel(n) || row.mid(1, 6) != m.chBase.value(n))
            continue;
        row = QStringList {row[0]} + m.tables.ch[n].record();
        m.chBase.insert(n, row.mid(1, 6));
        replaced = true;
    }
    bool idsTouched = false;
    for (int s = 1; s <= MT::kSlots; ++s)
        idsTouched = idsTouched || change.coversSlot(m.bBank, s);
    Snapshot& ids = m.grids[1];
    auto values = [](const QStringList& row) { return QStringList {trim(row[1]), trim(row[2]), trim(row[3]), trim(row[4])}; };
    bool asLoaded = true;
    int filled = 0, baseFilled = 0;
    for (int r = 1; r < ids.rows.size(); ++r) {
        const int s = slotOfLabel(ids.rows[r][0]);
        asLoaded = asLoaded && s != 0 && values(ids.rows[r]) == m.idBase.value(s);
        ++filled;
    }
    for (const QStringList& v : std::as_const(m.idBase))
        baseFilled += !v[0].isEmpty();
    if (idsTouched && asLoaded && filled == baseFilled) {
        setDataRows(ids, idRows(m, m.bBank));
        for (int s = 1; s <= MT::kSlots; ++s)
            m.idBase.insert(s, idRecord(m, s));
        replaced = true;
    } else if (idsTouched) {
        for (int r = 1; r < ids.rows.size(); ++r) {
            const int s = slotOfLabel(ids.rows[r][0]);
            if (s == 0 || !change.coversSlot(m.bBank, s) || values(ids.rows[r]) != m.idBase.value(s))
                continue;
            ids.rows[r] = QStringList {ids.rows[r][0]} + idRecord(m, s);
            m.idBase.insert(s, idRecord(m, s));
            replaced = true;
        }
    }
    if (replaced)
        m.undo.clear();
}

// A typed frequency as the tables keep it; nullopt for one the receiver cannot take.
inline std::optional<QString> frequencyEntry(const QString& typed)
{
    QString t = trim(QString(typed).replace(',', '.'));
    if (t.isEmpty())
        return QString();
    static const QRegularExpression number(QStringLiteral("^[0-9]*\\.?[0-9]*$"));
    if (!number.match(t).hasMatch() || !t.contains(QRegularExpression("[0-9]")))
        return std::nullopt; // no frequency
    double mhz = t.toDouble();
    if (!t.contains('.') && mhz >= 1000)
        mhz /= 10000.0;
    if (std::round(mhz * 10000.0) >= 1e7 || !link::plan::refusal(std::llround(mhz * 10000.0)).isEmpty())
        return std::nullopt;
    return wire::formatMHz(mhz);
}

inline void commitFreq(Model& m)
{
    const int c = m.freqCh;
    const auto freq = frequencyEntry(m.fb.freq);
    Chan next {true, freq.value_or(m.tables.ch[c].freq), trim(m.fb.type).left(3), trim(m.fb.name).left(40),
               m.fb.dly ? "=" : "", m.fb.lo ? "=" : "", m.fb.trunk ? "Trunk" : "Normal"};
    if (!freq) {
        m.fb.freq = m.tables.ch[c].freq;
        // A refused frequency keeps the channel as it was, unless another box changed it.
        const Chan& was = m.tables.ch[c];
        if (next.type == was.type && next.name == was.name && next.dly == (was.dly == "=" ? "=" : "")
            && next.lo == (was.lo == "=" ? "=" : "") && (next.mode == "Trunk") == (was.mode == "Trunk"))
            return;
    }
    m.tables.ch[c] = next;
    storeChannel(m, c);
    follow(m, MemoryChange::channels(c, c, nullptr), Who::Freq);
}

inline void writeIdList(Model& m)
{
    for (int p = 1; p <= 10; ++p)
        storeSlot(m, m.idBank, MT::slotOf(m.idList, p));
    storeBankText(m.stores.types[m.idBank], m.tables.types[m.idBank]);
}

// One channel sent to the receiver: a frequency it cannot hold leaves the channel as it was.
inline void sendChannel(Model& m, int n, bool trunk)
{
    const Chan& c = m.tables.ch[n];
    const qint32 u = qint32(std::min(std::round(wire::leadingNumber(c.freq) * 10000.0), 99999999.0));
    if (u != 0 && !MemoryState::inBand(u))
        return;
    m.rx.setChannel(n, {u, trunk && u != 0, c.dly == "=", c.lo == "="});
}

// The talkgroup an upload sends for an ID: a cleared one clears the slot, and
// a text that is no number is not sent at all.
inline std::optional<int> talkgroupSent(const QString& text)
{
    const QString id = trim(text.left(6));
    if (MT::isClearedId(id))
        return 0;
    return MT::isDigits(id) ? std::optional<int>(id.toInt()) : std::nullopt;
}

// ---- generators ----

inline rc::Gen<QString> genFreq()
{
    return rc::gen::exec([]() -> QString {
        static const std::vector<qint32> units {1465200, 1545300, 4605000, 8512500, 8512625, 100000, 0, 300000, 9560000};
        const qint32 u = *rc::gen::elementOf(units);
        const QString f = wire::formatMHz(u / 10000.0);
        switch (*rc::gen::inRange(0, 8)) {
        case 0: return f;
        case 1: return QString::number(u / 10000.0, 'g', 8);
        case 2: return u >= 1000 ? QString::number(u) : f;
        case 3: return QString(f).replace('.', ',');
        case 4: return QString();
        case 5: return QStringLiteral("abc");
        case 6: return QStringLiteral("1000.5");
        default: return QStringLiteral(" ") + f.left(6);
        }
    });
}
inline rc::Gen<QString> genName()
{
    return rc::gen::element<QString>("", " ", "Fire", "  Police Dispatch ", "Tower 2", "Ambulance\tEast", "Gate", "\u00e9t\u00e9");
}
inline rc::Gen<QString> genType() { return rc::gen::element<QString>("", "FDP", "POL", " AI", "MEDX", "x"); }
inline rc::Gen<QString> genId()
{
    return rc::gen::element<QString>("", "123", "001234", " 4321", "------", "12a", "000000", "30032", "2064", "55");
}

inline Snapshot grid(BankEditor& e, int tab)
{
    Snapshot s = (tab == 2 ? e.IDGrid() : e.ChannelGrid()).snapshot();
    if (tab == 2) {
        for (int r = 1; r < s.rows.size(); ++r)
            s.rows[r][4] = trim(s.rows[r][4]);
    }
    return s;
}

inline QString showGrid(const Snapshot& g)
{
    QStringList lines;
    for (const QStringList& r : g.rows)
        lines << r.join('|');
    return lines.join('\n') + QStringLiteral("\nselection %1,%2-%3,%4").arg(g.sel.row).arg(g.sel.col).arg(g.sel.rowEnd).arg(g.sel.colEnd);
}

using Command = rc::state::Command<Model, Sut>;

struct Step : Command {
    virtual void act(const Model& m, Sut& s) const = 0;
    virtual QString text() const = 0;
    void show(std::ostream& os) const override { os << text().toStdString(); }

    void run(const Model& m0, Sut& s) const override
    {
        Model want = m0;
        apply(want);
        act(m0, s);
        s.rig.dialogs.answers.clear();
        s.rig.dialogs.fileAnswers.clear();
        QStringList out = diff("tables", want.tables, view(s.rig.tables));
        out += diff("stores", want.stores, s.stored());
        if (!s.settle())
            out << QStringLiteral("the receiver did not answer");
        out += diff(want.rx, s.rig.memory());
        for (int tab : {1, 2}) {
            if (want.grids[tab - 1] != grid(*s.banks, tab))
                out << QStringLiteral("Banks grid %1: want\n%2\ngot\n%3").arg(tab).arg(showGrid(want.grids[tab - 1]), showGrid(grid(*s.banks, tab)));
        }
        if (!out.isEmpty())
            RC_FAIL(out.mid(0, 12).join('\n').toStdString());
    }
};

} // namespace vexlor::testing::model
