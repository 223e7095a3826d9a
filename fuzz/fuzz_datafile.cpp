// The ".R5" data file reader. A file that was read is written out again and
// read into a fresh document: the second file must equal the first (what
// the program shows after opening a file survives saving it).
#include "FuzzSupport.h"

#include "core/document/RadioDocument.h"
#include "core/files/DataFile.h"

using namespace kpr5;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes = fuzz::bytesOf(data, size);
    RadioDocument doc;
    const DataFileResult result = readDataFile(doc, bytes);
    (void)result.message();
    if (!result.ok()) return 0;

    datafile::WriteOptions options;
    options.comPort = 3;
    options.savedAt = QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5));
    const QByteArray first = dataFileBytes(doc, options);
    (void)datafile::devicePathFromLines(datafile::dataFileLines(doc, options));

    RadioDocument again;
    KPR5_FUZZ_CHECK(readDataFile(again, first).ok());
    const QByteArray second = dataFileBytes(again, options);
    KPR5_FUZZ_CHECK(first == second);
    return 0;
}
