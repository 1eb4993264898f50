// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TaskForm.h"

#include <functional>

/// A task window whose content is not built yet: its caption, its status prompt and its
/// Previous and Next buttons, so that navigation reaches it and passes through it.
class PlaceholderForm : public TaskForm {
    Q_OBJECT
public:
    PictureButton* CmdBack = nullptr;
    PictureButton* CmdExit = nullptr;

    void CmdBack_Click() { back_(); }
    void CmdExit_Click() { next_(); }

protected:
    PlaceholderForm(const QString& name, const QString& caption, const QString& status,
                    std::function<void()> back, std::function<void()> next);
    void Form_Load() override;
    void Form_Activate() override;

private:
    QString caption_;
    QString status_;
    std::function<void()> back_;
    std::function<void()> next_;
};
