// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

/// A window of the program: one instance whose own variables outlive its controls.
///
/// show: load if needed, then make visible; activation follows. hide: invisible, nothing
/// stops. unload: the controls are destroyed and built afresh at the next load. Activation
/// (Form_Activate) runs once each time the window becomes the program's active window.
class Form : public QObject {
    Q_OBJECT
public:
    explicit Form(const QString& name);
    ~Form() override;

    QWidget* window() const { return window_; }
    bool isLoaded() const { return window_ != nullptr; }
    bool isVisible() const;

    void load();
    void show();
    void hide();
    void unload();
    /// Raises the activation as the window system does when this window becomes active.
    void activate();

    /// The form that was activated last and is still visible.
    static Form* activeForm();
    /// The window that windows created from now on stay above: the main window hands itself
    /// in when it is made. Windows made before it, or after it is gone, have no owner.
    static void setOwnerWindow(QWidget* owner);

    /// Stops whatever the instance runs (timers, ports) when it is dropped for good.
    virtual void release() {}

protected:
    /// Builds the window and its controls; the window is created for it.
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    /// The window system took the focus away from this window.
    virtual void Form_Deactivate() {}
    /// Runs before the controls are destroyed.
    virtual void Form_Unload() {}
    /// The window's size changed (by the operator, the window system or the program).
    virtual void Form_Resize() {}
    /// The close box: hides the window unless a form wants otherwise.
    virtual void closeRequested() { hide(); }
    /// Creates the top-level widget the controls are built into.
    virtual QWidget* createWindow();
    /// Centres the window on its screen (as every window is, when first shown).
    void centreOnScreen();

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void raiseActivate();

    QString name_;
    QPointer<QWidget> window_; // the main window may own it and delete it first
    bool centred_ = false;
};

/// The one global instance of each window, created on first use.
namespace Forms {

/// Registers a slot's release so that `releaseAll` can drop every instance at exit.
void registerSlot(std::function<void()> releaser);

template <class T> std::unique_ptr<T>& slot() {
    static std::unique_ptr<T> instance;
    return instance;
}

template <class T> T& get() {
    auto& s = slot<T>();
    if (!s) {
        static const bool registered = (registerSlot([] {
                                            if (auto& p = slot<T>()) p.reset();
                                        }),
                                        true);
        (void)registered;
        s = std::make_unique<T>();
    }
    return *s;
}

template <class T> bool exists() {
    return slot<T>() != nullptr;
}

/// Drops the instance: it stops its work and hides now; it is destroyed once the event loop
/// is back where it was (a handler of it may still be on the stack).
template <class T> void release() {
    auto& s = slot<T>();
    if (!s) return;
    T* old = s.release();
    old->release();
    old->hide();
    old->deleteLater();
}

/// Destroys every instance; called before the application object goes away.
void releaseAll();

} // namespace Forms
