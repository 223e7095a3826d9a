// Names and the title in their three forms, the measure, the allowed set and
// the key filter (these from tests/data/tst_namecodec-cases.tsv).

#include "Files.h"
#include "core/text/NameCodec.h"

#include <QFile>
#include <QtTest>

using namespace kpr5;
using namespace Qt::StringLiterals;

class NameCodecTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The cases of tests/data/tst_namecodec-cases.tsv, by their first column.
    void cases_data() { test::tableData(QFINDTESTDATA("../data/tst_namecodec-cases.tsv")); }
    void cases() {
        QFETCH(QStringList, c);
        if (c[0] == "radio") { // the radio's bytes and the display form
            QByteArray bytes = QByteArray::fromHex(c[1].toLatin1());
            if (c[1].endsWith('+')) bytes = bytes.leftJustified(32, '\0');
            if (c[3].startsWith('<'))
                QCOMPARE(names::storedToDisplay(names::decodeField(bytes)), c[2]);
            if (c[3].endsWith('>'))
                QCOMPARE(names::encodeField(names::displayToStored(c[2])).toHex(' '),
                         bytes.toHex(' '));
        } else if (c[0] == "display") { // display form -> stored form (and back), measure, tokens
            QCOMPARE(names::displayToStored(c[1]), c[2]);
            if (!c[1].contains(QChar(0x2461))) QCOMPARE(names::storedToDisplay(c[2]), c[1]);
            QCOMPARE(names::measure(c[1]), c[3].toInt());
            QCOMPARE(names::tokenCount(c[1]), c[4].toInt());
        } else if (c[0] == "allowed") { // a double-byte code in the allowed set
            QCOMPARE(names::isAllowedDoubleByte(c[1].toUShort(nullptr, 0)), c[2] == "1");
        } else if (c[0] == "filter") {
            QCOMPARE(names::filterAllowed(c[1]), c[2]);
        } else { // the key filter: text so far, key, in the title, accepted
            QCOMPARE(names::acceptKey(c[1], char32_t(c[2].toUInt(nullptr, 16)), c[3] == "1"),
                     c[4] == "1");
        }
    }
};

QTEST_GUILESS_MAIN(NameCodecTest)
#include "tst_namecodec.moc"
