// SPDX-License-Identifier: GPL-3.0-or-later
#include "MsgBox.h"

#include <QApplication>
#include <QMessageBox>

namespace {
MsgBoxHook& hook() {
    static MsgBoxHook h;
    return h;
}
} // namespace

void setMsgBoxHook(MsgBoxHook h) {
    hook() = std::move(h);
}

MsgAnswer MsgBox(const QString& text, MsgButtons buttons, MsgIcon icon) {
    if (hook()) return hook()({text, buttons, icon});

    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(QApplication::applicationName());
    box.setText(text);
    box.setIcon(icon == MsgIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon);
    if (buttons == MsgButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MsgAnswer::Ok;
}
