// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Controls.h"
#include "Form.h"

/// A task window: one of the windows the main window's navigation shows one at a time.
class TaskForm : public Form {
    Q_OBJECT
public:
    using Form::Form;

protected:
    /// Writes the program's one status line, in the main window.
    static void setStatus(const QString& text);

    /// Hides this window, then shows T.
    template <class T> void hideAndShow() {
        hide();
        Forms::get<T>().show();
    }

    /// The Previous and Next picture buttons every task window has.
    static PictureButton* makeBackButton(QWidget* parent);
    static PictureButton* makeNextButton(QWidget* parent);
};
