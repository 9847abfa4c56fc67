#include "ui/dialogs/opening_disp.h"

#include "files/settings_store.h"
#include "model/qmx_data.h"
#include "model/string_table.h"
#include "ui/main_services.h"
#include "ui/ui_seam.h"
#include "ui/ui_widgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QSettings>
#include <QVBoxLayout>

namespace qmx {

OpeningDisp::OpeningDisp(QmxData& data, MainServices& main, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen), d(data), main_(main)
{
    setObjectName(QStringLiteral("OpeningDisp"));
    setWindowIcon(QIcon(productLogo(64)));
    setAutoFillBackground(true);
    setBackColor(this, colour::White);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(productLogo(96));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(QStringLiteral("QMX-400 Console Software"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    QFont big = Label2->font();
    big.setPixelSize(22);
    big.setBold(true);
    Label2->setFont(big);
    Label4 = new QLabel(QStringLiteral("DFX-QMX07K"), this);
    Label4->setObjectName(QStringLiteral("Label4"));

    auto* text = new QVBoxLayout;
    text->addStretch(1);
    text->addWidget(Label2);
    text->addWidget(Label4);
    text->addSpacing(16);
    text->addWidget(Label1);
    text->addStretch(1);
    auto* h = new QHBoxLayout(this);
    h->setContentsMargins(24, 24, 32, 24);
    h->setSpacing(24);
    h->addWidget(Image1);
    h->addLayout(text, 1);

    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setInterval(1000);
    connect(&Timer1, &QTimer::timeout, this, &OpeningDisp::Timer1_Timer);
    // Once the program ends nothing may be retried on its behalf.
    main_.whenProgramEnds(&Timer1, [this] { Timer1.stop(); });

    Form_Load();
    Timer1.start();
}

void OpeningDisp::Form_Load()
{
    setWindowTitle(LoadResString(1));
    Label1->setText(LoadResString(2));
    readSavedLink(*openSettings(), d);
    d.ProtocolSel = d.Protocol;
}

void OpeningDisp::Timer1_Timer()
{
    // A connection, a search or one of their boxes is still running: this tick has nothing to do.
    if (main_.stepRunning() || main_.QuitRequested())
        return;
    switch (d.OpenCount) {
    case 0:
    case 1:
        ++d.OpenCount;
        break;
    case 2:
        handOver();
        break;
    case 3:
        retry();
        break;
    default:
        break;
    }
}

void OpeningDisp::handOver()
{
    Timer1.stop();
    d.OpenCount = 0;
    hide();
    main_.mainWindow()->show();
    // The connection's boxes wait for the operator; the splash may be gone when they return.
    const QPointer<OpeningDisp> self(this);
    main_.checkcommunicate1();
    if (!self || main_.QuitRequested())
        return;
    if (d.ModelErr) {
        // The retry state: loaded again, hidden, and ticking with the saved settings re-read.
        Form_Load();
        Timer1.start();
        return;
    }
    connectOrAsk();
}

void OpeningDisp::retry()
{
    Timer1.stop();
    // The operator brought the link up meanwhile (the Online button or the settings dialog): a
    // retry now would replace the working port, so the retry state ends here.
    if (d.CommSetOK || (!d.ModelErr && d.ComOK))
        return;
    if (!d.ModelRetry) {
        main_.checkcommunicate();
        return;
    }
    const QPointer<OpeningDisp> self(this);
    main_.checkcommunicate1();
    if (!self || main_.QuitRequested())
        return;
    if (d.ModelErr) {
        // Failed again with its box: the operator's answer decides the next tick.
        Timer1.start();
        return;
    }
    // The check no longer fails: the retry ends as the hand-over does.
    connectOrAsk();
}

void OpeningDisp::connectOrAsk()
{
    // The controller answered but its map file could not be used, and the operator was told so:
    // the serial option is not in question, and a search would only find the same controller.
    if (!d.ComOK && main_.mapFileUnusable())
        return;
    if (!d.ComOK) {
        const QPointer<OpeningDisp> self(this);
        const ui::Answer a =
            ui::MsgBox(LoadResString(85), ui::Buttons::YesNo, ui::Icon::Question, LoadResString(1));
        if (!self)
            return;
        if (a == ui::Answer::Yes)
            main_.checkcommunicate2();
        else
            main_.checkcommunicate();
        // The search and the scan have told the operator themselves when nothing was found.
        if (!self || !d.ComOK || main_.QuitRequested())
            return;
    }
    main_.communicate();
}

} // namespace qmx
