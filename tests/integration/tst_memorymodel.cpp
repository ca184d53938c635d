#include "BanksSteps.h"
#include "TestSuite.h"

namespace tst_memorymodel {
namespace {

using namespace vexlor::testing::model;

struct FreqBank : Step {
    int bank = *rc::gen::inRange(1, 11);
    void apply(Model& m) const override { m.freqBank = bank; }
    void act(const Model&, Sut& s) const override
    {
        s.rig.freq->Option2_Click();
        s.rig.freq->BankCmb_Click(bank);
    }
    QString text() const override { return QStringLiteral("frequency directory: bank %1").arg(bank); }
};

struct FreqClick : Step {
    int row = *rc::gen::inRange(1, 31);
    int col = *rc::gen::inRange(1, 10);
    int channel(const Model& m) const { return MT::firstChannel(m.freqBank) + row - 1; }
    void apply(Model& m) const override
    {
        loadFreqEditor(m, channel(m));
        const Chan& c = m.tables.ch[m.freqCh];
        const bool zero = wire::leadingNumber(c.freq) == 0;
        bool* flag = col == 4 ? &m.fb.dly : col == 5 ? &m.fb.lo : col == 6 ? &m.fb.trunk : nullptr;
        const bool value = !flag ? false : zero ? col == 5 : !*flag;
        if (flag && c.set && *flag != value) {
            *flag = value;
            commitFreq(m);
        }
    }
    void act(const Model&, Sut& s) const override { s.rig.freq->FreqList_Click(row, col); }
    QString text() const override { return QStringLiteral("frequency directory: click row %1 column %2").arg(row).arg(col); }
};

struct FreqEdit : Step {
    int box = *rc::gen::inRange(0, 7); // frequency, type, name, name on lost focus, delay, lock-out, trunk
    QString value = box == 0 ? *genFreq() : box == 1 ? *genType() : *genName();
    bool check = *rc::gen::arbitrary<bool>();
    void checkPreconditions(const Model& m) const override { RC_PRE(bool(m.freqCh >= 1)); }
    void apply(Model& m) const override
    {
        bool edited = false;
        auto typed = [&](QString& b, const QString& text) {
            edited = b != text;
            b = text;
        };
        switch (box) {
        case 0:
            typed(m.fb.freq, value.left(8));
            if (const auto f = frequencyEntry(m.fb.freq))
                m.fb.freq = *f;
            break;
        case 1: typed(m.fb.type, value.left(3)); break;
        case 2:
        case 3: typed(m.fb.name, value.left(40)); break;
        default: {
            bool& f = box == 4 ? m.fb.dly : box == 5 ? m.fb.lo : m.fb.trunk;
            edited = f != check;
            f = check;
        }
        }
        if (edited)
            commitFreq(m);
    }
    void act(const Model&, Sut& s) const override
    {
        auto& f = *s.rig.freq;
        switch (box) {
        case 0: f.FreqBox_Change(value + "\r"); break;
        case 1: f.TypeCmb_Change(value), f.TypeCmb_LostFocus(); break;
        case 2: f.NameBox_Change(value + "\n"); break;
        case 3: f.NameBox_Change(value), f.NameBox_LostFocus(); break;
        case 4: f.DelayChk_Click(check); break;
        case 5: f.L_OChk_Click(check); break;
        default: f.TrunkChk_Click(check); break;
        }
    }
    QString text() const override
    {
        return QStringLiteral("frequency directory: box %1 takes \"%2\" %3").arg(box).arg(value).arg(check);
    }
};

struct FreqDelete : Step {
    void checkPreconditions(const Model& m) const override { RC_PRE(bool(m.freqCh >= 1)); }
    void apply(Model& m) const override
    {
        const int c = m.freqCh;
        m.tables.ch[c] = {true, "000.0000", "", "", "", "=", "Normal"};
        m.fb = {"000.0000", "", "", false, true, false};
        storeChannel(m, c);
        follow(m, MemoryChange::channels(c, c, nullptr), Who::Freq);
    }
    void act(const Model&, Sut& s) const override { s.rig.freq->DeleteImg_Click(); }
    QString text() const override { return QStringLiteral("frequency directory: Clear"); }
};

struct FreqBankData : Step {
    bool typeBox = *rc::gen::arbitrary<bool>();
    int type = *rc::gen::inRange(0, 7);
    QString name = *genName();
    void apply(Model& m) const override
    {
        const int b = m.freqBank;
        if (typeBox) {
            m.tables.types[b] = QString(MT::TrunkTypeTable[size_t(type)].shortForm);
            storeBankText(m.stores.types[b], m.tables.types[b]);
        } else if (name.left(40) != m.tables.name(b)) {
            m.tables.names[b] = trim(name.left(40));
            storeBankText(m.stores.names[b], m.tables.names[b]);
        } else {
            return;
        }
        follow(m, MemoryChange::bankData(b, nullptr), Who::Freq);
    }
    void act(const Model&, Sut& s) const override
    {
        if (typeBox)
            s.rig.freq->IDTypeBankBox_Click(MT::TrunkTypeTable[size_t(type)].selector);
        else
            s.rig.freq->IDBankNameBox_Change(name + "\r");
    }
    QString text() const override
    {
        return typeBox ? QStringLiteral("frequency directory: bank type %1").arg(type)
                       : QStringLiteral("frequency directory: bank name \"%1\"").arg(name);
    }
};

struct FreqRead : Step {
    int bank = *rc::gen::inRange(1, 11);
    void apply(Model& m) const override
    {
        m.freqBank = bank;
        const int first = MT::firstChannel(bank);
        for (int n = first; n < first + 30; ++n) {
            const MemoryState::Channel r = m.rx.channel(n);
            Chan& c = m.tables.ch[n];
            c = {true, wire::formatMHz(r.frequency / 10000.0), c.type, c.name, r.delay ? "=" : "", r.lockout ? "=" : "",
                 r.trunk ? "Trunk" : "Normal"};
            storeChannel(m, n);
        }
        if (MT::bankOfChannel(m.freqCh) == bank)
            loadFreqEditor(m, m.freqCh);
        follow(m, MemoryChange::channels(first, first + 29, nullptr), Who::Freq);
    }
    void act(const Model&, Sut& s) const override
    {
        s.rig.readBank(bank);
        s.rig.freq->Option2_Click();
    }
    QString text() const override { return QStringLiteral("frequency directory: read bank %1 from the scanner").arg(bank); }
};

struct FreqUpload : Step {
    void apply(Model& m) const override
    {
        const int b = m.freqBank;
        const auto digit = MT::trunkTypeIndex(m.tables.type(b));
        if (!digit)
            return; // refused: a type the scanner does not know
        m.rxOnIdBank = false;
        bool anyTrunk = false;
        for (int n = MT::firstChannel(b); n < MT::firstChannel(b) + 30; ++n)
            anyTrunk = anyTrunk || (m.tables.ch[n].set && m.tables.ch[n].mode == "Trunk");
        if (anyTrunk)
            m.rx.setTrunkType(b, *digit);
        for (int n = MT::firstChannel(b); n < MT::firstChannel(b) + 30; ++n) {
            const Chan& c = m.tables.ch[n];
            if (c.set && (c.mode == "Trunk" || c.mode == "Normal"))
                sendChannel(m, n, c.mode == "Trunk" && *digit > 0);
        }
    }
    void act(const Model&, Sut& s) const override
    {
        s.answer(true);
        s.rig.freq->DataSendToScannerCmd_Click();
    }
    QString text() const override { return QStringLiteral("frequency directory: upload"); }
};

struct IdBank : Step {
    int bank = *rc::gen::inRange(1, 11);
    void apply(Model& m) const override
    {
        m.idBank = bank;
        m.idSlot = 0;
        m.rxOnIdBank = true;
    }
    void act(const Model&, Sut& s) const override
    {
        s.rig.ids->Option2_Click();
        s.rig.ids->BankCmb_Click(bank);
    }
    QString text() const override { return QStringLiteral("ID directory: bank %1").arg(bank); }
};

struct IdList : Step {
    int list = *rc::gen::inRange(1, 11);
    void apply(Model& m) const override
    {
        m.idList = list;
        m.idSlot = 0;
    }
    void act(const Model&, Sut& s) const override
    {
        s.rig.ids->Option2_Click();
        s.rig.ids->IDBankCmb_Click(list);
    }
    QString text() const override { return QStringLiteral("ID directory: list %1").arg(list); }
};

struct IdClick : Step {
    int pick = *rc::gen::inRange(0, 10);
    bool filledRow = *rc::gen::arbitrary<bool>(); // a row holding an ID, when the list has one
    int col = *rc::gen::weightedElement<int>({{2, 1}, {1, 2}, {1, 3}, {2, 4}});
    void checkPreconditions(const Model& m) const override { RC_PRE(bool(col != 4 || m.rxOnIdBank)); }
    int row(const Model& m) const
    {
        QList<int> filled;
        for (int p = 1; p <= 10; ++p) {
            if (!m.tables.ids[m.idBank][MT::slotOf(m.idList, p)].id.isEmpty())
                filled << p;
        }
        return filledRow && !filled.isEmpty() ? filled[pick % filled.size()] : pick + 1;
    }
    void apply(Model& m) const override
    {
        m.idSlot = MT::slotOf(m.idList, row(m));
        loadIdEditor(m);
        if (col != 4)
            return;
        Slot& s = m.tables.ids[m.idBank][m.idSlot];
        const bool locked = s.lo == "=";
        s.lo = locked ? "" : "=";
        const QString id = trim(m.idBoxes[0]);
        if (m.rx.bank(m.idBank).trunkType > 0 && MT::isDigits(id) && id.size() <= 6 && id.toInt() != 0)
            locked ? (void)m.rx.unlockId(m.idBank, id.toInt()) : (void)m.rx.lockOutId(m.idBank, id.toInt());
        follow(m, MemoryChange::ids(m.idBank, m.idSlot, m.idSlot, nullptr), Who::Ids);
    }
    void act(const Model& m, Sut& s) const override { s.rig.ids->IDList_Click(row(m), col); }
    QString text() const override
    {
        return QStringLiteral("ID directory: click %1row #%2 column %3").arg(filledRow ? "filled " : "").arg(pick).arg(col);
    }
};

struct IdEdit : Step {
    int box = *rc::gen::weightedElement<int>({{3, 0}, {1, 1}, {1, 2}, {1, 3}}); // ID, type, name with Enter, name then Save
    QString value = box == 0 ? *genId() : box == 1 ? *genType() : *genName();
    void checkPreconditions(const Model& m) const override { RC_PRE(bool(m.idSlot >= 1)); }
    void apply(Model& m) const override
    {
        QStringList& b = m.idBoxes;
        (box == 0 ? b[0] : box == 1 ? b[1] : b[2]) = box == 0 ? trim(value).left(6) : box == 1 ? value.left(3) : value.left(40);
        if (b == m.idShown)
            return;
        QString id = trim(b[0]).left(6);
        if (MT::isDigits(id))
            id = id.rightJustified(6, '0');
        b[0] = id;
        Slot& s = m.tables.ids[m.idBank][m.idSlot];
        s = {true, QStringLiteral("%1-%2").arg(m.idList).arg(MT::positionOfSlot(m.idSlot)), id, trim(b[1]), trim(b[2]), s.lo};
        m.idShown = b;
        writeIdList(m);
        follow(m, MemoryChange::ids(m.idBank, m.idSlot, m.idSlot, nullptr), Who::Ids);
    }
    void act(const Model&, Sut& s) const override
    {
        auto& d = *s.rig.ids;
        if (box == 0)
            d.IDbox_Change(value);
        else if (box == 1)
            d.TypeCmb_Change(value);
        else
            d.NameBox_Change(box == 2 ? value + "\r" : value);
        if (box != 2)
            d.CommitID();
    }
    QString text() const override { return QStringLiteral("ID directory: box %1 takes \"%2\"").arg(box).arg(value); }
};

struct IdDelete : Step {
    void checkPreconditions(const Model& m) const override { RC_PRE(bool(m.idSlot >= 1)); }
    void apply(Model& m) const override
    {
        Slot& s = m.tables.ids[m.idBank][m.idSlot];
        if (trim(s.label).isEmpty())
            s.label = QStringLiteral("%1-%2").arg(m.idList).arg(MT::positionOfSlot(m.idSlot));
        s = {true, s.label, "------", "", "", "="};
        writeIdList(m);
        follow(m, MemoryChange::ids(m.idBank, m.idSlot, m.idSlot, nullptr), Who::Ids);
    }
    void act(const Model&, Sut& s) const override { s.rig.ids->DeleteImg_Click(); }
    QString text() const override { return QStringLiteral("ID directory: Clear"); }
};

struct IdRead : Step {
    void checkPreconditions(const Model& m) const override { RC_PRE(bool(m.rx.bank(m.idBank).trunkType > 0)); }
    void apply(Model& m) const override
    {
        m.idSlot = 0;
        m.rxOnIdBank = true;
        for (int p = 1; p <= 10; ++p) {
            const int id = m.rx.id(m.idBank, m.idList, p);
            const QString text = id == MemoryState::kClearedId ? QStringLiteral("======") : wire::digits(id, 6);
            Slot& s = m.tables.ids[m.idBank][MT::slotOf(m.idList, p)];
            s.set = true;
            s.label = QStringLiteral("%1-%2").arg(m.idList).arg(p);
            s.id = text;
            s.lo = id <= 0 || m.rx.isIdLockedOut(m.idBank, id) ? "=" : "";
        }
        follow(m, MemoryChange::ids(m.idBank, MT::slotOf(m.idList, 1), MT::slotOf(m.idList, 10), nullptr), Who::Ids);
    }
    void act(const Model& m, Sut& s) const override
    {
        auto& d = *s.rig.ids;
        d.Option2_Click();
        d.BankCmb_Click(m.idBank);
        d.Option1_Click();
        d.IDBankCmb_Click(m.idList);
        d.Option2_Click();
    }
    QString text() const override { return QStringLiteral("ID directory: read the list from the scanner"); }
};

struct IdUpload : Step {
    void apply(Model& m) const override
    {
        m.rxOnIdBank = true;
        for (int p = 1; p <= 10; ++p) {
            const Slot& s = m.tables.ids[m.idBank][MT::slotOf(m.idList, p)];
            const QStringList parts = s.label.split('-');
            const auto id = talkgroupSent(s.id);
            if (parts.size() == 2 && MT::slotOf(parts[0].toInt(), parts[1].toInt()) && id)
                m.rx.setId(m.idBank, parts[0].toInt(), parts[1].toInt(), *id);
        }
    }
    void act(const Model&, Sut& s) const override
    {
        s.answer(true);
        s.rig.ids->SendToScanner_Click();
    }
    QString text() const override { return QStringLiteral("ID directory: upload"); }
};

template <typename C>
rc::Gen<std::shared_ptr<const Command>> make()
{
    // A command's values span their whole range; the size sets only how many commands a sequence has.
    return rc::gen::resize(100, rc::gen::exec([]() -> std::shared_ptr<const Command> { return std::make_shared<C>(); }));
}

// Exchanges with the scanner are a small share, so that a sequence stays fast.
rc::Gen<std::shared_ptr<const Command>> commands(const Model&)
{
    static const auto all = rc::gen::weightedOneOf<std::shared_ptr<const Command>>({
        {3, make<FreqBank>()},  {6, make<FreqClick>()},  {10, make<FreqEdit>()},   {2, make<FreqDelete>()},
        {3, make<FreqBankData>()}, {1, make<FreqRead>()}, {2, make<FreqUpload>()}, {4, make<IdBank>()},
        {2, make<IdList>()},    {8, make<IdClick>()},    {8, make<IdEdit>()},      {2, make<IdDelete>()},
        {1, make<IdRead>()},    {2, make<IdUpload>()},   {5, make<BanksShow>()},   {10, make<BanksEdit>()},
        {4, make<BanksPaste>()}, {3, make<BanksSort>()}, {4, make<BanksUndo>()},   {4, make<BanksBankData>()},
        {7, make<BanksSave>()}, {3, make<Import>()},     {2, make<Restart>()},
    });
    return all;
}

class TestMemoryModel : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void operatorSequencesKeepTheMemories()
    {
        // The environment's RC_PARAMS, when set, replaces these for a long run; one past
        // five minutes also wants QTEST_FUNCTION_TIMEOUT (milliseconds) raised.
        if (!qEnvironmentVariableIsSet("RC_PARAMS"))
            qputenv("RC_PARAMS", "max_success=300 max_size=16");
        vexlor::testing::Rig rig;
        QVERIFY(Sut::startLine(rig));
        const bool passed = rc::check("the memories change only as the operator changed them", [&rig] {
            Sut sut(rig);
            sut.start();
            Model m;
            m.rx = sut.rig.memory();
            showBank(m, 1);
            rc::state::check(m, sut, &commands);
        });
        QVERIFY(passed);
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestMemoryModel)

} // namespace
} // namespace tst_memorymodel

#include "tst_memorymodel.moc"
