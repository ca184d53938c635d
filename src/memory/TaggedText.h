#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace vexlor::memory {
class MemoryTables;
}

// The tagged text file: one record a line, fields "[Tag]=value" joined by
// " | ", CR LF endings, single-byte text. The writer is strict; the reader
// takes any case, blanks around tags and values, and fields in any order,
// but a number field must hold a number and nothing else.
namespace vexlor::memory::tagged {

// A line longer than this is no tagged text record: it is skipped unread.
constexpr qsizetype kMaxLineBytes = 4096;

// The whole memory model as the file's bytes: bank lines, channel lines,
// then ID lines. An empty model gives no bytes at all.
QByteArray exportText(const MemoryTables& tables);
// What the export leaves out, one sentence per bank: the format keeps a bank's
// IDs only with its trunk type. Empty when nothing is left out.
QStringList exportOmissions(const MemoryTables& tables);

// The working values of one line, at their defaults until a field sets them.
struct Line {
    double bank = 0;
    QString bankName;
    QString bankType;
    double channel = 0;
    QString frequency = QStringLiteral("000.0000");
    bool frequencyFits = true; // false: below 0 or 1000 MHz and up, which no store or receiver holds
    bool frequencyRefused = false; // outside the receiver's bands or steps: the channel is left as it was
    QString type;
    QString name;
    QString delay;
    QString lockout;
    QString mode = QStringLiteral("Normal");
    double idBank = 0;
    double slot = 0; // from "list-position"; 0 when the line names none
    QString id;
    QString idType;
    QString idName;
    QString idLockOut;
    bool badNumber = false; // a number field held something else: the line changes nothing
};

Line parseLine(QStringView text);

// What applying a line changed; a group outside the tables' ranges changes nothing.
struct Applied {
    int channel = 0; // 1..300
    int idBank = 0;  // 1..10, with idSlot 1..100
    int idSlot = 0;
    int bank = 0;    // 1..10
    bool any() const { return channel || idSlot || bank; }
};

// Channel, then ID, then bank, each setting its upload mark.
Applied applyLine(const Line& line, MemoryTables& tables);

struct ImportCount {
    int lines = 0;   // lines read
    int records = 0; // lines that changed a table
    int skipped = 0; // non-empty lines that changed nothing, were too long, held a bad number or were cut
    int refusedFrequencies = 0; // channel lines whose frequency the receiver cannot take
};

// What the import says about the lines whose frequency the receiver cannot take.
QString refusedFrequenciesNote(int lines);


// Reads every line of the bytes into the tables. CR LF, CR and LF all end a
// line; a last line without one is taken as cut and skipped. The file is read
// as Latin-1, except a file that starts with a UTF-8 byte-order mark (EF BB BF),
// which is read as UTF-8 (the mark is not part of the first line).
ImportCount importText(QByteArrayView bytes, MemoryTables& tables);

// Every upload mark cleared: the operator declined the upload.
void clearMarks(MemoryTables& tables);
// How many channels, IDs and bank trunk types carry an upload mark.
int markCount(const MemoryTables& tables);

} // namespace vexlor::memory::tagged
