// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Controls.h"
#include "Form.h"

#include <QHBoxLayout>

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

    /// Shows T, then unloads this window (the graph windows rebuild at every visit).
    template <class T> void showAndUnload() {
        Forms::get<T>().show();
        unload();
    }

    /// Fixes a window of buttons at the size its controls need, and at least as wide as its
    /// caption needs in the title bar beside the window's icon and buttons.
    static void fixSizeForCaption(QWidget* window);

    /// The Previous and Next picture buttons every task window has.
    static PictureButton* makeBackButton(QWidget* parent);
    static PictureButton* makeNextButton(QWidget* parent,
                                         const QString& tooltip = QStringLiteral("Next Form"));
    /// A bottom row of square picture buttons: Previous on the left, `next` on the right.
    static QHBoxLayout* makeNavigationRow(QWidget* parent, PictureButton*& back,
                                          PictureButton*& next, const QString& nextTooltip);
};
