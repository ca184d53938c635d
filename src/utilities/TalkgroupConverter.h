#pragma once

#include <QObject>
#include <QString>

namespace vexlor::utilities {

// Talkgroup to AFS conversion: a decimal or hexadecimal talkgroup is looked up
// in the tghex2afs.dat table. The state is named after the window's controls.
class TalkgroupConverter : public QObject {
    Q_OBJECT
public:
    static inline const QString kAfsFile = QStringLiteral("tghex2afs.dat");

    explicit TalkgroupConverter(const QString& afsFile = kAfsFile, QObject* parent = nullptr);

    // Writes the 2048-row table (000 to 7FF) when the file is missing; an existing
    // file is left alone. True when the file is there afterwards; else false,
    // with the reason in `why`.
    static bool ensureAfsFile(const QString& path, QString* why = nullptr);
    // "AA-FFS" for a talkgroup 0..2047.
    static QString afsText(int talkgroup);

    QString afsFile() const { return m_afsFile; }
    QString decBox() const { return m_decBox; }
    QString hexBox() const { return m_hexBox; }
    QString AfsBox() const { return m_afsBox; }
    bool decChk() const { return m_decSelected; }
    bool hexChk() const { return !m_decSelected; }
    // Why the last conversion found nothing to look up; empty when it did.
    QString Note() const { return m_note; }

    // The window opens afresh: "Hex" chosen, every box empty.
    void open();
    void Convert();
    // A typed line break is taken out again and runs the conversion.
    void decBox_Change(const QString& text);
    void hexBox_Change(const QString& text);
    void decChk_Click();
    void hexChk_Click();

Q_SIGNALS:
    void changed();

private:
    void convertDecimal();
    QString lookUp(const QString& hex) const;
    static bool takeLineBreaks(QString& text);

    QString m_afsFile;
    QString m_decBox;
    QString m_hexBox;
    QString m_afsBox;
    QString m_note;
    bool m_decSelected = false;
};

} // namespace vexlor::utilities
