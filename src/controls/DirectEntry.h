#pragma once

#include <QObject>
#include <QString>
#include <array>

namespace vexlor::link {
class ScannerLink;
}
namespace vexlor::monitor {
class MainDisplay;
class StatusDecoder;
}

namespace vexlor::controls {

// Sending the receiver straight to a channel, a frequency or an ID channel,
// choosing the banks and ID lists that are scanned, and the search limits.
// Holds the entry boxes' texts; the boxes mirror them. Enter (a line break in
// the text) is the signal to act, and each Enter acts once: the texts this
// class puts back hold no line break.
class DirectEntry : public QObject {
    Q_OBJECT
public:
    enum class Box { ChannelBox, DirectFrequencyBox, IDChannelBox, IDChannelBoxII };
    Q_ENUM(Box)

    DirectEntry(link::ScannerLink& link, const monitor::MainDisplay& display, monitor::StatusDecoder& decoder,
                QObject* parent = nullptr);

    const QString& text(Box box) const { return m_boxes[size_t(box)]; }

    // Every edit of a box, with its whole text.
    void ChannelBox_Change(const QString& text);
    void DirectFrequencyBox_Change(const QString& text);
    void IDChannelBox_Change(const QString& text);
    void IDChannelBoxII_Change(const QString& text);

    // Bank lamps 1..10 and ID-list lamps 1..10 toggle one entry and send the
    // whole set; ID lamp 0 sends the set unchanged.
    void BankLbl_Click(int bank);
    void IDlbl_Click(int index);

    // "Upload it" with the two limit boxes' texts in MHz.
    void ApplyLimit_Click(const QString& lower, const QString& upper);

Q_SIGNALS:
    void boxChanged(vexlor::controls::DirectEntry::Box box, const QString& text);
    void focusWanted(vexlor::controls::DirectEntry::Box box);
    // For the console's Rx box.
    void tempShown(const QString& text);

private:
    void setBox(Box box, const QString& text);
    // Entry 0 keeps the letters of the set last sent.
    static void keepSent(std::array<QString, 11>& active);

    link::ScannerLink& m_link;
    const monitor::MainDisplay& m_display;
    monitor::StatusDecoder& m_decoder;
    std::array<QString, 4> m_boxes;
};

} // namespace vexlor::controls
