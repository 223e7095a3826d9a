#include "core/channels/ChannelTables.h"

namespace kpr5::channeltables {

namespace {

QString lookup(const QStringList &table, int index) {
    return (index >= 0 && index < table.size()) ? table.at(index) : kInvalidCodeText;
}

std::optional<int> find(const QStringList &table, const QString &text) {
    const qsizetype i = table.indexOf(text);
    return i < 0 ? std::nullopt : std::optional<int>(int(i));
}

QStringList buildCarrierTexts() {
    QStringList texts;
    for (int i = 0; i < kCarrierCount - 1; ++i)
        texts << QString::number(300 + 100 * i) + QStringLiteral("Hz");
    texts << QStringLiteral("\uFF2A\uFF32"); // "ＪＲ"
    return texts;
}

} // namespace

const QStringList &modeTexts() {
    static const QStringList t{QStringLiteral("NFM"), QStringLiteral("FM"), QStringLiteral("AM"),
                               QStringLiteral("WFM")};
    return t;
}

const QStringList &toneModeTexts() {
    static const QStringList t{QStringLiteral("None"), QStringLiteral("Train"),
                               QStringLiteral("Tone"), QStringLiteral("TSQ"),
                               QStringLiteral("SQ"),   QStringLiteral("DCS")};
    return t;
}

const QStringList &shiftTexts() {
    static const QStringList t{QStringLiteral("Off"), QStringLiteral("+"), QStringLiteral("-")};
    return t;
}

const QStringList &stepTexts() {
    static const QStringList t{
        QStringLiteral("5KHz"),   QStringLiteral("6.25KHz"), QStringLiteral("8.33KHz"),
        QStringLiteral("10KHz"),  QStringLiteral("12.5KHz"), QStringLiteral("15KHz"),
        QStringLiteral("20KHz"),  QStringLiteral("25KHz"),   QStringLiteral("30KHz"),
        QStringLiteral("50KHz"),  QStringLiteral("100KHz"),  QStringLiteral("125KHz"),
        QStringLiteral("150KHz"), QStringLiteral("200KHz"),  QStringLiteral("500KHz"),
        QStringLiteral("1MHz")};
    return t;
}

const QStringList &toneTexts() {
    static const QStringList t = [] {
        static const char *const hz[kToneCount] = {
            "67.0",  "69.3",  "71.9",  "74.4",  "77.0",  "79.7",  "82.5",  "85.4",
            "88.5",  "91.5",  "94.8",  "97.4",  "100.0", "103.5", "107.2", "110.9",
            "114.8", "118.8", "123.0", "127.3", "131.8", "136.5", "141.3", "146.2",
            "151.4", "156.7", "162.2", "167.9", "173.8", "179.9", "186.2", "192.8",
            "203.5", "210.7", "218.1", "225.7", "233.6", "241.8", "250.3"};
        QStringList list;
        for (const char *h : hz)
            list << QString::fromLatin1(h) + QStringLiteral("Hz");
        return list;
    }();
    return t;
}

const QStringList &dcsTexts() {
    static const QStringList t = [] {
        static const int codes[kDcsCount] = {
            023,  025,  026,  031,  032,  036,  043,  047,  051,  053,  054,  065,  071,
            072,  073,  074,  0114, 0115, 0116, 0122, 0125, 0131, 0132, 0134, 0143, 0145,
            0152, 0155, 0156, 0162, 0165, 0172, 0174, 0205, 0212, 0223, 0225, 0226, 0243,
            0244, 0245, 0246, 0251, 0252, 0255, 0261, 0263, 0265, 0266, 0271, 0274, 0306,
            0311, 0315, 0325, 0331, 0332, 0343, 0346, 0351, 0356, 0364, 0365, 0371, 0411,
            0412, 0413, 0423, 0431, 0432, 0445, 0446, 0452, 0454, 0455, 0462, 0464, 0465,
            0466, 0503, 0506, 0516, 0523, 0526, 0532, 0546, 0565, 0606, 0612, 0624, 0627,
            0631, 0632, 0654, 0662, 0664, 0703, 0712, 0723, 0731, 0732, 0734, 0743, 0754};
        QStringList list;
        for (int c : codes)
            list << QStringLiteral("%1").arg(c, 3, 8, QLatin1Char('0'));
        return list;
    }();
    return t;
}

const QStringList &carrierTexts() {
    static const QStringList t = buildCarrierTexts();
    return t;
}

QString modeText(int code) {
    return lookup(modeTexts(), code);
}
QString toneModeText(int code) {
    return lookup(toneModeTexts(), code);
}
QString stepText(int index) {
    return lookup(stepTexts(), index);
}
QString toneText(int index) {
    return lookup(toneTexts(), index);
}
QString dcsText(int index) {
    return lookup(dcsTexts(), index);
}
QString carrierText(int index) {
    return lookup(carrierTexts(), index);
}

QString shiftText(int code) {
    return (code >= 0 && code < kShiftCount) ? shiftTexts().at(code) : shiftTexts().at(0);
}

std::optional<int> modeCode(const QString &text) {
    return find(modeTexts(), text);
}
std::optional<int> toneModeCode(const QString &text) {
    return find(toneModeTexts(), text);
}
std::optional<int> shiftCode(const QString &text) {
    return find(shiftTexts(), text);
}
std::optional<int> stepIndex(const QString &text) {
    return find(stepTexts(), text);
}
std::optional<int> toneIndex(const QString &text) {
    return find(toneTexts(), text);
}
std::optional<int> dcsIndex(const QString &text) {
    return find(dcsTexts(), text);
}
std::optional<int> carrierIndex(const QString &text) {
    return find(carrierTexts(), text);
}

} // namespace kpr5::channeltables
