// The trend-chart control of the trace page. The main window hands it the live texts and the chart
// settings through these properties; it shows the live values beside the plot area.
#pragma once

#include <QColor>
#include <QLabel>
#include <QWidget>

#include <array>

namespace qmx {

struct QmxData;

class Velder_ChartCtl : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Pv0Caption READ Pv0Caption WRITE setPv0Caption)
    Q_PROPERTY(QString Sv0Caption READ Sv0Caption WRITE setSv0Caption)
    Q_PROPERTY(QString Mv1Caption READ Mv1Caption WRITE setMv1Caption)
    Q_PROPERTY(QString Mv2Caption READ Mv2Caption WRITE setMv2Caption)
    Q_PROPERTY(int ChartMaxCh READ ChartMaxCh WRITE setChartMaxCh)
    Q_PROPERTY(bool running READ isRunning)
public:
    explicit Velder_ChartCtl(QWidget* parent = nullptr);

    // The control reads the option set of the screen data (whether MV2 exists).
    void setSharedData(const QmxData* data) { data_ = data; }

    QString Pv0Caption() const { return pv_; }
    void setPv0Caption(const QString& v);
    QString Sv0Caption() const { return sv_; }
    void setSv0Caption(const QString& v);
    QString Mv1Caption() const { return mv1_; }
    void setMv1Caption(const QString& v);
    QString Mv2Caption() const { return mv2_; }
    void setMv2Caption(const QString& v);
    int ChartMaxCh() const { return maxCh_; }
    void setChartMaxCh(int v);

    // Starts tracing when stopped, stops it when running.
    void auto_run();
    bool isRunning() const { return running_; }
    // Applies the pen colours to the value labels (and later the pens).
    void color_set();

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void refreshLabels();

    const QmxData* data_ = nullptr;
    QString pv_, sv_, mv1_, mv2_;
    int maxCh_ = 0;
    bool running_ = false;
    // PV, SV, MV1, MV2
    std::array<QColor, 4> penColor_{QColor(0xff, 0x30, 0x30), QColor(0x20, 0xa0, 0x20),
                                    QColor(0x30, 0x60, 0xff), QColor(0xe0, 0x90, 0x00)};
    std::array<QLabel*, 4> caption_{};
    std::array<QLabel*, 4> value_{};
    QWidget* plot_ = nullptr;
};

} // namespace qmx
