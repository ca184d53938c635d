#include "memory/ChannelTable.h"
#include "memory/IDTable.h"
#include "memory/MemoryTables.h"
#include "memory/StoreRecords.h"

#include "CellMetaType.h"
#include "RecordBytes.h"
#include "TestSuite.h"

#include <QTest>

namespace tst_storerecords {
namespace {

using namespace vexlor::memory;
using MT = MemoryTables;
using recordbytes::pad;

namespace {
const Cell kEmptyText { QString() };
}

class TestStoreRecords : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void encodeChannel_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("cells"); // columns 1..6; "<none>" leaves a cell never set
        QTest::addColumn<QByteArray>("record");
        QTest::newRow("full") << 5 << QStringList { "154.3250", "POL", "Dispatch", "=", "", "Trunk" }
                              << recordbytes::channel("5", "01543250", "POL", "Dispatch", 'N', 'F', 'N');
        QTest::newRow("never set: trunk and zero frequency")
            << 7 << QStringList { "<none>", "<none>", "<none>", "<none>", "<none>", "<none>" }
            << recordbytes::channel("7", "00000000", "", "", 'F', 'F', 'N');
        QTest::newRow("empty texts") << 8 << QStringList { "", "", "", "", "", "" }
                                     << recordbytes::channel("8", "00000000", "", "", 'F', 'F', 'N');
        QTest::newRow("normal, locked out, row 300")
            << 300 << QStringList { "851.0125", "FDP", "Fire", "", "=", "Normal" }
            << recordbytes::channel("300", "08510125", "FDP", "Fire", 'F', 'N', 'F');
        QTest::newRow("cut to field widths")
            << 1 << QStringList { "000.0000", "ABCD", QString(45, 'n'), "", "", "Normal" }
            << recordbytes::channel("1", "00000000", "ABC", QByteArray(40, 'n'), 'F', 'F', 'F');
        QTest::newRow("outside Latin-1 is ?")
            << 2 << QStringList { "462.5625", "MED", QStringLiteral("Z\u00fcrich \u20ac\U0001F4FB"), "", "", "Normal" }
            << recordbytes::channel("2", "04625625", "MED", "Z\xfcrich ??", 'F', 'F', 'F');
        // A "-" in the field would make the next load drop the channel with its name.
        QTest::newRow("negative frequency")
            << 3 << QStringList { "-12.3456", "", "Keep me", "", "", "Normal" }
            << recordbytes::channel("3", "00000000", "", "Keep me", 'F', 'F', 'F');
        // Zero bytes fill a field never written: they would load as the empty text, which is written blank.
        QTest::newRow("a type or name of zero bytes only")
            << 6 << QStringList { "151.0000", QString(3, QChar(0)), QString(40, QChar(0)), "", "", "Normal" }
            << recordbytes::channel("6", "01510000", "", "", 'F', 'F', 'F');
        // Eight digits load as 1111.1111; positions would have written 000.0111 back.
        QTest::newRow("four integer digits, as loaded")
            << 4 << QStringList { "1111.1111", "", "", "", "", "Normal" }
            << recordbytes::channel("4", "11111111", "", "", 'F', 'F', 'F');
    }
    void encodeChannel()
    {
        QFETCH(int, row);
        QFETCH(QStringList, cells);
        QFETCH(QByteArray, record);
        ChannelTable t;
        t.set(row, MT::kChCh, row);
        for (int c = 0; c < cells.size(); ++c) {
            if (cells[c] != QLatin1String("<none>"))
                t.set(row, c + 1, cells[c]);
        }
        // Map fields are never stored, whatever the table holds.
        t.set(row, MT::kChMap, 4);
        t.set(row, MT::kChX, 120);
        t.set(row, MT::kChY, 77);
        const QByteArray out = records::encodeChannel(t, row);
        QCOMPARE(out.size(), records::kChannelRecordSize);
        QCOMPARE(out, record);
    }

