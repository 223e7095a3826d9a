#pragma once
// Helpers for tests that drive windows.

#include "SimFixture.h"
#include "gui/widgets/MessageDialog.h"

namespace kpr5::test {

// Records every message box the windows show and answers it. The
// unsaved-changes question is kept apart, in `questions`, and answered with
// `saveAnswer`.
class MessageRecorder {
public:
    explicit MessageRecorder(ui::Answer answer = ui::Answer::Ok) : m_answer(answer) {
        ui::setMessageHook([this](const ui::MessageRecord &r) {
            if (r.saveDiscardCancel) {
                questions << r;
                return saveAnswer;
            }
            records << r;
            if (onMessage) onMessage(r);
            return m_answer;
        });
    }
    ~MessageRecorder() { ui::setMessageHook(nullptr); }
    void setAnswer(ui::Answer a) { m_answer = a; }
    QStringList texts() const {
        QStringList out;
        for (const auto &m : records)
            out << m.text + QLatin1Char('|') + m.title;
        return out;
    }
    QList<ui::MessageRecord> records;
    QList<ui::MessageRecord> questions;
    ui::Answer saveAnswer = ui::Answer::Discard;
    std::function<void(const ui::MessageRecord &)> onMessage;

private:
    ui::Answer m_answer;
};

} // namespace kpr5::test
