// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

enum class MsgButtons { Ok, YesNo };
enum class MsgIcon { None, Exclamation };
enum class MsgAnswer { Ok, Yes, No };

struct MsgBoxCall {
    QString text;
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
};

/// A modal message box under the program's title.
MsgAnswer MsgBox(const QString& text, MsgButtons buttons = MsgButtons::Ok,
                 MsgIcon icon = MsgIcon::None);

/// Tests answer message boxes here instead of on screen; an empty hook restores the screen.
using MsgBoxHook = std::function<MsgAnswer(const MsgBoxCall&)>;
void setMsgBoxHook(MsgBoxHook hook);
