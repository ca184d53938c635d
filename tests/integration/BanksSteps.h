#pragma once

// The Banks window's commands, the tagged text import and the restart.
#include "ModelSteps.h"

#include <QFile>

namespace vexlor::testing::model {

// A grid change the undo stack keeps when it changed any row.
inline void gridChange(Model& m, const std::function<void(Snapshot&)>& change)
{
    Snapshot& g = m.grids[m.bTab - 1];
    const Snapshot before = g;
    change(g);
    if (g.rows != before.rows)
        m.undo << Model::Undo {m.bBank, m.bTab, before};
}

// The other row of a channel grid holding channel n; 0 for none.
inline int holder(const Snapshot& g, int n, int except)
{
    for (int r = 1; n != 0 && r < g.rows.size(); ++r) {
        if (r != except && channelOfRow(g.rows[r]) == n)
            return r;
    }
    return 0;
}

// A pasted cell never changes a row's channel number, nor repeats one.
inline void pasteCell(Snapshot& g, int r, int c, const QString& text)
{
    if (c == 0 && (channelOfRow(g.rows[r]) != 0 || holder(g, channelOfRow({text}), r) != 0))
        return;
    g.rows[r][c] = text;
}

struct BanksEdit : Step {
    int pick = *rc::gen::inRange(0, 30);
    int col = *rc::gen::inRange(0, 7);
    QString value = *rc::gen::exec([col = col]() -> QString {
        switch (col) {
        case 0: return *rc::gen::element<QString>("7", "45", "x");
        case 1: return *genFreq();
        case 2: return *genType();
        case 4:
        case 5: return *rc::gen::element<QString>("=", "", " ", "y");
        case 6: return *rc::gen::element<QString>("Trunk", "tru", "Normal", "x");
        default: return *genName();
        }
    });
    void checkPreconditions(const Model& m) const override
    {
        RC_PRE(bool(m.bTab != 0 && m.grids[m.bTab - 1].rows.size() > 1));
        RC_PRE(bool(m.bTab == 1 || (col >= 1 && col <= 4)));
    }
    int row(const Model& m) const { return 1 + pick % int(m.grids[m.bTab - 1].rows.size() - 1); }
    void apply(Model& m) const override
    {
        const int row = this->row(m);
        if (col == 0 && holder(m.grids[0], channelOfRow({value}), row) != 0)
            return; // refused: the channel is in another row already
        gridChange(m, [&](Snapshot& g) {
            g.rows[row][col] = QString(value).replace('\r', ' ').replace('\n', ' ');
            normalise(g, row, m.bTab == 1);
        });
    }
    void act(const Model& m, Sut& s) const override
    {
        s.banks->beginEdit(row(m), col);
        s.banks->endEdit(value);
    }
    QString text() const override { return QStringLiteral("Banks: edit row #%1 column %2 to \"%3\"").arg(pick).arg(col).arg(value); }
};

struct BanksPaste : Step {
    int row = *rc::gen::inRange(0, 31);
    bool crlf = *rc::gen::arbitrary<bool>();
    QString clip = *rc::gen::exec([]() -> QString {
        QStringList lines;
        const int count = *rc::gen::inRange(1, 4);
        for (int i = 0; i < count; ++i) {
            lines << QStringList {QString::number(*rc::gen::inRange(1, 301)), *genFreq(), *genType(), *genName(),
                                  *rc::gen::element<QString>("=", ""), *rc::gen::element<QString>("=", ""),
                                  *rc::gen::element<QString>("Trunk", "Normal")}.join('\t') + '\t';
        }
        return lines.join('\n');
    });
    QString text(bool withEnds) const
    {
        QString t = withEnds ? clip + '\n' : clip;
        return crlf ? t.replace('\n', "\r\n") : t;
    }
    void checkPreconditions(const Model& m) const override { RC_PRE(bool(m.bTab == 1)); }
    void apply(Model& m) const override
    {
        select(m.grids[0], row, 0, row, 0);
        gridChange(m, [&](Snapshot& g) {
            const QStringList lines = clip.split('\n');
            if (g.sel.row == 0) {
                // The whole grid: each line fills a row in order, new rows after the last.
                for (int i = 0; i < lines.size(); ++i) {
                    if (i + 1 >= g.rows.size())
                        g.rows << QStringList(7);
                    QStringList cells = lines[i].split('\t');
                    cells.resize(7);
                    for (int c = 0; c < 7; ++c)
                        pasteCell(g, i + 1, c, cells[c]);
                    normalise(g, i + 1, true);
                }
                select(g, 0, 0, 0, 0);
                return;
            }
            QStringList stream;
            for (const QString& line : lines)
                stream += line.left(line.lastIndexOf('\t')).split('\t');
            qsizetype next = 0;
            const int top = g.sel.row;
            int lastRow = top, lastCol = 0;
            for (int r = top; r < g.rows.size() && next < stream.size(); ++r) {
                for (int c = 0; c < 7 && next < stream.size(); ++c, lastRow = r, lastCol = c)
                    pasteCell(g, r, c, stream[next++]);
                normalise(g, r, true);
            }
            while (next < stream.size()) {
                g.rows << QStringList(7);
                for (int c = 0; c < 7 && next < stream.size(); ++c, lastRow = int(g.rows.size()) - 1, lastCol = c)
                    pasteCell(g, int(g.rows.size()) - 1, c, stream[next++]);
                normalise(g, int(g.rows.size()) - 1, true);
            }
            // What was pasted is selected.
            select(g, top, 0, lastRow, lastRow > top ? 6 : lastCol - 1);
        });
    }
    void act(const Model&, Sut& s) const override
    {
        s.banks->selectCells(row, 0, row, 0);
        s.clipboard.content = text(row == 0);
        s.banks->C_Click(3);
    }
    QString text() const override { return QStringLiteral("Banks: paste at row %1 (%2): %3").arg(row).arg(crlf ? "CR LF" : "LF", clip); }
};

struct BanksSort : Step {
    int col = *rc::gen::inRange(0, 7);
    bool left = *rc::gen::arbitrary<bool>();
    bool shift = *rc::gen::arbitrary<bool>();
    void checkPreconditions(const Model& m) const override { RC_PRE(bool(m.bTab == 1)); }
    void apply(Model& m) const override
    {
        gridChange(m, [&](Snapshot& g) {
            const memory::BankGrid::SortKey key {col, shift};
            if (left) {
                g.keys = {key};
            } else {
                auto at = std::find_if(g.keys.begin(), g.keys.end(), [&](const auto& k) { return k.column == col; });
                at != g.keys.end() ? void(at->descending = shift) : g.keys.append(key);
            }
            g.rows[0] = QStringList(7);
            for (qsizetype i = 0; i < g.keys.size(); ++i)
                g.rows[0][g.keys[i].column] = QStringLiteral(" (%1%2)").arg(i + 1).arg(g.keys[i].descending ? 'D' : 'U');
            auto compare = [](const QStringList& a, const QStringList& b, int c) {
                if (c <= 1) {
                    const double x = wire::leadingNumber(a[c]), y = wire::leadingNumber(b[c]);
                    return x < y ? -1 : y < x ? 1 : 0;
                }
                return QString::compare(a[c], b[c], Qt::CaseSensitive);
            };
            if (g.rows.size() >= 3)
                std::stable_sort(g.rows.begin() + 1, g.rows.end(), [&](const QStringList& a, const QStringList& b) {
                    // Rows without a frequency last, in both directions.
                    const bool blankA = wire::leadingNumber(a[1]) == 0, blankB = wire::leadingNumber(b[1]) == 0;
                    if (blankA != blankB)
                        return blankB;
                    for (const auto& k : g.keys) {
                        if (const int c = compare(a, b, k.column))
                            return k.descending ? c > 0 : c < 0;
                    }
                    return false;
                });
        });
    }
    void act(const Model&, Sut& s) const override { s.banks->headerPressed(col, left, shift); }
    QString text() const override { return QStringLiteral("Banks: sort by column %1 %2 %3").arg(col).arg(left).arg(shift); }
};

struct BanksUndo : Step {
    void checkPreconditions(const Model& m) const override { RC_PRE(bool(!m.undo.isEmpty())); }
    void apply(Model& m) const override
    {
        const Model::Undo u = m.undo.takeLast();
        if (u.bank != m.bBank) {
            m.bTab = u.tab;
            showBank(m, u.bank);
        } else if (u.tab != m.bTab) {
            showTab(m, u.tab);
        }
        Snapshot& g = m.grids[u.tab - 1];
        g.rows = u.before.rows;
        g.keys = u.before.keys;
        select(g, u.before.sel.row, u.before.sel.col, u.before.sel.rowEnd, u.before.sel.colEnd);
    }
    void act(const Model&, Sut& s) const override { s.banks->undoStack().undo(); }
    QString text() const override { return QStringLiteral("Banks: undo"); }
};

struct BanksBankData : Step {
    bool typeBox = *rc::gen::arbitrary<bool>();
    int type = *rc::gen::inRange(0, 7);
    QString name = *genName();
    void checkPreconditions(const Model& m) const override { RC_PRE(bool(m.bTab == 0)); }
    void apply(Model& m) const override { typeBox ? void(m.typeBox = type) : void(m.nameBox = name); }
    void act(const Model&, Sut& s) const override { typeBox ? s.banks->BankTypeBox_Click(type) : s.banks->BankNameBox_Change(name); }
    QString text() const override
    {
        return typeBox ? QStringLiteral("Banks: type %1").arg(type) : QStringLiteral("Banks: name \"%1\"").arg(name);
    }
};

inline void saveBankData(Model& m, bool yes)
{
    const int b = m.bBank;
    const QString name = trim(m.nameBox);
    const bool nameEdited = model::nameEdited(m), typeEdited = model::typeEdited(m);
    const bool movedOn = m.tables.name(b) != m.nameBase || typeIndex(m.tables.types[b]) != m.typeBase;
    if ((nameEdited || typeEdited) && movedOn && !yes) {
        loadBankData(m);
        return;
    }
    if (nameEdited) {
        m.tables.names[b] = name;
        storeBankText(m.stores.names[b], m.tables.names[b]);
    }
    if (typeEdited) {
        m.tables.types[b] = QString(MT::TrunkTypeTable[size_t(m.typeBox)].shortForm);
        storeBankText(m.stores.types[b], m.tables.types[b]);
    }
    m.nameBase = m.tables.name(b);
    m.typeBase = typeIndex(m.tables.types[b]);
    if (nameEdited || typeEdited)
        follow(m, MemoryChange::bankData(b, nullptr), Who::Banks);
}
inline void saveChannels(Model& m, bool yes)
{
    Snapshot& g = m.grids[0];
    for (int r = 1; r < g.rows.size(); ++r) {
        QStringList& row = g.rows[r];
        const int n = channelOfRow(row);
        if (n == 0)
            continue;
        const QStringList mine = row.mid(1, 6), now = m.tables.ch[n].record(), base = m.chBase.value(n, now);
        if (mine == base || mine == now)
            continue;
        if (!frequencyEntry(mine[0]))
            continue; // refused: the row stays unsaved
        if (now != base && !yes) {
            row = QStringList {row[0]} + now;
            m.chBase.insert(n, now);
            continue;
        }
        m.tables.ch[n] = {true, mine[0], mine[1], mine[2], mine[3], mine[4], mine[5]};
        storeChannel(m, n);
        m.chBase.insert(n, m.tables.ch[n].record());
        follow(m, MemoryChange::channels(n, n, nullptr), Who::Banks);
    }
}
inline void saveIds(Model& m, bool yes)
{
    const int b = m.bBank;
    const QList<QStringList> rows = m.grids[1].rows;
    for (int r = 1; r < rows.size(); ++r) {
        const QStringList& row = rows[r];
        const int s = slotOfLabel(trim(row[0]));
        if (s == 0)
            continue;
        const QStringList mine {trim(row[1]), trim(row[2]), trim(row[3]), trim(row[4])};
        const QStringList now = idRecord(m, s), base = m.idBase.value(s, now);
        const bool filled = !trim(m.tables.ids[b][s].label).isEmpty();
        if (mine == base || (mine == now && filled))
            continue;
        if (now != base && !yes) {
            m.grids[1].rows[r] = QStringList {row[0]} + now; // No keeps the one it has now
            m.idBase.insert(s, now);
            continue;
        }
        m.tables.ids[b][s] = {true, MT::slotLabel(s), mine[0], mine[1], mine[2], mine[3]};
        storeSlot(m, b, s);
        m.idBase.insert(s, idRecord(m, s));
        follow(m, MemoryChange::ids(b, s, s, nullptr), Who::Banks);
    }
}
// A change of bank asks about unsaved edits first; a change of tab keeps them.
struct BanksShow : Step {
    int bank = *rc::gen::inRange(1, 11);
    int tab = *rc::gen::weightedElement<int>({{1, 0}, {3, 1}, {2, 2}});
    Button answer = *rc::gen::element(Button::Yes, Button::No, Button::Cancel);
    void apply(Model& m) const override
    {
        if (bank != m.bBank && anyUnsaved(m) && answer == Button::No) {
            showBank(m, bank);
        } else if (bank != m.bBank && anyUnsaved(m) && answer == Button::Yes) {
            // Save's own questions get their unscripted answer, No.
            if (unsaved(m, 0))
                saveBankData(m, false);
            if (unsaved(m, 1))
                saveChannels(m, false);
            if (unsaved(m, 2))
                saveIds(m, false);
            if (!anyUnsaved(m))
                showBank(m, bank);
        } else if (bank != m.bBank && !anyUnsaved(m)) {
            showBank(m, bank);
        }
        showTab(m, tab);
    }
    void act(const Model&, Sut& s) const override
    {
        s.rig.dialogs.answers = {answer};
        s.banks->HScroll1_Change(bank);
        s.rig.dialogs.answers.clear();
        s.banks->SSTab1_Click(tab);
    }
    QString text() const override
    {
        return QStringLiteral("Banks: bank %1 tab %2, answering %3").arg(bank).arg(tab).arg(int(answer));
    }
};

struct BanksSave : Step {
    bool yes = *rc::gen::arbitrary<bool>();
    void apply(Model& m) const override
    {
        m.bTab == 0 ? saveBankData(m, yes) : m.bTab == 1 ? saveChannels(m, yes) : saveIds(m, yes);
    }
    void act(const Model&, Sut& s) const override
    {
        s.answer(yes);
        s.banks->save();
    }
    QString text() const override { return QStringLiteral("Banks: Save, answering %1").arg(yes ? "Yes" : "No"); }
};

// A tagged text file of a few lines, some of them changed, imported and then uploaded or not.
struct Import : Step {
    struct ChannelLine {
        int n;
        QString freq, type, name, delay, lock, mode;
    };
    struct IdLine {
        int bank, slot;
        QString id, name;
    };
    struct BankLine {
        int bank;
        QString name, type;
    };
    std::vector<ChannelLine> channels = *rc::gen::container<std::vector<ChannelLine>>(
        *rc::gen::inRange(0, 3), rc::gen::exec([] {
            return ChannelLine {*rc::gen::inRange(1, 301), *rc::gen::element<QString>("146.5200", "851.2500", "10.0000", "0", "1000.0000"),
                                *genType(), *genName(), *rc::gen::element<QString>("Y", "N", ""),
                                *rc::gen::element<QString>("Y", "N", ""), *rc::gen::element<QString>("Trunk", "Normal")};
        }));
    std::vector<IdLine> idLines = *rc::gen::container<std::vector<IdLine>>(*rc::gen::inRange(0, 3), rc::gen::exec([] {
        return IdLine {*rc::gen::inRange(1, 11), *rc::gen::inRange(1, 101), *genId(), *genName()};
    }));
    std::vector<BankLine> banks = *rc::gen::container<std::vector<BankLine>>(*rc::gen::inRange(0, 3), rc::gen::exec([] {
        return BankLine {*rc::gen::inRange(1, 11), *genName(),
                         *rc::gen::element<QString>("", "E2-800", "EDACS", "XYZ", QString(70, 'T'))};
    }));
    bool upload = *rc::gen::arbitrary<bool>();

