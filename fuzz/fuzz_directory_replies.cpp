// Any bytes as the receiver's answers to the directories' queries: the whole
// input is the text a bank read collects ("C" lines), each line is decoded as
// an "IC" and an "SB" reply, and (one input in eight) the lines answer the ID
// directory's "SB", "IC" and "ILD" queries in turn.
#include "FuzzSupport.h"
#include "ScriptedReceiver.h"

#include "link/Commands.h"
#include "memory/ChannelReplies.h"
#include "memory/ChannelTable.h"
#include "memory/IDDirectory.h"
#include "memory/IDListRead.h"

#include <QRegularExpression>

using namespace vexlor;
using memory::IDDirectory;
using memory::IDListRead;
using MT = memory::MemoryTables;

namespace {

void channelReplies(const QByteArray& input)
{
    // Kept for the run: a fresh 300 KB table per input costs more than the decoding.
    static const auto tables = std::make_unique<MT>();
    tables->Channels.clear();
    // The bank read is chosen by the input's length, so every bank is tried.
    const int bank = input.size() % MT::kBanks;
    const int first = bank * MT::kChannelsPerBank + 1;
    const int last = first + MT::kChannelsPerBank - 1;
    const int filled = memory::channels::decodeReplies(QString::fromLatin1(input), tables->Channels, first, last);
    VEXLOR_FUZZ_CHECK(filled >= 0 && filled <= MT::kChannelsPerBank);
    // Eight wire digits: up to 9999.9999, which the stores keep as read.
    static const QRegularExpression frequency(QStringLiteral("^\\d{3,4}\\.\\d{4}$"));
    for (int row = 1; row <= MT::kChannels; ++row) {
        const memory::Cell& f = tables->Channels.at(row, MT::kChFrequency);
        VEXLOR_FUZZ_CHECK(f.isEmpty() || frequency.match(f.display()).hasMatch());
        // Another bank's channels are never written.
        VEXLOR_FUZZ_CHECK(f.isEmpty() || (row >= first && row <= last));
    }
}

// Each line as an "IC" reply and as an "SB" reply.
void lineReplies(const QByteArray& input)
{
    static const QRegularExpression label(QStringLiteral("^([1-9]|10)-([1-9]|10)$"));
    for (const QByteArray& line : input.split('\r')) {
        const QString reply = QString::fromLatin1(line);
        const IDListRead::Slot slot = IDListRead::decodeReply(reply);
        VEXLOR_FUZZ_CHECK(slot.slot >= 0 && slot.slot <= MT::kSlots);
        VEXLOR_FUZZ_CHECK(slot.slot == 0 || label.match(slot.label).hasMatch());
        VEXLOR_FUZZ_CHECK(slot.id.size() <= 6);
        VEXLOR_FUZZ_CHECK(link::cmd::restoreBanks(reply) != QLatin1String("SB")); // that would only ask
    }
}

void idDirectory(const QByteArray& input)
{
    testing::ScriptedReceiver rx;
    IDDirectory dir {{rx.link, rx.dialogs, rx.tables, *rx.stores}};
    rx.link.setSerialPortTimeout(3);
    rx.ticker.setInterval(0); // fake time runs on at every pass of the event loop: no real waits
    QList<QByteArray> replies = input.split('\n');
    auto next = [&](const QByteArray& usual) {
        const QByteArray r = replies.isEmpty() ? usual : replies.takeFirst();
        return r.isEmpty() || r.contains('\r') ? usual : r; // silence would only wait for the time-out
    };
    rx.answer = [&](const QString& c) -> QByteArray {
        if (c == QLatin1String("SB"))
            return next("SB AC");
        if (c.startsWith(QLatin1String("SB ")))
            return c.toLatin1();
        if (c.startsWith(QLatin1String("IC ")))
            return next("IC " + c.mid(3).toLatin1() + " 000000");
        if (c.startsWith(QLatin1String("ILD ")))
            return next("OFF");
        return "OK";
    };
    dir.open();
    dir.IDT().stop();
    dir.IDT_Timer();
    dir.BankCmb_Click(2);
    dir.Option1_Click();
    dir.IDBankCmb_Click(3);
    const QString saved = dir.SavedBankReply();
    rx.commands.clear();
    dir.Form_Unload();

    // The banks are given back as the receiver reported them, and only then.
    VEXLOR_FUZZ_CHECK(saved != QLatin1String("SB")); // that would only ask
    for (const QString& c : std::as_const(rx.commands))
        VEXLOR_FUZZ_CHECK(c == saved); // repeated while the receiver refuses
    static const QRegularExpression label(QStringLiteral("^([1-9]|10)-([1-9]|10)$"));
    for (int bank = 1; bank <= MT::kBanks; ++bank) {
        for (int slot = 1; slot <= MT::kSlots; ++slot) {
            const memory::Cell& ch = rx.tables.IDs.at(bank, slot, MT::kIdCh);
            VEXLOR_FUZZ_CHECK(ch.isBlank() || label.match(ch.display()).hasMatch());
            VEXLOR_FUZZ_CHECK(rx.tables.IDs.at(bank, slot, MT::kIdId).display().size() <= 6);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::ensureApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = fuzz::bytesOf(data, size);
    channelReplies(input);
    lineReplies(input);
    // The whole window against a scripted receiver costs a hundred times the
    // decoding: run it for one input in eight.
    if (fuzz::oneIn(data, size, 8))
        idDirectory(input);
    return 0;
}
