// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AppFixture.h"
#include "FakeCommPort.h"
#include "Frames.h"

#include <functional>
#include <memory>

inline const QString CommErrorText =
    QStringLiteral("A Comm Port Error Occured.  Please check the Comm Port and try again.");

/// A program on in-memory serial lines; the tests drive the windows' ticks by hand.
class LinkFormTest : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        FakeCommPort::install();
    }
    void TearDown() override {
        AppFixture::TearDown();
        FakeCommPort::uninstall();
    }
    static FakeLine& line(int number = 1) { return FakeCommPort::line(number); }

    /// A peer that answers each frame just after the tick that sent it has looked at the
    /// line, as a real one does a few milliseconds later.
    static void answerBeforeNextTick(std::function<QByteArray(const QByteArray&)> answer) {
        auto pending = std::make_shared<QByteArray>();
        line().onWrite = [pending, answer](FakeLine& l, const QByteArray& frame) {
            l.incoming += std::exchange(*pending, answer(frame));
        };
    }
    /// `store` with the four sets put in.
    static SetpointStore storeWith(SetpointStore store, const Frames::FourSets& sets) {
        for (int k = 1; k <= 4; ++k)
            Frames::StoreParameterSet(store, k, sets[k - 1]);
        return store;
    }
    /// Four sets of distinct bytes, none of them defaults.
    static Frames::FourSets distinctSets(int base = 20) {
        Frames::FourSets sets{};
        for (int i = 0; i < 40; ++i)
            sets[i / 10][i % 10] = static_cast<std::uint8_t>(base + i);
        return sets;
    }
};