    void decodeChannel_data()
    {
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QStringList>("shown"); // display() of columns 0..9 when valid
        using recordbytes::channel;
        const QStringList plain { "1", "154.3250", "POL", "Dispatch", "=", "", "Trunk", "0", "0", "0" };
        QTest::newRow("plain") << channel("1", "01543250", "POL", "Dispatch", 'N', 'F', 'N') << true << plain;
        QTest::newRow("channel with blanks around") << channel(" 30", "01543250") << true
                                                    << QStringList { "30", "154.3250", "", "", "", "", "Normal", "0", "0", "0" };
        QTest::newRow("leading zeros") << channel("001", "01543250") << false << QStringList();
        QTest::newRow("letters after") << channel("12a", "01543250") << false << QStringList();
        QTest::newRow("blank channel") << channel("", "01543250") << false << QStringList();
        QTest::newRow("zero channel bytes") << QByteArray(3, '\0') + channel("1", "01543250").mid(3) << false << QStringList();
        QTest::newRow("frequency with letter") << channel("1", "0154325x") << false << QStringList();
        QTest::newRow("frequency with sign") << channel("1", "-1543250") << false << QStringList();
        QTest::newRow("frequency zero bytes") << QByteArray("1  ") + QByteArray(8, '\0') + channel("1", "").mid(11) << false
                                              << QStringList();
        QTest::newRow("blank frequency passes") << channel("2", "") << true
                                                << QStringList { "2", "000.0000", "", "", "", "", "Normal", "0", "0", "0" };
        QTest::newRow("map numbers") << channel("3", "00250000", "", "", 'X', 'N', '\0', "7 12  abc  ") << true
                                     << QStringList { "3", "025.0000", "", "", "", "=", "Normal", "7", "12", "0" };
        QTest::newRow("Latin-1 name") << channel("4", "01543250", "", "Caf\xe9") << true
                                      << QStringList { "4", "154.3250", "", QStringLiteral("Caf\u00e9"), "", "", "Normal", "0", "0", "0" };
        QTest::newRow("all zero") << QByteArray(68, '\0') << false << QStringList();
    }
    void decodeChannel()
    {
        QFETCH(QByteArray, record);
        QFETCH(bool, valid);
        QFETCH(QStringList, shown);
        ChannelTable t;
        QCOMPARE(records::decodeChannel(record, t, 9), valid);
        for (int c = 0; c < ChannelTable::kColumns; ++c) {
            if (!valid)
                QVERIFY(t.at(9, c).isEmpty());
            else
                QCOMPARE(t.at(9, c).display(), shown[c]);
        }
        if (valid) {
            QVERIFY(t.at(9, MT::kChCh).isNumber());
            QVERIFY(t.at(9, MT::kChX).isNumber());
            QVERIFY(t.at(9, MT::kChType).isText());
        }
    }

    void zeroTextFieldsAreEmptyText()
    {
        QByteArray record = recordbytes::channel("5", "01543250");
        record.replace(11, 43, QByteArray(43, '\0'));
        ChannelTable t;
        QVERIFY(records::decodeChannel(record, t, 5));
        QCOMPARE(t.at(5, MT::kChType), kEmptyText);
        QCOMPARE(t.at(5, MT::kChName), kEmptyText);
    }

    void shortRecordReadsAsZeroPadded()
    {
        const QByteArray full = recordbytes::channel("6", "01543250", "POL", "Dispatch", 'N', 'N', 'N');
        ChannelTable t;
        QVERIFY(records::decodeChannel(QByteArrayView(full).first(11), t, 6));
        QCOMPARE(t.text(6, MT::kChFrequency), QStringLiteral("154.3250"));
        QCOMPARE(t.at(6, MT::kChType), kEmptyText);
        QCOMPARE(t.text(6, MT::kChMode), QStringLiteral("Normal"));
        QVERIFY(!records::decodeChannel(QByteArrayView(), t, 7));
    }

    void encodeID_data()
    {
        QTest::addColumn<QStringList>("cells"); // columns 0..5, "<none>" never set
        QTest::addColumn<QByteArray>("record");
        QTest::newRow("full") << QStringList { "2-5", "000042", "POL", "Fire", "=", "" }
                              << recordbytes::id("2-5", "000042", "POL", "Fire", '=');
        QTest::newRow("empty ID") << QStringList { "10-10", "<none>", "<none>", "<none>", "<none>", "<none>" }
                                  << recordbytes::id("10-10", "");
        QTest::newRow("an upload mark is not stored") << QStringList { "1-1", "000001", "", "", " ", "X" }
                                                      << recordbytes::id("1-1", "000001");
        QTest::newRow("cut") << QStringList { "123456", "1234567", "ABCD", QString(41, 'x'), "==", "" }
                             << recordbytes::id("12345", "123456", "ABC", QByteArray(40, 'x'), '=');
    }
    void encodeID()
    {
        QFETCH(QStringList, cells);
        QFETCH(QByteArray, record);
        IDTable t;
        for (int c = 0; c < cells.size(); ++c) {
            if (cells[c] != QLatin1String("<none>"))
                t.set(4, 15, c, cells[c]);
        }
        const QByteArray out = records::encodeIDSlot(t, 4, 15);
        QCOMPARE(out.size(), records::kIDRecordSize);
        QCOMPARE(out, record);
    }