    static QString field(const char* tag, const QString& value) { return QLatin1String(tag) + value; }
    QByteArray file() const
    {
        QStringList lines;
        for (const BankLine& b : banks) {
            QStringList f {field("[Bank]=", QString::number(b.bank)), field("[BankName]=", b.name)};
            if (!b.type.isEmpty())
                f << field("[BankType]=", b.type);
            lines << f.join(" | ");
        }
        for (const ChannelLine& c : channels) {
            QStringList f {field("[Chan]=", QString::number(c.n)), field("[Freq]=", c.freq), field("[Type]=", c.type),
                           field("[Name]=", c.name), field("[Mode]=", c.mode)};
            if (!c.delay.isEmpty())
                f << field("[Delay]=", c.delay);
            if (!c.lock.isEmpty())
                f << field("[Lock]=", c.lock);
            lines << f.join(" | ");
        }
        for (const IdLine& i : idLines)
            lines << QStringList {field("[IDBank]=", QString::number(i.bank)), field("[IDScanList]=", MT::slotLabel(i.slot)),
                                  field("[ID]=", i.id), field("[IDName]=", i.name)}.join(" | ");
        return lines.join("\r\n").toLatin1() + "\r\n";
    }
    static QString cut(const QString& t, int w) { return t.size() > w ? trim(t.left(w)) : t; }

