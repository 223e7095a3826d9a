// The DTMF memories, the one-touch keys and the opening title: what may be
// typed, their radio bytes, and the one-touch and title transfers against the
// simulated radio (the blocks each button moves: tst_mainwindow transferButtons).

#include "Files.h"
#include "SimFixture.h"
#include "core/banks/BankTable.h"
#include "core/common/DtmfMemories.h"
#include "core/common/OneTouchTable.h"
#include "core/common/OneTouchTransfer.h"
#include "core/common/OpeningTitle.h"
#include "core/common/TitleTransfer.h"

#include <QFile>
#include <QtTest>

using namespace kpr5;
using namespace Qt::StringLiterals;
using kpr5::test::SimRig;
using D = DtmfMemories;

namespace {

QByteArray hex(const char *text) {
    return QByteArray::fromHex(text);
}

// The one-touch area with key 0 given by its three bytes, the others unassigned.
QByteArray keys(const char *firstKey = "FF0000") {
    return hex(firstKey) + hex("FF0000").repeated(OneTouchTable::kKeyCount - 1);
}

// Only banks 3 (10 channels) and 7 (990 channels) hold channels.
struct TwoBanks {
    BankTable banks;
    OneTouchTable t;
    TwoBanks() {
        BankTable::Counts counts{};
        counts[3] = 10;
        counts[7] = 990;
        banks.setCounts(counts);
        t.rebuildLists(banks);
    }
    // Key k on bank list position p, channel c, assigned.
    void assign(int k, int p, int c) {
        t.setUnassigned(k, false);
        QVERIFY(t.selectBank(k, p) && t.selectChannel(k, c));
    }
};

} // namespace

class CommonTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The cases of tests/data/tst_common-cases.tsv, by their first column.
    void cases_data() { test::tableData(QFINDTESTDATA("../data/tst_common-cases.tsv")); }
    void cases() {
        QFETCH(QStringList, c);
        if (c[0] == "dtmfkey") {
            const char *actions[] = {"Accept", "Discard", "Empty"};
            QCOMPARE(QString::fromLatin1(
                         actions[int(D::filterKey(c[1], QChar(c[2].toUShort(nullptr, 16))))]),
                     c[3]);
        } else if (c[0] == "dtmfclean") {
            QCOMPARE(D::cleaned(c[1]), c[2]);
        } else if (c[0] == "dtmfmemory") {
            const QByteArray bytes = QByteArray::fromHex(c[2].toLatin1());
            if (c[3].endsWith('>')) QCOMPARE(D::encodeMemory(c[1]), bytes);
            if (c[3].startsWith('<')) QCOMPARE(D::decodeMemory(bytes), c[1]);
        } else if (c[0] == "onetouch") {
            const QByteArray bytes = c[1].endsWith('+') ? keys(qPrintable(c[1].chopped(1)))
                                                        : QByteArray::fromHex(c[1].toLatin1());
            TwoBanks b;
            b.assign(0, 1, 700); // replaced by what is read
            b.t.decodeArea(bytes);
            QCOMPARE(QStringLiteral("%1 %2 %3")
                         .arg(b.t.isUnassigned(0))
                         .arg(b.t.bankPosition(0))
                         .arg(b.t.channelPosition(0)),
                     c[2]);
            if (c[3] == "1") QCOMPARE(b.t.encodeArea(), bytes);
        } else if (c[0] == "timing") { // a short block or another block changes nothing
            D d;
            int t = 0;
            while (D::timingControlName(D::Timing(t)) != c[1])
                ++t;
            QVERIFY(d.setTiming(D::Timing(t), 2));
            QVERIFY(!d.setTiming(D::Timing(t), D::timingOptions(D::Timing(t)).size()));
            QByteArray data = d.encodeBlock(c[2].toInt());
            data[c[3].toInt()] = char(c[4].toInt(nullptr, 16));
            QVERIFY(!d.decodeBlock(c[2].toInt(), data.chopped(1)) && !d.decodeBlock(3, data));
            QCOMPARE(d.timing(D::Timing(t)), 2);
            QVERIFY(d.decodeBlock(c[2].toInt(), data));
            QCOMPARE(d.timing(D::Timing(t)), c[5] == "-1" ? 2 : c[5].toInt());
        } else if (c[0] == "titlebyte") { // a short area changes nothing
            OpeningTitle t;
            t.setOpeningMoving(1 - c[2].toInt());
            QByteArray data(64, '\x11');
            data[32] = char(c[1].toInt(nullptr, 16));
            QVERIFY(t.decodeArea(data));
            QVERIFY(!t.decodeArea(data.left(32)));
            QCOMPARE(t.openingMoving(), c[2].toInt());
        } else if (c[0] == "titlefile") {
            OpeningTitle t;
            t.setDisplayText(u"old"_s);
            bool wasCut = c[3] != "1";
            t.setFromFile(c[1], &wasCut);
            QCOMPARE(t.displayText(), c[2]);
            QCOMPARE(wasCut, c[3] == "1");
        }
    }

    void oneTouchListsFollowTheBanks() {
        TwoBanks b;
        OneTouchTable &t = b.t;
        b.assign(0, 1, 500);   // bank 7
        b.assign(1, 0, 5);     // bank 3
        t.selectChannel(2, 4); // bank 3, unassigned
        // Bank 2 gains channels and bank 3 shrinks to 5: bank 7 moves to position 2.
        b.banks.setCount(2, 5);
        b.banks.setCount(3, 5);
        t.rebuildLists(b.banks);
        QCOMPARE(t.bankEntries(), (QStringList{"2", "3", "7"}));
        QCOMPARE((QList<int>{t.bankNumber(0), t.channelPosition(0), t.bankNumber(1),
                             t.channelPosition(1), t.channelPosition(2), t.isUnassigned(2)}),
                 (QList<int>{7, 500, 3, 0, 4, 1})); // 5 is the new count of bank 3
        // Bank 7 becomes empty: its key goes to position 0, channel 0, still assigned.
        b.banks.setCount(7, 0);
        b.banks.setCount(9, 990);
        t.rebuildLists(b.banks);
        QCOMPARE(t.encodeArea().left(3), hex("020000"));
        QVERIFY(!t.isUnassigned(0));
    }

    // A key that cannot be written is named, never written as another
    // channel, and the write refuses before it starts.
    void unwritableKeys() {
        TwoBanks b;
        b.assign(4, 1, 300);
        QVERIFY(b.t.unwritableReason().contains(u"key 5"_s));
        QCOMPARE(b.t.encodeArea().mid(12, 3), hex("FF0000")); // 300 would be 0x2C in one byte
        b.t.setUnassigned(4, true);
        QVERIFY(b.t.unwritableReason().isEmpty());
        b.banks.setCounts({}); // no bank holds channels
        b.t.rebuildLists(b.banks);
        b.t.setUnassigned(6, false);
        QCOMPARE(b.t.encodeArea(), keys());

        SimRig rig;
        QVERIFY(!succeeded(writeOneTouch(b.t, rig.link, rig.host)));
        QCOMPARE(rig.host.texts(), QStringList{u"Error| Error"_s});
        QVERIFY(rig.host.messages[0].detail.contains(u"key 7"_s));
        QCOMPARE(rig.radio.frameCount() + rig.host.started, 0);
    }

    void oneTouchTransfers() {
        SimRig rig;
        QByteArray image(sim::kImageSize, '\x5A');
        rig.radio.setImage(image);
        TwoBanks b;
        b.assign(0, 0, 5);
        b.assign(3, 1, 200);
        QVERIFY(succeeded(writeOneTouch(b.t, rig.link, rig.host)));
        QByteArray area = keys("030500");
        area.replace(9, 3, hex("07C800"));
        image.replace(0x180, 27, area);
        QCOMPARE(rig.radio.image(), image);

        // The radio's bank numbers are looked up among the banks as they are now.
        OneTouchTable back;
        QVERIFY(succeeded(readOneTouch(back, b.banks, rig.link, rig.host)));
        QCOMPARE(back.encodeArea(), area);
    }

    // The title and its setting as the radio holds them (34 bytes), written
    // and read back (a title that does not move: tst_roundtrip).
    void titleTransfers() {
        const QString display = u"ABCDEFGHIJKLMNO:8~"_s; // 16 characters, a token last
        SimRig rig;
        QByteArray image(sim::kImageSize, '\x5A');
        rig.radio.setImage(image);
        OpeningTitle t;
        t.setDisplayText(display);
        t.setOpeningMoving(1);
        QVERIFY(succeeded(writeTitle(t, rig.link, rig.host)));
        image.replace(0x1A0, 34,
                      hex("4100420043004400450046004700480049004A004B004C004D004E004F0047871111"));
        QCOMPARE(rig.radio.image(), image);
        OpeningTitle back;
        QVERIFY(succeeded(readTitle(back, rig.link, rig.host)));
        QCOMPARE(back.displayText() + QString::number(back.openingMoving()), display + "1");
    }
};

QTEST_GUILESS_MAIN(CommonTest)
#include "tst_common.moc"
