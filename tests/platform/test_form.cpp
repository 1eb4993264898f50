// SPDX-License-Identifier: GPL-3.0-or-later
#include "Form.h"

#include <QApplication>
#include <QPointer>
#include <gtest/gtest.h>

namespace {

class ProbeForm : public Form {
public:
    ProbeForm() : Form(QStringLiteral("ProbeForm")) {}
    int loads = 0, activations = 0, unloads = 0;
    int remembered = 0; // the instance's own variable

protected:
    void Form_Load() override { ++loads; }
    void Form_Activate() override { ++activations; }
    void Form_Unload() override { ++unloads; }
};

class OtherForm : public Form {
public:
    OtherForm() : Form(QStringLiteral("OtherForm")) {}
};

} // namespace

TEST(FormLayer, ActivatesOncePerActivationUnloadKeepsTheInstanceVariablesReleaseDropsThem) {
    Forms::releaseAll();
    ProbeForm& f = Forms::get<ProbeForm>();
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
    f.window()->close(); // the close box only hides
    f.show();
    EXPECT_EQ(f.activations, 4);
    EXPECT_EQ(f.loads, 1);

    f.remembered = 42;
    QPointer<QWidget> window = f.window();
    f.unload();
    EXPECT_EQ(f.unloads, 1);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    f.show();
    EXPECT_EQ(f.loads, 2);
    EXPECT_EQ(f.remembered, 42);

    QPointer<ProbeForm> old = &f;
    Forms::release<ProbeForm>();
    EXPECT_FALSE(f.isVisible()); // still alive until the event loop runs
    EXPECT_FALSE(Forms::exists<ProbeForm>());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(old.isNull());
    EXPECT_EQ(Forms::get<ProbeForm>().remembered, 0);
    Forms::releaseAll();
}
