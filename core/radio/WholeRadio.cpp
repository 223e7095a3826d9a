#include "core/radio/WholeRadio.h"

#include "core/banks/BankTransfer.h"
#include "core/banks/GroupTransfer.h"
#include "core/channels/ChannelTransfer.h"
#include "core/common/OneTouchTransfer.h"
#include "core/common/TitleTransfer.h"
#include "core/document/RadioDocument.h"
#include "core/font/FontTransfer.h"
#include "core/font/GlyphCodec.h"
#include "core/settings/SettingsTransfer.h"

#include <memory>

namespace kpr5 {

namespace {

constexpr int kGroupAttempts = 3;
constexpr int kGlyphFailureLimit = 3;

const QString kChannelsStep = QStringLiteral("channels");
const QString kBanksStep = QStringLiteral("banks");
const QString kOneTouchStep = QStringLiteral("one-touch keys");
const QString kTitleStep = QStringLiteral("title");
const QString kSettingsStep = QStringLiteral("settings");
const QString kUserCharactersStep = QStringLiteral("user characters");
const QString kGroupsStep = QStringLiteral("groups");

// A link of the font or group window: its own 200 ms reply timer (shorter
// when the main link's is), the same port; it stops with the main link.
std::unique_ptr<SerialLink> windowLink(const SerialLink &link) {
    auto window = std::make_unique<SerialLink>(
        link.sharedPortSettings(), qMin(SerialLink::kWindowReplyTimeoutMs, link.replyTimeout()));
    window->shareStopWith(link);
    return window;
}

TransferResult readUserCharacters(RadioDocument &doc, const SerialLink &link, TransferHost &host) {
    const auto fontLink = windowLink(link);
    FontTransfer transfer(doc.font, *fontLink, host);
    transfer.setQuiet(true);
    return transfer.readAll();
}

TransferResult readGroupsStep(RadioDocument &doc, const SerialLink &link, TransferHost &host,
                              bool announce) {
    const auto groupLink = windowLink(link);
    return readGroups(doc.groups, *groupLink, host,
                      announce ? GroupReadEnding::AllDataRead : GroupReadEnding::Quiet, &doc.banks);
}

QString capitalised(const QString &s) {
    return s.isEmpty() ? s : s.at(0).toUpper() + s.mid(1);
}

// "channels failed", "stopped during channels", "port error during banks".
QString cause(const WholeRadioResult &r) {
    QStringList failed;
    for (const Sequence::Step &s : r.steps) {
        if (s.result == TransferResult::Stopped)
            return QStringLiteral("stopped during %1").arg(s.name);
        if (s.result == TransferResult::PortError)
            return QStringLiteral("port error during %1").arg(s.name);
        if (!succeeded(s.result) && s.result != TransferResult::NotStarted) failed << s.name;
    }
    return QStringLiteral("%1 failed").arg(failed.join(QStringLiteral(", ")));
}

} // namespace

QStringList WholeRadioResult::failedSteps() const {
    QStringList names;
    for (const Sequence::Step &s : steps)
        if (!succeeded(s.result)) names << s.name;
    return names;
}

bool WholeRadioResult::stopped() const {
    for (const Sequence::Step &s : steps)
        if (s.result == TransferResult::Stopped) return true;
    return false;
}

bool WholeRadioResult::portError() const {
    for (const Sequence::Step &s : steps)
        if (s.result == TransferResult::PortError) return true;
    return false;
}

void reportVerdict(TransferHost &host, const WholeRadioResult &result, bool write) {
    if (!result.started || result.closing || result.ok()) return;
    host.message(wholeRadioVerdict(result, write, true),
                 result.stopped() ? kStoppedTitle : kErrorTitle);
}

QString wholeRadioVerdict(const WholeRadioResult &r, bool write, bool multiLine) {
    QStringList done, partly, notTried, reports;
    for (const Sequence::Step &s : r.steps) {
        if (succeeded(s.result))
            done << s.name;
        else if (!s.report.isEmpty())
            reports << QStringLiteral("%1: %2").arg(s.name, s.report);
        else if (s.result == TransferResult::NotStarted)
            notTried << s.name;
        else
            partly << s.name;
    }
    QStringList lines;
    lines << QStringLiteral("%1 did not complete (%2).")
                 .arg(write ? QStringLiteral("Write All Data") : QStringLiteral("Read All Data"),
                      cause(r));
    lines << (write ? QStringLiteral("The radio now holds:")
                    : QStringLiteral("The window now holds:"));
    const QString sep = QStringLiteral(", ");
    if (!done.isEmpty())
        lines << (write ? QStringLiteral("new: %1") : QStringLiteral("from the radio: %1"))
                     .arg(done.join(sep));
    lines << reports;
    if (!partly.isEmpty())
        lines << (write ? QStringLiteral("partly new (not written completely): %1")
                        : QStringLiteral("partly from the radio (not read completely): %1"))
                     .arg(partly.join(sep));
    if (!notTried.isEmpty()) lines << QStringLiteral("as before: %1").arg(notTried.join(sep));
    if (!r.note.isEmpty()) lines << r.note;
    if (multiLine) return lines.join(QLatin1Char('\n'));
    // One line: "... (cause); the radio now holds new: a, b; as before: c".
    QString head = lines.takeFirst();
    head.chop(1);
    const QString holds = lines.takeFirst();
    if (write && !lines.isEmpty())
        lines.first().prepend(holds.toLower().chopped(1) + QLatin1Char(' '));
    return head + QStringLiteral("; ") + lines.join(QStringLiteral("; "));
}

WholeRadioResult readAll(RadioDocument &doc, SerialLink &link, TransferHost &host,
                         const WholeRadioReadSteps &steps) {
    WholeRadioResult result;
    Sequence sequence(link, host);
    if (!sequence.begin()) return result;
    result.started = true;
    const QList<QPair<QString, std::function<TransferResult()>>> plan = {
        {kChannelsStep,
         [&] {
             const TransferResult r = readChannels(doc.channels, link, host);
             if (r == TransferResult::Failed) {
                 // As after a successful read, the rows the radio reports
                 // empty are cleared among those read.
                 host.processEvents();
                 clearEmptyRows(doc.channels, &host);
             }
             return r;
         }},
        {kBanksStep, [&] { return readBanks(doc.banks, link, host); }},
        {kOneTouchStep, [&] { return readOneTouch(doc.oneTouch, doc.banks, link, host); }},
        {kTitleStep, [&] { return readTitle(doc.title, link, host); }},
        {kSettingsStep, [&] { return readSettings(doc.settings, doc.dtmf, link, host); }},
        {kUserCharactersStep,
         [&] {
             return steps.userCharacters ? steps.userCharacters()
                                         : readUserCharacters(doc, link, host);
         }},
        {kGroupsStep,
         [&] {
             // The last step's "Success ALL DATA READ" is the verdict: said
             // only when every earlier step succeeded.
             const bool announce = sequence.allSucceeded();
             return steps.groups ? steps.groups(announce)
                                 : readGroupsStep(doc, link, host, announce);
         }},
    };
    for (const auto &[name, run] : plan) {
        sequence.step(name, run);
        if (sequence.closed()) {
            result.closing = true;
            return result;
        }
    }
    result.steps = sequence.steps();
    sequence.finish();
    return result;
}

WholeRadioResult writeAll(RadioDocument &doc, SerialLink &link, TransferHost &host, bool glyphs,
                          const QString &leftOutNote) {
    WholeRadioResult result;
    Sequence sequence(link, host);
    if (!sequence.begin()) return result;
    result.started = true;
    if (!glyphs) result.note = leftOutNote;
    // The groups and the user characters follow the settings without a new
    // identification, as one last step (named after the stage that failed).
    QString lastStep = kGroupsStep;
    const auto groupsAndCharacters = [&] {
        Operation op(link, host, capitalised(lastStep));
        if (!op.begin()) return op.result();
        for (int block = 0; block < 2; ++block)
            if (!op.retry(kGroupAttempts, [&] { return writeGroupBlock(doc.groups, link, block); }))
                return op.result();
        if (glyphs) {
            lastStep = kUserCharactersStep;
            host.stepStarted(lastStep);
            op.setName(capitalised(lastStep));
            const bool written = op.repeat(FontImage::kGlyphCount, kGlyphFailureLimit, [&](int k) {
                return link.writeBlock(glyphAddress(k), encodeGlyph(doc.font, k));
            });
            if (!written) return op.result();
        }
        op.succeed();
        return op.result();
    };
    const QList<QPair<QString, std::function<TransferResult()>>> plan = {
        {kChannelsStep, [&] { return writeChannels(doc.channels, link, host); }},
        {kBanksStep, [&] { return writeBanks(doc.banks, link, host); }},
        {kOneTouchStep, [&] { return writeOneTouch(doc.oneTouch, link, host); }},
        {kTitleStep, [&] { return writeTitle(doc.title, link, host); }},
        {kSettingsStep, [&] { return writeSettings(doc.settings, doc.dtmf, link, host); }},
    };
    for (const auto &[name, run] : plan) {
        sequence.step(name, run);
        if (sequence.closed()) {
            result.closing = true;
            return result;
        }
    }
    sequence.step(lastStep, groupsAndCharacters);
    if (sequence.closed()) {
        result.closing = true;
        return result;
    }
    result.steps = sequence.steps();
    if (result.ok()) host.message(kSuccessText, kFinishTitle, result.note);
    sequence.finish();
    return result;
}

} // namespace kpr5
