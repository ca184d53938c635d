#include "memory/FreqDirectory.h"

#include "link/ScannerLink.h"
#include "link/Wire.h"
#include "memory/ChannelReplies.h"
#include "memory/LocalStores.h"
#include "memory/MemoryTables.h"
#include "memory/UploadTexts.h"
#include "platform/Dialogs.h"

#include <QPointer>
#include <QRegularExpression>

#include <utility>

namespace vexlor::memory {

namespace {

using MT = MemoryTables;
using platform::Dialogs;
namespace wire = link::wire;

constexpr int kFrequencyChars = 8;
constexpr int kTypeChars = 3;
constexpr int kNameChars = 40;

const QString kEq = QStringLiteral("=");
const QString kTrunk = QStringLiteral("Trunk");
const QString kNormal = QStringLiteral("Normal");

// Enter in a multi-line box: the text before the line break, or nullopt.
std::optional<QString> entered(const QString& text)
{
    const qsizetype at = text.indexOf(QRegularExpression(QStringLiteral("[\\r\\n]")));
    if (at < 0)
        return std::nullopt;
    return text.left(at);
}

QStringList headings(bool filled)
{
    QStringList h = MT::channelHeadings();
    if (!filled)
        h[MT::kChDLY] = QStringLiteral("Dly");
    return h;
}

} // namespace

QString FreqDirectory::helpText()
{
    const QStringList paragraphs {
        QStringLiteral("Remember - version 2.4.1 is BETA software and you should back up your scanner memories "
                       "before you use this program to upload data to you scanner.  You could loose all of your "
                       "frequencies!"),
        QStringLiteral("The first thing you will want to do on this screen is to download all of your frequencies "
                       "as they exist in your scanner now.  "),
        QStringLiteral("First, under the box \"Data Receive from\", choose the Scanner radio button."),
        QStringLiteral("Then, Using the Freq Bank combo box, select each bank one at a time.  As you select a bank, "
                       "it's contents are downloaded from the scanner."),
        QStringLiteral("You are now ready to use the edit window to edit your frequencies."),
        QStringLiteral("To upload your changes to the scanner, click the \"Scanner\" button.  You will then be "
                       "asked if you want to continue.  It will take a second or so to update the memories in your "
                       "scanner."),
    };
    return QStringLiteral("\r\n") + paragraphs.join(QStringLiteral("\r\n\r\n"));
}

FreqDirectory::FreqDirectory(const Parts& parts, QObject* parent)
    : QObject(parent),
      m_link(parts.link),
      m_dialogs(parts.dialogs),
      m_tables(parts.tables),
      m_stores(parts.stores),
      m_offerTrunkSystem(parts.offerTrunkSystem),
      m_read(parts.link, parts.port, parts.tables.Channels),
      m_upload(parts.link, parts.tables.Channels)
{
    m_s.headings = headings(false);
    m_s.IDTypeBankBox = MT::TrunkTypeTable[0].selector;
    connect(&m_read, &BankRead::progressed, this, [this](int percent) {
        m_s.WaitLbl = QStringLiteral("Please wait a moment...%1%").arg(percent);
        m_s.progress = percent;
        publish();
    });
    connect(&m_read, &BankRead::finished, this, &FreqDirectory::readFinished);
    connect(&m_upload, &BankUpload::progressed, this, [this](int sent, int total) {
        m_s.progress = total > 0 ? 100 * sent / total : 0;
        publish();
    });
    m_notices = m_tables.subscribe([this](const MemoryChange& change) { tablesChanged(change); });
}

FreqDirectory::~FreqDirectory() = default;

void FreqDirectory::tablesChanged(const MemoryChange& change)
{
    const int c = editedChannel();
    if (change.source == this || m_selectedBank < 1 || (!change.touchesBank(m_selectedBank) && !change.coversChannel(c)))
        return;
    // The bank's name box keeps what the operator is typing unless the name itself changed.
    const QString nameBox = m_s.IDBankNameBox;
    formatgrid();
    if (!change.coversBankData(m_selectedBank) || m_nameEdited)
        m_s.IDBankNameBox = nameBox;
    m_nameChangedMeanwhile = m_nameChangedMeanwhile || (m_nameEdited && change.coversBankData(m_selectedBank));
    if (change.coversChannel(c))
        recordChanged(c);
    publish();
}

void FreqDirectory::announceChannel(int c)
{
    m_tables.announce(MemoryChange::channels(c, c, this));
}

void FreqDirectory::open()
{
    m_s.Option1 = false;
    m_s.Option2 = true;
    clearEditor(); // what it held last time may be out of date
    BankCmb_Click(1);
    Q_EMIT focusWanted(QStringLiteral("BankCmb"));
}

void FreqDirectory::Form_Unload()
{
    clearEditor(); // a closed window asks nothing when its channel changes elsewhere
    m_read.stop();
    m_upload.stop();
    Q_EMIT mainWindowWanted();
}

void FreqDirectory::storeTrunkTypeFromSelector()
{
    if (m_selectedBank < 1 || m_selectedBank > MT::kBanks)
        return;
    if (const auto shortForm = MT::shortFormForSelector(m_s.IDTypeBankBox))
        m_tables.BankTrunkTypes.set(m_selectedBank, *shortForm);
    m_tables.announce(MemoryChange::bankData(m_selectedBank, this));
}

void FreqDirectory::BankCmb_Click(int bank)
{
    // A second selection would mix two banks' replies: it waits for the read to end.
    if (isBusy()) {
        publish();
        return;
    }
    m_s.DataSendToScannerCmdEnabled = true;
    m_s.SaveImgEnabled = true;
    // The type shown is stored when the operator picks it, never by a bank change.
    m_selectedBank = bank >= 1 && bank <= MT::kBanks ? bank : 0;
    m_nameEdited = m_nameChangedMeanwhile = false;
    m_s.BankCmb = m_selectedBank;
    if (m_selectedBank == 0) {
        publish();
        return;
    }
    m_lastChannel = MT::kChannelsPerBank * m_selectedBank;
    if (m_offerTrunkSystem)
        m_offerTrunkSystem(m_selectedBank);

    if (m_s.Option1) {
        formatgrid(); // names and types show while the rest is read
        if (!m_read.start(m_selectedBank)) {
            texts::refuseBusy(m_dialogs, m_link);
            return;
        }
        m_s.WaitLbl = QStringLiteral("Please wait a moment ...");
        m_s.WaitLblVisible = true;
        m_s.progress = 0;
        m_s.progressVisible = true;
        publish();
    } else if (m_s.Option2) {
        formatgrid();
        Q_EMIT scrollToTop();
    }
}

void FreqDirectory::readFinished(int decoded)
{
    m_s.WaitLblVisible = false;
    m_s.progressVisible = false;
    if (decoded >= 0 && !m_link.isShuttingDown()) {
        formatgrid();
        WriteBank();
        const int first = m_lastChannel - (MT::kChannelsPerBank - 1);
        m_tables.announce(MemoryChange::channels(first, m_lastChannel, this));
        if (MT::bankOfChannel(editedChannel()) == m_selectedBank)
            recordChanged(editedChannel());
    }
    publish();
    if (decoded < 0 || decoded >= MT::kChannelsPerBank || m_link.isShuttingDown())
        return;
    Dialogs::Message m {decoded == 0
                            ? QStringLiteral("Read failed: the scanner sent none of the bank's channels.")
                            : QStringLiteral("Read %1 of %2 channels of bank %3.")
                                  .arg(decoded).arg(MT::kChannelsPerBank).arg(m_selectedBank),
                        QStringLiteral("Watch out!"), Dialogs::Buttons::Ok, Dialogs::Icon::Warning};
    m.informative = decoded == 0
        ? QStringLiteral("The bank keeps what it held. Check that the scanner is in remote mode, then try again.")
        : QStringLiteral("The scanner did not answer for the other %1; they keep what they held. Read the bank "
                         "again to get them.").arg(MT::kChannelsPerBank - decoded);
    m_dialogs.message(m);
}

void FreqDirectory::Option1_Click()
{
    m_s.Option1 = true;
    m_s.Option2 = false;
    publish();
}

void FreqDirectory::Option2_Click()
{
    m_s.Option1 = false;
    m_s.Option2 = true;
    publish();
}

void FreqDirectory::formatgrid()
{
    m_s.headings = headings(true);
    m_s.FreqList.clear();
    if (m_selectedBank >= 1) {
        const auto& ch = m_tables.Channels;
        for (int c = m_lastChannel - (MT::kChannelsPerBank - 1); c <= m_lastChannel; ++c) {
            QStringList row {QLatin1Char(' ') + QString::number(c), ch.text(c, MT::kChFrequency),
                             ch.text(c, MT::kChType), MT::trimBlanks(ch.text(c, MT::kChName)),
                             ch.text(c, MT::kChDLY), ch.text(c, MT::kChLO), ch.text(c, MT::kChMode),
                             ch.text(c, MT::kChMap), QString(), QString()};
            m_s.FreqList << row;
        }
        m_s.IDBankNameBox = m_tables.BankNames.at(m_selectedBank).display();
        // A type the list lacks shows as none, never as the last bank's.
        m_s.IDTypeBankBox = MT::selectorForShortForm(m_tables.bankTrunkType(m_selectedBank)).value_or(QString());
    }
    publish();
}

void FreqDirectory::WriteBank()
{
    if (m_selectedBank < 1)
        return;
    m_stores.StoreChannelRange(m_lastChannel - (MT::kChannelsPerBank - 1), m_lastChannel);
}

void FreqDirectory::FreqList_Click(int row, int col)
{
    if (row <= 0 || col <= 0 || row > m_s.FreqList.size() || col >= ChannelTable::kColumns)
        return;
    const int c = wire::leadingInt(m_s.FreqList.at(row - 1).value(0));
    if (c < 1 || c > MT::kChannels)
        return;
    CommitChannel(); // an edit of the last channel is kept, as leaving its box would
    loadEditor(c);
    m_s.currentRow = row;
    m_s.currentCol = col;

    const auto& ch = m_tables.Channels;
    const bool zero = channels::isZeroFrequency(ch.text(c, MT::kChFrequency));
    // The flag columns toggle a filled channel; a click fills no channel.
    const bool filled = !ch.at(c, MT::kChCh).isEmpty();
    auto toggle = [&](bool& flag, bool value) {
        if (filled && flag != value) {
            flag = value;
            m_edited = true;
        }
    };
    switch (col) {
    case MT::kChFrequency:
        Q_EMIT focusWanted(QStringLiteral("FreqBox"));
        break;
    case MT::kChType:
        Q_EMIT focusWanted(QStringLiteral("TypeCmb"));
        break;
    case MT::kChName:
        Q_EMIT focusWanted(QStringLiteral("NameBox"));
        break;
    case MT::kChDLY:
        toggle(m_s.DelayChk, zero ? false : !m_s.DelayChk);
        Q_EMIT focusWanted(QStringLiteral("FreqBox"));
        break;
    case MT::kChLO:
        toggle(m_s.L_OChk, zero ? true : !m_s.L_OChk);
        Q_EMIT focusWanted(QStringLiteral("FreqBox"));
        break;
    case MT::kChMode:
        toggle(m_s.TrunkChk, zero ? false : !m_s.TrunkChk);
        Q_EMIT focusWanted(QStringLiteral("FreqBox"));
        break;
    default:
        break;
    }
    CommitChannel();
    publish();
}

void FreqDirectory::loadEditor(int c)
{
    const auto& ch = m_tables.Channels;
    m_filling = true;
    m_s.ChBox = QString::number(c);
    m_s.FreqBox = ch.text(c, MT::kChFrequency);
    m_s.TypeCmb = ch.text(c, MT::kChType);
    m_s.NameBox = ch.text(c, MT::kChName);
    m_s.DelayChk = ch.text(c, MT::kChDLY) == kEq;
    m_s.L_OChk = ch.text(c, MT::kChLO) == kEq;
    m_s.TrunkChk = ch.text(c, MT::kChMode) == kTrunk;
    m_filling = false;
    m_edited = false;
}

void FreqDirectory::clearEditor()
{
    m_s.ChBox.clear();
    m_s.FreqBox.clear();
    m_s.TypeCmb.clear();
    m_s.NameBox.clear();
    m_s.DelayChk = m_s.L_OChk = m_s.TrunkChk = false;
    m_s.currentRow = m_s.currentCol = 0;
    m_edited = false;
}

void FreqDirectory::recordChanged(int c)
{
    if (c < 1 || c != editedChannel())
        return;
    if (m_edited) {
        Dialogs::Message m {QStringLiteral("Channel %1 changed while you were editing it.").arg(c),
                            QStringLiteral("Question"), Dialogs::Buttons::YesNo, Dialogs::Icon::Question};
        m.informative = QStringLiteral("Keep your edit? No shows the channel as it is now.");
        if (m_dialogs.message(m) == Dialogs::Button::Yes)
            return;
    }
    loadEditor(c);
    publish();
}

void FreqDirectory::edited(QString& box, const QString& text)
{
    if (box == text)
        return;
    box = text;
    if (!m_filling)
        m_edited = true;
}

bool FreqDirectory::refuseUnlistedTrunkType()
{
    const QString stored = m_tables.bankTrunkType(m_selectedBank);
    if (MT::selectorForShortForm(stored))
        return false;
    Dialogs::Message m {QStringLiteral("Bank %1's trunk type \"%2\" is none the scanner knows.").arg(m_selectedBank).arg(stored),
                        QStringLiteral("Watch out!"), Dialogs::Buttons::Ok, Dialogs::Icon::Warning};
    m.informative = QStringLiteral("Choose the bank's type in the list, then upload again.");
    m_dialogs.message(m);
    return true;
}

int FreqDirectory::editedChannel() const { return wire::leadingInt(m_s.ChBox); }

bool FreqDirectory::editedBesideFrequency(int c) const
{
    const auto& ch = m_tables.Channels;
    return MT::trimBlanks(m_s.TypeCmb).left(kTypeChars) != ch.text(c, MT::kChType)
        || MT::trimBlanks(m_s.NameBox).left(kNameChars) != ch.text(c, MT::kChName)
        || m_s.DelayChk != (ch.text(c, MT::kChDLY) == kEq) || m_s.L_OChk != (ch.text(c, MT::kChLO) == kEq)
        || m_s.TrunkChk != (ch.text(c, MT::kChMode) == kTrunk);
}

bool FreqDirectory::commitFrequencyBox()
{
    const QString refusal = channels::frequencyRefusal(m_s.FreqBox);
    if (refusal.isEmpty())
        return true;
    const int c = editedChannel();
    Dialogs::Message m {refusal, QStringLiteral("Watch out!"), Dialogs::Buttons::Ok, Dialogs::Icon::Warning};
    m.informative = QStringLiteral("Enter it in MHz, such as 154.3250. The channel keeps its frequency.");
    m_s.FreqBox = m_tables.Channels.text(c, MT::kChFrequency);
    publish();
    m_dialogs.message(m);
    return false;
}

void FreqDirectory::CommitChannel()
{
    const int c = editedChannel();
    if (!m_edited || c < 1 || c > MT::kChannels)
        return;
    m_edited = false;
    auto& ch = m_tables.Channels;
    const bool frequencyTaken = commitFrequencyBox();
    // A refused frequency that was the only edit changes nothing, and fills no channel.
    if (!frequencyTaken && !editedBesideFrequency(c))
        return;
    // Column 0 too: a channel typed into an empty row must be uploadable at once.
    ch.set(c, MT::kChCh, c);
    if (frequencyTaken)
        ch.set(c, MT::kChFrequency, *channels::frequencyEntry(m_s.FreqBox));
    ch.set(c, MT::kChType, MT::trimBlanks(m_s.TypeCmb).left(kTypeChars));
    ch.set(c, MT::kChName, MT::trimBlanks(m_s.NameBox).left(kNameChars));
    ch.set(c, MT::kChDLY, m_s.DelayChk ? kEq : QString());
    ch.set(c, MT::kChLO, m_s.L_OChk ? kEq : QString());
    ch.set(c, MT::kChMode, m_s.TrunkChk ? kTrunk : kNormal);
    for (int col : {MT::kChMap, MT::kChX, MT::kChY})
        ch.set(c, col, QString());
    // Only this channel: it may belong to another bank than the one shown.
    m_stores.StoreChannelRange(c, c);
    announceChannel(c);
    formatgrid();
}

void FreqDirectory::DeleteImg_Click()
{
    const int c = editedChannel();
    if (c < 1 || c > MT::kChannels)
        return;
    m_filling = true;
    auto& ch = m_tables.Channels;
    ch.set(c, MT::kChCh, c);
    ch.set(c, MT::kChFrequency, QStringLiteral("000.0000"));
    for (int col : {MT::kChType, MT::kChName, MT::kChDLY, MT::kChMap, MT::kChX, MT::kChY})
        ch.set(c, col, QString());
    ch.set(c, MT::kChLO, kEq);
    ch.set(c, MT::kChMode, kNormal);
    m_s.DelayChk = false;
    m_s.TrunkChk = false;
    m_s.L_OChk = true;
    m_s.NameBox.clear();
    m_s.TypeCmb.clear();
    m_s.FreqBox = QStringLiteral("000.0000");
    m_filling = false;
    m_edited = false;
    m_stores.StoreChannelRange(c, c);
    announceChannel(c);
    formatgrid();
}

void FreqDirectory::OKCmd_Click()
{
    CommitChannel();
    Q_EMIT closeWanted();
}

void FreqDirectory::FreqLbl_Click()
{
    const QString text = QStringLiteral("That is really important that you put\r"
                                        "your separation code correctly,\r"
                                        "like period(.) or comma(,)\r"
                                        "when you enter a frequency.");
    m_dialogs.message({text, QStringLiteral("How enter frequency"), Dialogs::Buttons::Ok, Dialogs::Icon::Information});
}

void FreqDirectory::HelpCmd_Click() { Q_EMIT helpWanted(kHelpTitle, helpText()); }

void FreqDirectory::DataSendToScannerCmd_Click()
{
    if (isBusy() || m_link.isBusy()) {
        texts::refuseBusy(m_dialogs, m_link);
        return;
    }
    if (m_selectedBank < 1 || refuseUnlistedTrunkType() || !texts::confirmUpload(m_dialogs))
        return;
    const QPointer<FreqDirectory> self(this);
    m_s.WaitLbl = QStringLiteral("Uploading to scanner..");
    m_s.WaitLblVisible = true;
    m_s.progress = 0;
    m_s.progressVisible = true;
    m_s.uploading = true;
    CommitChannel();
    publish();

    const int typeDigit = wire::leadingInt(m_s.IDTypeBankBox);
    const BankUpload::Result r = m_upload.run(m_selectedBank, typeDigit);
    if (!self)
        return;
    m_s.WaitLblVisible = false;
    m_s.progressVisible = false;
    m_s.uploading = false;
    publish();
    if (m_link.isShuttingDown())
        return;
    texts::reportUpload(m_dialogs, m_link, r, QStringLiteral("channel"), QStringLiteral("channels"));
}

void FreqDirectory::StopCmd_Click() { m_upload.stop(); }

void FreqDirectory::ChBox_Change(const QString& text)
{
    m_s.ChBox = text.left(3);
}

void FreqDirectory::FreqBox_Change(const QString& text)
{
    const auto line = entered(text);
    edited(m_s.FreqBox, (line ? *line : text).left(kFrequencyChars));
    if (!line)
        return;
    if (const auto formatted = channels::frequencyEntry(m_s.FreqBox))
        m_s.FreqBox = *formatted;
    publish();
    CommitChannel();
}

void FreqDirectory::TypeCmb_Change(const QString& text) { edited(m_s.TypeCmb, text.left(kTypeChars)); }

void FreqDirectory::TypeCmb_LostFocus() { CommitChannel(); }

void FreqDirectory::NameBox_Change(const QString& text)
{
    const auto line = entered(text);
    edited(m_s.NameBox, (line ? *line : text).left(kNameChars));
    if (!line)
        return;
    publish();
    CommitChannel();
}

void FreqDirectory::NameBox_LostFocus() { CommitChannel(); }

void FreqDirectory::DelayChk_Click(bool checked)
{
    if (m_filling)
        return;
    m_edited = m_edited || m_s.DelayChk != checked;
    m_s.DelayChk = checked;
    CommitChannel();
}

void FreqDirectory::L_OChk_Click(bool checked)
{
    if (m_filling)
        return;
    m_edited = m_edited || m_s.L_OChk != checked;
    m_s.L_OChk = checked;
    CommitChannel();
}

void FreqDirectory::TrunkChk_Click(bool checked)
{
    if (m_filling)
        return;
    m_edited = m_edited || m_s.TrunkChk != checked;
    m_s.TrunkChk = checked;
    CommitChannel();
}

void FreqDirectory::IDBankNameBox_Change(const QString& text)
{
    const auto line = entered(text);
    const QString name = (line ? *line : text).left(kNameChars);
    m_nameEdited = m_nameEdited || name != m_s.IDBankNameBox;
    m_s.IDBankNameBox = name;
    if (!line)
        return;
    commitBankName();
    Q_EMIT focusWanted(QStringLiteral("BankCmb"));
}

void FreqDirectory::IDBankNameBox_LostFocus() { commitBankName(); }

void FreqDirectory::commitBankName()
{
    // Only a name the operator typed: a box left alone writes nothing.
    if (m_selectedBank < 1 || !m_nameEdited)
        return;
    m_nameEdited = false;
    if (std::exchange(m_nameChangedMeanwhile, false)) {
        Dialogs::Message m {QStringLiteral("Bank %1's name changed while you were editing it.").arg(m_selectedBank),
                            QStringLiteral("Question"), Dialogs::Buttons::YesNo, Dialogs::Icon::Question};
        m.informative = QStringLiteral("Save your name? No keeps the one it has now.");
        if (m_dialogs.message(m) != Dialogs::Button::Yes) {
            m_s.IDBankNameBox = m_tables.BankNames.at(m_selectedBank).display();
            publish();
            return;
        }
    }
    m_s.IDBankNameBox = MT::trimBlanks(m_s.IDBankNameBox);
    m_tables.BankNames.set(m_selectedBank, m_s.IDBankNameBox);
    m_stores.StoreBankName(m_selectedBank);
    m_tables.announce(MemoryChange::bankData(m_selectedBank, this));
    publish();
}

void FreqDirectory::IDTypeBankBox_Click(const QString& selector)
{
    if (!MT::shortFormForSelector(selector))
        return;
    m_s.IDTypeBankBox = selector;
    storeTrunkTypeFromSelector();
    m_stores.StoreBankTrunkType(m_selectedBank);
    publish();
}

} // namespace vexlor::memory

#include "moc_FreqDirectory.cpp"
