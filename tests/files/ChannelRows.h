#pragma once
// Filling and reading whole channel rows in the file tests.

#include "core/channels/ChannelTable.h"
#include "core/channels/ChannelTables.h"

#include <QStringList>

namespace {

using Col = kpr5::ChannelTable::Column;

// Fills row `row` with a complete channel.
inline void setChannel(kpr5::ChannelTable &t, int row, const QString &freq, const QString &mode,
                       int step, int carrier, const QString &squelch, int tx, int rx, int dcs,
                       const QString &shift, const QString &shiftFreq, bool skip,
                       const QString &name) {
    namespace ct = kpr5::channeltables;
    const int slot = row - 1;
    t.setText(row, Col::FreqCol, freq);
    t.setText(row, Col::ModeCol, mode);
    t.setText(row, Col::StepCol, ct::stepText(step));
    t.setStepIndex(slot, quint8(step));
    t.setText(row, Col::CarrierCol, ct::carrierText(carrier));
    t.setCarrierIndex(slot, quint8(carrier));
    t.setText(row, Col::ToneModeCol, squelch);
    t.setText(row, Col::TxToneCol, ct::toneText(tx));
    t.setTxToneIndex(slot, quint8(tx));
    t.setText(row, Col::RxToneCol, ct::toneText(rx));
    t.setRxToneIndex(slot, quint8(rx));
    t.setText(row, Col::DcsCol, ct::dcsText(dcs));
    t.setDcsIndex(slot, quint8(dcs));
    t.setText(row, Col::ShiftCol, shift);
    t.setText(row, Col::ShiftFreqCol, shiftFreq);
    t.setText(row, Col::SkipCol, skip ? QStringLiteral("*") : QString());
    t.setText(row, Col::NameCol, name);
    t.setInUse(slot, 1);
}

inline QStringList rowTexts(const kpr5::ChannelTable &t, int row) {
    QStringList out;
    for (int c = 1; c <= kpr5::ChannelTable::kColumns; ++c)
        out << t.text(row, c);
    const int s = row - 1;
    out << QStringLiteral("in%1 st%2 ca%3 tx%4 rx%5 dcs%6")
               .arg(t.inUse(s))
               .arg(t.stepIndex(s))
               .arg(t.carrierIndex(s))
               .arg(t.txToneIndex(s))
               .arg(t.rxToneIndex(s))
               .arg(t.dcsIndex(s));
    return out;
}

} // namespace
