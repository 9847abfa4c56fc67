// A main window in private folders, a simulated controller on its ports, and the splash window
// that runs the first connection when the test calls its ticks.
#pragma once

#include "window_fixture.h"

#include "sim_control.h"
#include "ui/dialogs/opening_disp.h"

#include <QJsonArray>
#include <QLabel>
#include <QTimer>

#include <memory>
#include <ostream>

// Texts in failure messages as text.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

class ConnectFixture : public WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        d.Make_CommNoTbl2(); // as start-up does before the window loads
        // A box the test gave no answer for would wait for a person: close it and fail.
        watchdog.setInterval(300);
        QObject::connect(&watchdog, &QTimer::timeout, [] {
            const QString open = qmx::ui::openBoxInfo().value(QStringLiteral("text")).toString();
            if (open.isEmpty())
                return;
            ADD_FAILURE() << "unanswered box: " << open.toStdString();
            for (const char* word : {"Cancel", "No", "OK"})
                if (qmx::ui::answerOpen(QLatin1String(word)))
                    break;
        });
        watchdog.start();
    }
    void TearDown() override
    {
        watchdog.stop();
        splash.reset();
        WindowFixture::TearDown();
        sim.reset();
        qunsetenv("QMX_PORT_DIR");
    }

    // The simulator's command line after its folders; a port it does not name has no device.
    void startSim(const QString& args)
    {
        sim = std::make_unique<SimControl>(args.split(QLatin1Char(' ')));
        ASSERT_TRUE(sim->ready());
        qputenv("QMX_PORT_DIR", sim->portDir().toUtf8());
    }
    void simSet(QJsonObject fields)
    {
        fields.insert(QStringLiteral("cmd"), QStringLiteral("set"));
        fields.insert(QStringLiteral("port"), QStringLiteral("COM1"));
        sim->control(fields);
    }

    // The settings a previous run left behind: port, speed, data bits, protocol, instrument.
    void saveLink(const QStringList& v)
    {
        const auto s = qmx::openSettings();
        const char* keys[5] = {"Port", "Speed", "Databit", "Protocol", "strAdr"};
        for (int i = 0; i < 5; ++i)
            s->setValue(QLatin1String(keys[i]), v[i]);
    }
    QString saved(const char* key) const
    {
        return qmx::openSettings()->value(QLatin1String(key)).toString();
    }

    // The splash loads the saved settings; its own timer is held so the test makes the ticks.
    void handOver()
    {
        if (!splash) {
            splash = std::make_unique<qmx::OpeningDisp>(d, *w);
            splash->Timer1.stop();
        }
        for (int i = 0; i < 3; ++i)
            splash->Timer1_Timer();
    }

    QList<QJsonObject> msgs() const
    {
        QList<QJsonObject> out;
        for (const QJsonObject& o : log())
            if (o.contains(QStringLiteral("text")))
                out << o;
        return out;
    }
    QStringList boxes() const
    {
        QStringList out;
        for (const QJsonObject& o : msgs())
            out << o.value(QStringLiteral("text")).toString();
        return out;
    }
    static QString joined(std::initializer_list<int> ids)
    {
        QStringList out;
        for (int id : ids)
            out << S(id);
        return out.join(QLatin1Char('\n'));
    }
    QStringList commLabels() const
    {
        QStringList out;
        for (QLabel* l : w->Lbl_comm)
            out << l->text();
        return out;
    }
    // Every frame `port` received, understood or not.
    int received(const QString& port) const
    {
        int n = 0;
        for (const QJsonObject& e : sim->wire())
            n += e.value(QStringLiteral("dir")) == QLatin1String("rx") &&
                 e.value(QStringLiteral("port")) == port;
        return n;
    }

    std::unique_ptr<SimControl> sim;
    std::unique_ptr<qmx::OpeningDisp> splash;
    QTimer watchdog;
};
