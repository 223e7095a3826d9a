#include "core/radio/WholeRadio.h"

#include "core/banks/BankTransfer.h"
#include "core/banks/GroupTransfer.h"
#include "core/channels/ChannelTransfer.h"
#include "core/common/OneTouchTransfer.h"
#include "core/common/TitleTransfer.h"
#include "core/document/RadioDocument.h"
#include "core/font/GlyphCodec.h"
#include "core/settings/SettingsTransfer.h"

namespace kpr5 {

namespace {

struct Step {
    const char *name;
    std::function<bool()> run;
};

// Runs the steps quietly, one after the other; false when the window closed.
bool runSteps(const QList<Step> &steps, SerialLink &link, TransferHost &host,
              WholeRadioResult &result) {
    for (const Step &step : steps) {
        link.state.completionMode = 1;
        link.state.transferBusy = 0;
        host.stepStarted(QLatin1String(step.name));
        const bool ok = step.run();
        if (link.closing()) {
            result.closing = true;
            link.state.transferBusy = 0;
            host.closeWindow();
            return false;
        }
        if (!ok) result.failedSteps << QLatin1String(step.name);
    }
    return true;
}

} // namespace

WholeRadioResult readAll(RadioDocument &doc, SerialLink &link, TransferHost &host,
                         const WholeRadioStep &fontStep, const WholeRadioStep &groupStep) {
    WholeRadioResult result;
    if (link.state.transferBusy != 0 || link.closing()) return result;
    result.started = true;
    const QList<Step> steps = {
        {"channels",
         [&] {
             const bool ok = readChannels(doc.channels, link, host);
             host.processEvents();
             clearEmptyRows(doc.channels, &host);
             return ok;
         }},
        {"banks", [&] { return readBanks(doc.banks, link, host); }},
        {"one-touch keys", [&] { return readOneTouch(doc.oneTouch, doc.banks, link, host); }},
        {"title", [&] { return readTitle(doc.title, link, host); }},
        {"settings", [&] { return readSettings(doc.settings, doc.dtmf, link, host); }},
        {"user characters", [&] { return fontStep ? fontStep() : true; }},
        {"groups", [&] { return groupStep ? groupStep() : true; }},
    };
    if (!runSteps(steps, link, host, result)) return result;
    link.state.completionMode = 0;
    finishTransfer(link, host);
    link.state.transferBusy = 0;
    return result;
}

WholeRadioResult writeAll(RadioDocument &doc, SerialLink &link, TransferHost &host, bool glyphs) {
    WholeRadioResult result;
    if (link.state.transferBusy != 0 || link.closing()) return result;
    result.started = true;
    const QList<Step> steps = {
        {"channels", [&] { return writeChannels(doc.channels, link, host); }},
        {"banks", [&] { return writeBanks(doc.banks, link, host); }},
        {"one-touch keys", [&] { return writeOneTouch(doc.oneTouch, link, host); }},
        {"title", [&] { return writeTitle(doc.title, link, host); }},
        {"settings", [&] { return writeSettings(doc.settings, doc.dtmf, link, host); }},
    };
    if (!runSteps(steps, link, host, result)) return result;

    // The groups and the user characters follow without a new identification.
    Operation op(link, host, 303);
    link.state.transferBusy = 303;
    link.state.failureCount = 0;
    const auto stage = [&](const char *name, const std::function<Outcome()> &exchange) {
        if (op.retry(3, exchange)) return true;
        if (!op.ended()) op.fail();
        link.state.completionMode = 0;
        if (link.closing())
            result.closing = true;
        else
            result.failedSteps << QLatin1String(name);
        return false;
    };
    link.state.completionMode = 0;
    host.stepStarted(QStringLiteral("groups"));
    if (!stage("groups", [&] { return writeGroupBlock(doc.groups, link, 0); }) ||
        !stage("groups", [&] { return writeGroupBlock(doc.groups, link, 1); }))
        return result;

    if (glyphs) {
        host.stepStarted(QStringLiteral("user characters"));
        link.state.failureCount = 0;
        int k = 0;
        while (k < 8 && link.state.failureCount < 3) {
            const Outcome o = link.writeBlock(glyphAddress(k), encodeGlyph(doc.font, k));
            if (op.endedBy(o)) {
                if (link.closing())
                    result.closing = true;
                else
                    result.failedSteps << QStringLiteral("user characters");
                return result;
            }
            if (o == Outcome::Accepted)
                ++k;
            else
                ++link.state.failureCount;
        }
        if (k < 8) {
            op.fail();
            link.state.completionMode = 0;
            result.failedSteps << QStringLiteral("user characters");
            return result;
        }
    }
    op.succeed();
    return result;
}

} // namespace kpr5
