#include "ui/chart/velder_chartctl.h"

#include "model/qmx_data.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace qmx {

namespace {
const char* const kNames[4] = {"PV", "SV", "MV1", "MV2"};
}

Velder_ChartCtl::Velder_ChartCtl(QWidget* parent) : QWidget(parent)
{
    auto* outer = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    for (int i = 0; i < 4; ++i) {
        caption_[size_t(i)] = new QLabel(QLatin1String(kNames[i]), this);
        auto* v = new QLabel(this);
        v->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        v->setMinimumWidth(90);
        v->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        v->setContentsMargins(4, 1, 4, 1);
        QPalette pal = v->palette();
        pal.setColor(QPalette::Window, Qt::white);
        v->setPalette(pal);
        v->setAutoFillBackground(true);
        value_[size_t(i)] = v;
        row->addWidget(caption_[size_t(i)]);
        row->addWidget(v);
        row->addSpacing(16);
    }
    row->addStretch(1);
    outer->addLayout(row);
    outer->addStretch(1);
    color_set();
    refreshLabels();
}

void Velder_ChartCtl::setPv0Caption(const QString& v)
{
    pv_ = v;
    // "----U"/"----D" (over or under range) and "---- " show only the dashes.
    value_[0]->setText(v.startsWith(QLatin1String("----")) ? QStringLiteral("----") : v);
}

void Velder_ChartCtl::setSv0Caption(const QString& v)
{
    sv_ = v;
    value_[1]->setText(v);
}

void Velder_ChartCtl::setMv1Caption(const QString& v)
{
    mv1_ = v;
    value_[2]->setText(v);
}

void Velder_ChartCtl::setMv2Caption(const QString& v)
{
    mv2_ = v;
    value_[3]->setText(v);
}

void Velder_ChartCtl::setChartMaxCh(int v)
{
    maxCh_ = v;
    refreshLabels();
}

void Velder_ChartCtl::refreshLabels()
{
    const bool mv2 = data_ && data_->OptSet_HeatCool == 1;
    for (int i = 0; i < 4; ++i) {
        const bool shown = i < 3 || mv2;
        caption_[size_t(i)]->setVisible(shown);
        value_[size_t(i)]->setVisible(shown);
    }
}

void Velder_ChartCtl::auto_run()
{
    running_ = !running_;
    update();
}

void Velder_ChartCtl::color_set()
{
    for (int i = 0; i < 4; ++i) {
        QPalette p = caption_[size_t(i)]->palette();
        p.setColor(QPalette::WindowText, penColor_[size_t(i)]);
        caption_[size_t(i)]->setPalette(p);
        QFont f = caption_[size_t(i)]->font();
        f.setBold(true);
        caption_[size_t(i)]->setFont(f);
    }
    update();
}

void Velder_ChartCtl::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const int top = value_[0]->geometry().bottom() + 12;
    const QRect plot = rect().adjusted(12, top, -12, -12);
    if (plot.height() < 20)
        return;
    p.fillRect(plot, Qt::white);
    p.setPen(QColor(0xd8, 0xd8, 0xd8));
    for (int i = 1; i < 10; ++i) {
        const int y = plot.top() + plot.height() * i / 10;
        p.drawLine(plot.left(), y, plot.right(), y);
    }
    for (int i = 1; i < 12; ++i) {
        const int x = plot.left() + plot.width() * i / 12;
        p.drawLine(x, plot.top(), x, plot.bottom());
    }
    p.setPen(Qt::gray);
    p.drawRect(plot.adjusted(0, 0, -1, -1));
}

} // namespace qmx
