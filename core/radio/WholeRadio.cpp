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
// when the main link's is), the same port.
SerialLink windowLink(const SerialLink &link) {
    return SerialLink(link.sharedPortSettings(),
                      qMin(SerialLink::kWindowReplyTimeoutMs, link.replyTimeout()));
}

TransferResult readUserCharacters(RadioDocument &doc, const SerialLink &link, TransferHost &host) {
    SerialLink fontLink = windowLink(link);
    FontTransfer transfer(doc.font, fontLink, host);
    transfer.setQuiet(true);
    return transfer.readAll();
}

TransferResult readGroupsStep(RadioDocument &doc, const SerialLink &link, TransferHost &host) {
    SerialLink groupLink = windowLink(link);
    return readGroups(doc.groups, groupLink, host, true, &doc.banks);
}

} // namespace

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
             host.processEvents();
             clearEmptyRows(doc.channels, &host);
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
         [&] { return steps.groups ? steps.groups() : readGroupsStep(doc, link, host); }},
    };
    for (const auto &[name, run] : plan) {
        sequence.step(name, run);
        if (sequence.closed()) {
            result.closing = true;
            return result;
        }
    }
    result.failedSteps = sequence.failedSteps();
    sequence.finish();
    return result;
}

WholeRadioResult writeAll(RadioDocument &doc, SerialLink &link, TransferHost &host, bool glyphs) {
    WholeRadioResult result;
    Sequence sequence(link, host);
    if (!sequence.begin()) return result;
    result.started = true;
    // The groups and the user characters follow the settings without a new
    // identification, as one last step (named after the stage that failed).
    QString lastStep = kGroupsStep;
    const auto groupsAndCharacters = [&] {
        Operation op(link, host);
        if (!op.begin()) return op.result();
        for (int block = 0; block < 2; ++block)
            if (!op.retry(kGroupAttempts, [&] { return writeGroupBlock(doc.groups, link, block); }))
                return op.result();
        if (glyphs) {
            lastStep = kUserCharactersStep;
            host.stepStarted(lastStep);
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
    const TransferResult last = sequence.step(lastStep, groupsAndCharacters);
    if (sequence.closed()) {
        result.closing = true;
        return result;
    }
    result.failedSteps = sequence.failedSteps();
    if (succeeded(last)) host.message(kSuccessText, kFinishTitle);
    sequence.finish();
    return result;
}

} // namespace kpr5
