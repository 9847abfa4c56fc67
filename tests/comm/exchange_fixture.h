// The exchange routines wired to a scripted controller over a pseudo-terminal, with a recording
// stand-in for the main window.
#pragma once

#include "comm/exchange.h"
#include "fake_controller.h"
#include "fake_host.h"
#include "pty_line.h"

#include <gtest/gtest.h>

#include <memory>

class ExchangeLine : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(line.ok());
        peer = std::make_unique<testline::ScriptedPeer>(line.peerSide(), ctl.handler());
        ASSERT_TRUE(peer->ok());
        comm.setDeviceOverride(line.programSide());
        comm.setCom_TimeOut(300);
        ASSERT_TRUE(comm.Com_Open());
    }
    void TearDown() override { peer.reset(); }
    peer::Decoded last()
    {
        const auto s = peer->seen();
        return s.empty() ? peer::Decoded{} : s.back().request;
    }

    testline::PtyPair line;
    testline::FakeController ctl;
    std::unique_ptr<testline::ScriptedPeer> peer;
    qmx::Velder_Comm comm;
    qmx::QmxData data;
    FakeHost host;
    qmx::Exchange ex{data, comm, host};

    // What the controller saw, as (command, register, data) texts: "P 0000 8217", "q FC30 0064".
    QStringList wire()
    {
        QStringList out;
        for (const auto& s : peer->seen()) {
            const auto& r = s.request;
            // Maker commands by their character; Modbus ones as "A03"/"R06" (framing + function).
            QString cmd;
            if (r.kind == peer::Decoded::Maker)
                cmd = r.command == ' ' ? QStringLiteral("_") : QString(QChar(r.command));
            else
                cmd = QLatin1String(r.kind == peer::Decoded::Ascii ? "A" : "R") +
                      QStringLiteral("%1").arg(r.command, 2, 16, QChar(u'0'));
            out << QStringLiteral("%1 %2 %3").arg(cmd, r.reg, r.data).trimmed();
        }
        return out;
    }
};
