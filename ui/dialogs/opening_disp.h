// The splash window. It paces the start: its one-second timer counts three ticks, then hands over
// to the main window and runs the first connection; after a failed model check the same timer
// retries the connection while the operator answers Retry.
#pragma once

#include <QTimer>
#include <QWidget>

class QLabel;

namespace qmx {

struct QmxData;
class MainServices;

class OpeningDisp : public QWidget {
    Q_OBJECT
public:
    // Loads at once (captions and the saved link settings) and starts its timer.
    OpeningDisp(QmxData& data, MainServices& main, QWidget* parent = nullptr);

    // Captions, then the saved link settings; the protocol found is taken to be the saved one.
    void Form_Load();
    // One tick: OpenCount 0 and 1 count, 2 hands over, 3 is the retry after a model error.
    void Timer1_Timer();

    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label4 = nullptr;
    QTimer Timer1; // 1000 ms

private:
    void handOver();
    void retry();
    // With no link yet, asks whether the controller has the serial option and searches or scans;
    // with a link, sets it up.
    void connectOrAsk();

    QmxData& d;
    MainServices& main_;
};

} // namespace qmx
