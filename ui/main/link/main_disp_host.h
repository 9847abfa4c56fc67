// The window side of the exchange: what the exchange routines need of the main window.
#pragma once

#include "comm/exchange_host.h"
#include "model/string_table.h"
#include "ui/main/main_disp.h"
#include "ui/ui_seam.h"
#include "ui/ui_widgets.h"

#include <QCoreApplication>
#include <QLabel>

namespace qmx {

class MainDisp::Host : public ExchangeHost {
public:
    explicit Host(MainDisp& w) : w_(w) {}

    void setStatusPanel(int panel, const QString& text) override
    {
        w_.StatusBar1->setPanel(panel, text);
    }
    void messageBox(const QString& text, Icon icon, const QString& title) override
    {
        ui::MsgBox(text, ui::Buttons::OK, toUi(icon), title);
    }
    void beep() override { ui::Beep(); }
    void showCommError() override
    {
        w_.Text_readmsg2->setText(LoadResString(451));
        w_.Text_readmsg2->setVisible(true);
    }
    void showBusyNotice(bool secondCopy) override
    {
        w_.Text_readmsg3->setVisible(true);
        if (secondCopy)
            w_.Text_readmsg5->setVisible(true);
        w_.Timer3.start();
    }
    void processEvents() override
    {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }

private:
    static ui::Icon toUi(Icon i)
    {
        switch (i) {
        case Icon::Information:
            return ui::Icon::Information;
        case Icon::Exclamation:
            return ui::Icon::Exclamation;
        case Icon::Critical:
            return ui::Icon::Critical;
        case Icon::Question:
            return ui::Icon::Question;
        case Icon::None:
            break;
        }
        return ui::Icon::None;
    }
    MainDisp& w_;
};

} // namespace qmx
