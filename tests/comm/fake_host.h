// A recording stand-in for the main window: what the exchange showed, in order.
#pragma once

#include "comm/exchange_host.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QStringList>

class FakeHost : public qmx::ExchangeHost {
public:
    struct Box {
        QString text;
        Icon icon;
        QString title;
    };

    void setStatusPanel(int panel, const QString& text) override
    {
        events << QStringLiteral("panel%1=%2").arg(panel).arg(text);
        if (panel == 1)
            panel1 = text;
        else if (panel == 4)
            panel4 = text;
    }
    void messageBox(const QString& text, Icon icon, const QString& title) override
    {
        boxes.push_back({text, icon, title});
        events << QStringLiteral("box");
    }
    void beep() override
    {
        ++beeps;
        events << QStringLiteral("beep");
    }
    void showCommError() override
    {
        ++commErrors;
        events << QStringLiteral("commError");
    }
    void showBusyNotice(bool secondCopy) override
    {
        ++busyNotices;
        busySecondCopy = secondCopy;
        events << QStringLiteral("busy");
    }
    void processEvents() override
    {
        ++eventRounds;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }

    QString panel1 = QStringLiteral("(unset)");
    QString panel4 = QStringLiteral("(unset)");
    std::vector<Box> boxes;
    int beeps = 0;
    int commErrors = 0;
    int busyNotices = 0;
    bool busySecondCopy = false;
    int eventRounds = 0;
    QStringList events;
};
