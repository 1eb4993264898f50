// SPDX-License-Identifier: GPL-3.0-or-later
#include "Form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QScreen>

#include <vector>

namespace {
QPointer<Form> s_active;
QPointer<QWidget> s_owner;
} // namespace

Form::Form(const QString& name, Leaving leaving) : name_(name), leaving_(leaving) {
    setObjectName(name);
}

Form::~Form() {
    if (s_active == this) s_active = nullptr;
    delete window_;
}

bool Form::isVisible() const {
    return window_ && window_->isVisible();
}

QWidget* Form::createWindow() {
    // Task windows are separate top-level windows that stay above the main window.
    return new QWidget(s_owner, Qt::Dialog);
}

void Form::load() {
    if (window_) return;
    window_ = createWindow();
    window_->setObjectName(name_);
    window_->installEventFilter(this);
    centred_ = false;
    Form_Load();
}

void Form::show() {
    load();
    const bool wasVisible = window_->isVisible();
    if (!centred_) {
        centreOnScreen();
        centred_ = true;
    }
    window_->show();
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) window_->raise();
    window_->activateWindow();
    // The window system may not report activation (offscreen, or a window shown while another
    // is modal), so showing raises it here; the event that follows finds it already done.
    if (!wasVisible || s_active != this) raiseActivate();
}

void Form::hide() {
    if (s_active == this) s_active = nullptr;
    if (window_) window_->hide();
}

void Form::unload() {
    if (!window_) return;
    Form_Unload();
    if (s_active == this) s_active = nullptr;
    QWidget* w = window_;
    window_ = nullptr;
    w->removeEventFilter(this);
    w->hide();
    w->deleteLater();
}

void Form::leave() {
    hide();
    if (leaving_ == Leaving::Unload) unload();
    if (leaving_ == Leaving::Release) Forms::release(*this);
}

void Form::deleteWhenIdle() {
    dropped_ = true;
    if (!isBusy()) deleteLater();
}

Form::Busy::~Busy() {
    // A release during the handler left the deletion to this point.
    if (--form_.busy_ == 0 && form_.dropped_) form_.deleteLater();
}

void Form::activate() {
    raiseActivate();
}

Form* Form::activeForm() {
    return s_active;
}

void Form::setOwnerWindow(QWidget* owner) {
    s_owner = owner;
}

void Form::raiseActivate() {
    s_active = this;
    Form_Activate();
}

void Form::centreOnScreen() {
    if (!window_) return;
    QScreen* screen = window_->screen() ? window_->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->geometry();
    const QSize size = window_->frameGeometry().size();
    window_->move(area.x() + (area.width() - size.width()) / 2,
                  area.y() + (area.height() - size.height()) / 2);
}

bool Form::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_) {
        switch (event->type()) {
        case QEvent::WindowActivate:
            if (s_active != this && window_->isVisible()) raiseActivate();
            break;
        case QEvent::WindowDeactivate:
            Form_Deactivate();
            break;
        case QEvent::Resize:
            Form_Resize();
            break;
        case QEvent::Close:
            event->ignore();
            closeRequested();
            return true;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

namespace Forms {

namespace {
std::vector<std::unique_ptr<Form>*>& registered() {
    static std::vector<std::unique_ptr<Form>*> list;
    return list;
}
} // namespace

void registerSlot(std::unique_ptr<Form>& slot) {
    registered().push_back(&slot);
}

void release(Form& form) {
    bool held = false;
    for (std::unique_ptr<Form>* s : registered()) {
        if (s->get() != &form) continue;
        (void)s->release(); // the slot lets go; the instance deletes itself below
        held = true;
    }
    form.release();
    form.hide();
    if (held) form.deleteWhenIdle();
}

void releaseAll() {
    // Later windows may refer to earlier ones, so drop them in reverse order of creation.
    auto& list = registered();
    for (auto it = list.rbegin(); it != list.rend(); ++it)
        (*it)->reset();
}

} // namespace Forms
