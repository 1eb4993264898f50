// SPDX-License-Identifier: GPL-3.0-or-later
#include "Form.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <gtest/gtest.h>

namespace {

class ProbeForm : public Form {
public:
    ProbeForm() : Form(QStringLiteral("ProbeForm")) { ++created; }
    ~ProbeForm() override { --created; }

    QLabel* label = nullptr;
    int loads = 0;
    int activations = 0;
    int unloads = 0;
    bool released = false;
    int remembered = 0; // the instance's own variable

    void release() override { released = true; }
    using Form::activate;

    static inline int created = 0;

protected:
    void Form_Load() override {
        ++loads;
        label = new QLabel(QStringLiteral("probe"), window());
    }
    void Form_Activate() override { ++activations; }
    void Form_Unload() override { ++unloads; }
};

class OtherForm : public Form {
public:
    OtherForm() : Form(QStringLiteral("OtherForm")) {}
};

class FormLayer : public ::testing::Test {
protected:
    void SetUp() override { Forms::releaseAll(); }
    void TearDown() override { Forms::releaseAll(); }
};

} // namespace

TEST_F(FormLayer, ShowLoadsOnceAndActivatesOncePerActivation) {
    ProbeForm& f = Forms::get<ProbeForm>();
    EXPECT_FALSE(f.isLoaded());
    f.show();
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.loads, 1);
    EXPECT_EQ(f.activations, 1);
    QApplication::processEvents(); // the window system's own activation must not count again
    EXPECT_EQ(f.activations, 1);
    f.show(); // already the active window: nothing new
    EXPECT_EQ(f.activations, 1);

    Forms::get<OtherForm>().show();
    f.show(); // a return to it from another window of the program
    EXPECT_EQ(f.activations, 2);
    f.hide();
    f.show();
    EXPECT_EQ(f.activations, 3);
    EXPECT_EQ(f.loads, 1);
}

TEST_F(FormLayer, HideStopsNothingAndUnloadKeepsTheInstanceVariables) {
    ProbeForm& f = Forms::get<ProbeForm>();
    f.show();
    f.remembered = 42;
    QPointer<QLabel> label = f.label;
    f.hide();
    EXPECT_FALSE(f.isVisible());
    EXPECT_TRUE(f.isLoaded());
    EXPECT_FALSE(f.released);

    f.unload();
    EXPECT_FALSE(f.isLoaded());
    EXPECT_EQ(f.unloads, 1);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(label.isNull());
    f.show();
    EXPECT_EQ(f.loads, 2);
    EXPECT_EQ(f.remembered, 42);
    EXPECT_EQ(&Forms::get<ProbeForm>(), &f);
}

TEST_F(FormLayer, ReleaseDropsTheInstanceAfterStoppingIt) {
    ProbeForm& f = Forms::get<ProbeForm>();
    f.show();
    f.remembered = 7;
    EXPECT_EQ(ProbeForm::created, 1);
    Forms::release<ProbeForm>();
    EXPECT_TRUE(f.released); // still alive until the event loop runs
    EXPECT_FALSE(f.isVisible());
    EXPECT_FALSE(Forms::exists<ProbeForm>());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(ProbeForm::created, 0);

    ProbeForm& fresh = Forms::get<ProbeForm>();
    EXPECT_EQ(fresh.remembered, 0);
    EXPECT_FALSE(fresh.isLoaded());
}

TEST_F(FormLayer, CloseBoxHidesAndActivationEventsAreCountedOnce) {
    ProbeForm& f = Forms::get<ProbeForm>();
    f.show();
    f.window()->close();
    EXPECT_TRUE(f.isLoaded());
    EXPECT_FALSE(f.isVisible());

    f.show();
    const int before = f.activations;
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(f.window(), &activate); // already active: no second activation
    EXPECT_EQ(f.activations, before);
    Forms::get<OtherForm>().show();
    QApplication::sendEvent(f.window(), &activate); // the operator clicks back onto it
    EXPECT_EQ(f.activations, before + 1);
    EXPECT_EQ(Form::activeForm(), &f);
}
