// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlaceholderForm.h"

#include "Screen.h"

#include <QHBoxLayout>

PlaceholderForm::PlaceholderForm(const QString& name, const QString& caption, const QString& status,
                                 std::function<void()> back, std::function<void()> next)
    : TaskForm(name), caption_(caption), status_(status), back_(std::move(back)),
      next_(std::move(next)) {}

void PlaceholderForm::Form_Load() {
    QWidget* w = window();
    w->setWindowTitle(caption_);
    w->setWindowIcon(QIcon(picture(QStringLiteral("chart"))));
    auto* row = new QHBoxLayout(w);
    CmdBack = makeBackButton(w);
    CmdExit = makeNextButton(w);
    for (PictureButton* b : {CmdBack, CmdExit}) {
        b->setFixedSize(twips(615), twips(615));
        row->addWidget(b);
    }
    connect(CmdBack, &QToolButton::clicked, this, &PlaceholderForm::CmdBack_Click);
    connect(CmdExit, &QToolButton::clicked, this, &PlaceholderForm::CmdExit_Click);
    w->resize(twips(4000), twips(1500));
}

void PlaceholderForm::Form_Activate() {
    setStatus(status_);
}