    void apply(Model& m) const override
    {
        QSet<int> marked, markedSlots;
        // Names and types are cut to the 61 bytes a store record holds.
        for (const BankLine& b : banks) {
            m.tables.names[b.bank] = trim(b.name).left(61);
            m.tables.types[b.bank] = trim(b.type).left(61);
        }
        for (const ChannelLine& c : channels) {
            const double mhz = wire::leadingNumber(c.freq) * (c.freq.contains('.') ? 1 : 0.0001);
            // A frequency the receiver cannot hold leaves the channel as it was.
            if (std::round(mhz * 10000) >= 1e7 || !link::plan::refusal(std::llround(mhz * 10000)).isEmpty())
                continue;
            m.tables.ch[c.n] = {true, wire::formatMHz(mhz), cut(trim(c.type), 3), cut(trim(c.name), 40), c.delay == "Y" ? "=" : "",
                                c.lock == "Y" ? "=" : "", c.mode == "Trunk" ? "Trunk" : "Normal"};
            marked << c.n;
        }
        for (const IdLine& i : idLines) {
            m.tables.ids[i.bank][i.slot] = {true, MT::slotLabel(i.slot), trim(i.id).left(6), "", trim(i.name), ""};
            markedSlots << i.bank * 1000 + i.slot;
        }
        for (int n : std::as_const(marked))
            storeChannel(m, n);
        for (int k : std::as_const(markedSlots))
            storeSlot(m, k / 1000, k % 1000);
        for (const BankLine& b : banks) {
            storeBankText(m.stores.names[b.bank], m.tables.names[b.bank]);
            storeBankText(m.stores.types[b.bank], m.tables.types[b.bank]);
        }
        follow(m, MemoryChange::everything(nullptr), Who::Other);
        if (!upload)
            return;
        m.rxOnIdBank = false;
        QSet<int> imported;
        for (const BankLine& b : banks)
            imported << b.bank;
        for (int b = 1; b <= MT::kBanks; ++b) {
            if (const auto d = MT::trunkTypeIndex(m.tables.type(b)); d && imported.contains(b))
                m.rx.setTrunkType(b, *d);
        }
        for (bool trunk : {true, false}) {
            for (int n = 1; n <= MT::kChannels; ++n) {
                if (!marked.contains(n) || (m.tables.ch[n].mode == "Trunk") != trunk)
                    continue;
                // Trunk programming of a bank the scanner holds as conventional is refused.
                if (trunk && (!MT::trunkTypeIndex(m.tables.type(MT::bankOfChannel(n))) || m.rx.bank(MT::bankOfChannel(n)).trunkType == 0))
                    continue;
                sendChannel(m, n, trunk);
            }
        }
        for (int b = 1; b <= MT::kBanks; ++b) {
            for (int s = 1; s <= MT::kSlots; ++s) {
                const auto id = talkgroupSent(m.tables.ids[b][s].id);
                if (markedSlots.contains(b * 1000 + s) && id)
                    m.rx.setId(b, MT::listOfSlot(s), MT::positionOfSlot(s), *id);
            }
        }
    }
    void act(const Model&, Sut& s) const override
    {
        const QString path = s.rig.dir.filePath("import.txt");
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(file()) < 0)
            RC_FAIL("cannot write the import file");
        f.close();
        s.rig.dialogs.fileAnswers = {path};
        s.answer(upload);
        s.rig.transfer->ImportTaggedTextFile();
    }
    QString text() const override
    {
        return QStringLiteral("import, %1 the upload:\n%2").arg(upload ? "Yes to" : "No to", QString::fromLatin1(file()).trimmed());
    }
};

struct Restart : Step {
    void apply(Model& m) const override
    {
        m.tables = m.stores;
        m.freqBank = 1;
        m.freqCh = 0;
        m.idBank = m.idList = 1;
        m.idSlot = 0;
        m.rxOnIdBank = true;
        m.grids = Model().grids;
        m.undo.clear();
        m.bTab = 0;
        showBank(m, 1);
    }
    void act(const Model&, Sut& s) const override { s.restart(); }
    QString text() const override { return QStringLiteral("restart"); }
};

} // namespace vexlor::testing::model
