// SPDX-License-Identifier: GPL-3.0-or-later
#include "Form.h"

#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

template <Form::Leaving How> class ProbeForm : public Form {
public:
    ProbeForm() : Form(QStringLiteral("ProbeForm"), How) {}
    int loads = 0, activations = 0, unloads = 0;
    int remembered = 0; // the instance's own variable
    /// Runs `fn` as a handler of this window that may show a message box.
    template <class F> void handler(F fn) {
        const Busy busy(*this);
        fn();
    }

protected:
    void Form_Load() override { ++loads; }
    void Form_Activate() override { ++activations; }
    void Form_Unload() override { ++unloads; }
};

class OtherForm : public Form {
public:
    OtherForm() : Form(QStringLiteral("OtherForm")) {}
};

using Unloading = ProbeForm<Form::Leaving::Unload>;
using Releasing = ProbeForm<Form::Leaving::Release>;

} // namespace

TEST(FormLayer, ActivatesOncePerActivationClosesAsMadeToUnloadKeepsVariablesReleaseWaitsOnBusy) {
    Forms::releaseAll();
    Unloading& f = Forms::get<Unloading>();
    f.show();
    QApplication::processEvents(); // the window system's own activation must not count again
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(f.window(), &activate);
    f.show(); // already the active window: nothing new
    EXPECT_EQ(f.activations, 1);

    Forms::get<OtherForm>().show();
    f.show(); // a return to it from another window of the program
    Forms::get<OtherForm>().show();
    QApplication::sendEvent(f.window(), &activate); // the operator clicks back onto it
    EXPECT_EQ(f.activations, 3);
    EXPECT_EQ(Form::activeForm(), &f);
    Forms::get<OtherForm>().window()->close(); // the close box of a window made to hide
    EXPECT_TRUE(Forms::get<OtherForm>().isLoaded() && !Forms::get<OtherForm>().isVisible());

    f.remembered = 42;
    QPointer<QWidget> window = f.window();
    f.window()->close(); // ... and of one made to unload
    EXPECT_EQ(f.unloads, 1);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    f.show();
    EXPECT_EQ(f.loads, 2);
    EXPECT_EQ(f.remembered, 42);

    // Released while a handler of it shows a message box: dropped and hidden at once, deleted
    // once the handler is done.
    const QPointer<Form> old = &f;
    f.handler([&] {
        QTimer::singleShot(0, [] { Forms::release<Unloading>(); });
        QEventLoop box;
        QTimer::singleShot(20, &box, &QEventLoop::quit);
        box.exec();
        EXPECT_FALSE(Forms::exists<Unloading>() || old.isNull() || f.isVisible());
    });
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(old.isNull());
    EXPECT_EQ(Forms::get<Unloading>().remembered, 0);
    Forms::get<Releasing>().show();
    Forms::get<Releasing>().window()->close(); // the close box of a window made to release
    EXPECT_FALSE(Forms::exists<Releasing>());
    Forms::releaseAll();
}
