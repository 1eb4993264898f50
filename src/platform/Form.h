// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>

class Form;
namespace Forms {
void release(Form& form);
}

/// A window of the program: one instance whose own variables outlive its controls.
///
/// show: load if needed, then make visible; activation follows. hide: invisible, nothing
/// stops. unload: the controls are destroyed and built afresh at the next load. release:
/// the instance is dropped (`Forms::release`). Activation (Form_Activate) runs once each time
/// the window becomes the program's active window.
class Form : public QObject {
    Q_OBJECT
public:
    /// What a window does when it leaves the screen: its close box, or the main window
    /// clearing the task windows away.
    enum class Leaving { Hide, Unload, Release };

    explicit Form(const QString& name, Leaving leaving = Leaving::Hide);
    ~Form() override;

    QWidget* window() const { return window_; }
    bool isLoaded() const { return window_ != nullptr; }
    bool isVisible() const;

    void load();
    void show();
    void hide();
    void unload();
    /// Hides the window, then unloads or releases it as it was made to leave.
    void leave();
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
    /// The close box: the window leaves (`leave`) unless a form wants otherwise.
    virtual void closeRequested() { leave(); }
    /// Creates the top-level widget the controls are built into.
    virtual QWidget* createWindow();
    /// Centres the window on its screen (as every window is, when first shown).
    void centreOnScreen();

    /// Held by a handler that may run a nested event loop (a message box): the instance
    /// released meanwhile lives on until the handler is done with it.
    class Busy {
    public:
        explicit Busy(Form& form) : form_(form) { ++form_.busy_; }
        ~Busy();
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;

    private:
        Form& form_;
    };
    bool isBusy() const { return busy_ > 0; }

private:
    friend void Forms::release(Form& form);
    /// Deletes the dropped instance once no `Busy` handler of it is on the stack any more.
    void deleteWhenIdle();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void raiseActivate();

    QString name_;
    QPointer<QWidget> window_; // the main window may own it and delete it first
    bool centred_ = false;
    Leaving leaving_;
    int busy_ = 0;
    bool dropped_ = false;
};

/// The one global instance of each window, created on first use.
namespace Forms {

/// Registers a slot, so that `release` can find an instance's slot and `releaseAll` can
/// empty every slot at exit.
void registerSlot(std::unique_ptr<Form>& slot);

template <class T> std::unique_ptr<Form>& slot() {
    static std::unique_ptr<Form> instance;
    return instance;
}

template <class T> T& get() {
    auto& s = slot<T>();
    if (!s) {
        static const bool registered = (registerSlot(s), true);
        (void)registered;
        s = std::make_unique<T>();
    }
    return static_cast<T&>(*s);
}

template <class T> bool exists() {
    return slot<T>() != nullptr;
}

/// Drops `form` if it is still the instance of its slot: it stops its work and hides now; it
/// is destroyed once the event loop is back where it was and no handler of it is busy. An
/// instance dropped already only stops and hides again.
void release(Form& form);

template <class T> void release() {
    if (auto& s = slot<T>()) release(*s);
}

/// Destroys every instance; called before the application object goes away.
void releaseAll();

} // namespace Forms
