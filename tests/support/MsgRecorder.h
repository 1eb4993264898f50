// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MsgBox.h"

#include <QList>
#include <QStringList>

/// Answers every message box while it lives and records what was asked.
class MsgRecorder {
public:
    MsgRecorder() {
        setMsgBoxHook([this](const MsgBoxCall& call) {
            calls.append(call);
            if (call.buttons == MsgButtons::Ok) return MsgAnswer::Ok;
            return answers.isEmpty() ? MsgAnswer::Yes : answers.takeFirst();
        });
    }
    ~MsgRecorder() { setMsgBoxHook({}); }
    MsgRecorder(const MsgRecorder&) = delete;
    MsgRecorder& operator=(const MsgRecorder&) = delete;

    QList<MsgBoxCall> calls;
    /// Answers for Yes/No questions, taken in order; Yes when empty.
    QList<MsgAnswer> answers;

    QStringList texts() const {
        QStringList list;
        for (const auto& c : calls)
            list << c.text;
        return list;
    }
    void clear() { calls.clear(); }
};
