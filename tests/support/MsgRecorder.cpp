// SPDX-License-Identifier: GPL-3.0-or-later
#include "MsgRecorder.h"

MsgRecorder::MsgRecorder() {
    setMsgBoxHook([this](const MsgBoxCall& call) {
        calls.append(call);
        if (call.buttons == MsgButtons::Ok) return MsgAnswer::Ok;
        return answers.isEmpty() ? MsgAnswer::Yes : answers.takeFirst();
    });
}

MsgRecorder::~MsgRecorder() {
    setMsgBoxHook({});
}

QStringList MsgRecorder::texts() const {
    QStringList list;
    for (const auto& c : calls)
        list << c.text;
    return list;
}