    void decodeID_data()
    {
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QStringList>("cells");
        QTest::newRow("plain") << recordbytes::id("2-5", "000042", "POL", "Fire", '=') << true
                               << QStringList { "2-5", "000042", "POL", "Fire", "=", "" };
        QTest::newRow("lock-out kept untrimmed") << recordbytes::id("10-10", "123456") << true
                                                 << QStringList { "10-10", "123456", "", "", " ", "" };
        QTest::newRow("blank label passes") << recordbytes::id("", "") << true << QStringList { "", "", "", "", " ", "" };
        QTest::newRow("a stored mark is not loaded") << recordbytes::id("1-1", "1", "", "", ' ', " X ") << true
                                                     << QStringList { "1-1", "1", "", "", " ", "" };
        QTest::newRow("letter in label") << recordbytes::id("1-1a", "000042") << false << QStringList();
        QTest::newRow("zero label") << QByteArray(5, '\0') + recordbytes::id("", "000042").mid(5) << false << QStringList();
        QTest::newRow("all zero") << QByteArray(65, '\0') << false << QStringList();
    }
    void decodeID()
    {
        QFETCH(QByteArray, record);
        QFETCH(bool, valid);
        QFETCH(QStringList, cells);
        IDTable t;
        QCOMPARE(records::decodeIDSlot(record, t, 3, 7), valid);
        for (int c = 0; c < IDTable::kColumns; ++c) {
            if (valid)
                QCOMPARE(t.at(3, 7, c), Cell(cells[c]));
            else
                QVERIFY(t.at(3, 7, c).isEmpty());
        }
    }

    void encodeBankText_data()
    {
        QTest::addColumn<Cell>("value");
        QTest::addColumn<bool>("fits");
        QTest::addColumn<QByteArray>("record");
        QTest::newRow("never set: tag 0") << Cell() << true << QByteArray(65, '\0');
        QTest::newRow("empty text: tag 8, length 0") << kEmptyText << true << recordbytes::bankText("");
        QTest::newRow("text") << Cell("Metro") << true << recordbytes::bankText("Metro");
        QTest::newRow("61 fits") << Cell(QString(61, 'b')) << true << recordbytes::bankText(QByteArray(61, 'b'));
        QTest::newRow("62 does not") << Cell(QString(62, 'b')) << false << QByteArray();
        QTest::newRow("? for the euro") << Cell(QStringLiteral("\u00e9\u20ac")) << true << recordbytes::bankText("\xe9?");
    }
    void encodeBankText()
    {
        QFETCH(Cell, value);
        QFETCH(bool, fits);
        QFETCH(QByteArray, record);
        const auto out = records::encodeBankText(value);
        QCOMPARE(out.has_value(), fits);
        if (fits)
            QCOMPARE(*out, record);
    }

    void decodeBankText_data()
    {
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<Cell>("value");
        QTest::newRow("tag 0") << QByteArray(65, '\0') << Cell();
        QTest::newRow("tag 0 with junk") << QByteArray("\0\0junk", 6) << Cell();
        QTest::newRow("text") << recordbytes::bankText("Metro") << Cell("Metro");
        QTest::newRow("empty text") << recordbytes::bankText("") << kEmptyText;
        QTest::newRow("61") << recordbytes::bankText(QByteArray(61, 'z')) << Cell(QString(61, 'z'));
        QTest::newRow("length 62") << pad(QByteArray("\x08\x00\x3e\x00", 4) + QByteArray(61, 'z'), 65) << Cell();
        QTest::newRow("length 65535") << pad(QByteArray("\x08\x00\xff\xff", 4), 65, 'z') << Cell();
        QTest::newRow("unknown tag") << pad(QByteArray("\x09\x00\x03\x00" "abc", 7), 65, '\0') << Cell();
        QTest::newRow("length past a short record")
            << QByteArray("\x08\x00\x0a\x00" "Metr", 8) << Cell(QStringLiteral("Metr") + QString(6, QChar(0)));
        // The missing bytes read as zero: tag 8 with length 0.
        QTest::newRow("tag only half there") << QByteArray("\x08", 1) << kEmptyText;
    }
    void decodeBankText()
    {
        QFETCH(QByteArray, record);
        QFETCH(Cell, value);
        QCOMPARE(records::decodeBankText(record), value);
    }
};

VEXLOR_TEST_GUILESS_MAIN(TestStoreRecords)

} // namespace
} // namespace tst_storerecords

#include "tst_storerecords.moc"
