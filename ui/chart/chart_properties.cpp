// The chart's fourteen properties and its stored properties.
#include "ui/chart/velder_chartctl.h"

#include "model/qmx_data.h"
#include "model/string_table.h"
#include "ui/chart/chart_canvas.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

namespace qmx {

namespace {

// The stored properties, in the order saving writes them: the default reading takes when the key
// is absent, and the default saving leaves out. The three span flags are read only for the span
// the pen files chose, each with the default True.
struct StoredProperty {
    const char* key;
    const char* readDefault;
    const char* writeDefault;
};
constexpr StoredProperty kStored[] = {
    {"Pv0Caption", "0", "0"},     {"Sv0Caption", "0", "0"},     {"Mv1Caption", "0", "0"},
    {"Mv2Caption", "0", "0"},     {"Stat0Caption", "0", "0"},   {"ChartMaxCh", "0", "0"},
    {"Charttime", "0", "0"},      {"XScaleMidole", "1", "1"},   {"YScaleLow", "0", "0"},
    {"YScaleHigh", "400", "400"}, {"XScaleShort", "1", "0"},    {"XScaleLong", "1", "0"},
    {"XScaleTime", "5", "5"},     {"YScaleDivision", "4", "4"},
};

const StoredProperty& stored(const char* key)
{
    for (const StoredProperty& p : kStored)
        if (qstrcmp(p.key, key) == 0)
            return p;
    Q_UNREACHABLE();
}

QString readText(const QVariantMap& bag, const char* key)
{
    return bag.value(QLatin1String(key), QString::fromLatin1(stored(key).readDefault)).toString();
}

int readInt(const QVariantMap& bag, const char* key)
{
    return bag.value(QLatin1String(key), QString::fromLatin1(stored(key).readDefault)).toInt();
}

bool readFlag(const QVariantMap& bag, const char* key)
{
    const QVariant v = bag.value(QLatin1String(key));
    return v.isValid() ? v.toBool() : qstrcmp(stored(key).readDefault, "1") == 0;
}

// "----U"/"----D": PV above or below its input range; "---- ": no valid PV.
enum class PvShape { Over, Under, Dashes, Value };
PvShape pvShape(const QString& t)
{
    const QString head = t.left(5);
    if (head == QLatin1String("----U"))
        return PvShape::Over;
    if (head == QLatin1String("----D"))
        return PvShape::Under;
    if (head == QLatin1String("---- "))
        return PvShape::Dashes;
    return PvShape::Value;
}

} // namespace

QVariantMap Velder_ChartCtl::mainLayoutProperties()
{
    // What the main window's layout stores for its chart; every other key is absent.
    return {{QStringLiteral("Charttime"), 200},
            {QStringLiteral("XScaleMidole"), false},
            {QStringLiteral("XScaleShort"), true}};
}

void Velder_ChartCtl::markChanged(const char* name)
{
    const QString n = QLatin1String(name);
    if (!changed_.contains(n))
        changed_ << n;
}

QStringList Velder_ChartCtl::changedProperties() const
{
    return changed_;
}

void Velder_ChartCtl::setPv0Caption(const QString& t)
{
    switch (pvShape(t)) {
    case PvShape::Over:
        pv0_ = t.left(4);
        PvValue = QString::number(YHigh);
        break;
    case PvShape::Under:
        pv0_ = t.left(4);
        PvValue = QString::number(YLow);
        break;
    case PvShape::Dashes:
        // No valid value: the last one stays the one plotted.
        pv0_ = t.left(4);
        break;
    case PvShape::Value:
        pv0_ = t;
        PvValue = t;
        break;
    }
    lblPv->setText(pv0_);
    markChanged("Pv0Caption");
    mv2RowRule();
}

void Velder_ChartCtl::setSv0Caption(const QString& t)
{
    lblSv->setText(t);
    sv0_ = t;
    SvValue = t;
    markChanged("Sv0Caption");
    mv2RowRule();
}

void Velder_ChartCtl::setMv1Caption(const QString& t)
{
    lblMv1->setText(t);
    mv1_ = t;
    Mv1Value = t;
    markChanged("Mv1Caption");
    mv2RowRule();
}

void Velder_ChartCtl::setMv2Caption(const QString& t)
{
    if (data_ && data_->OptSet_HeatCool == 1) {
        lblMv2->setText(t);
        mv2_ = t;
        Mv2Value = t;
        markChanged("Mv2Caption");
    }
    mv2RowRule();
}

void Velder_ChartCtl::mv2RowRule()
{
    const bool shown = data_ && data_->OptSet_HeatCool == 1;
    for (QWidget* w : std::initializer_list<QWidget*>{Label3[3], lblMv2, Label1[3], cmdDev[3]})
        if (w->isHidden() == shown)
            w->setVisible(shown);
}

void Velder_ChartCtl::setChartMaxCh(int v)
{
    maxCh_ = v;
    markChanged("ChartMaxCh");
    for (QLabel* l : {lblPv, lblSv, lblMv1})
        if (l->isHidden())
            l->show();
    const bool mv2 = data_ && data_->OptSet_HeatCool != 0;
    if (lblMv2->isHidden() == mv2)
        lblMv2->setVisible(mv2);
    const std::array<QLabel*, 4> labels{lblPv, lblSv, lblMv1, lblMv2};
    for (int i = 0; i < (mv2 ? 4 : 3); ++i)
        setTextColor(labels[size_t(i)], settings_.PenColor[size_t(i)]);
}

void Velder_ChartCtl::setCharttime(int ms)
{
    charttime_ = ms;
    timChart.setInterval(ms);
    markChanged("Charttime");
}

bool Velder_ChartCtl::XScaleLong() const
{
    return optLong->isChecked();
}

void Velder_ChartCtl::setXScaleLong(bool on)
{
    setOption(optLong, on);
    markChanged("XScaleLong");
}

bool Velder_ChartCtl::XScaleShort() const
{
    return optShort->isChecked();
}

void Velder_ChartCtl::setXScaleShort(bool on)
{
    setOption(optShort, on);
    markChanged("XScaleShort");
}

bool Velder_ChartCtl::XScaleMidole() const
{
    return optMidole->isChecked();
}

void Velder_ChartCtl::setXScaleMidole(bool on)
{
    setOption(optMidole, on);
    markChanged("XScaleMidole");
}

QString Velder_ChartCtl::YScaleLow() const
{
    return lblSL->text();
}

void Velder_ChartCtl::setYScaleLow(const QString& t)
{
    lblSL->setText(t);
    markChanged("YScaleLow");
    picCanbus->clearPlot();
    ScaleSet();
}

QString Velder_ChartCtl::YScaleHigh() const
{
    return lblSH->text();
}

void Velder_ChartCtl::setYScaleHigh(const QString& t)
{
    lblSH->setText(t);
    markChanged("YScaleHigh");
    picCanbus->clearPlot();
    ScaleSet();
}

QString Velder_ChartCtl::YScaleDivision() const
{
    return Lbl_Y->text();
}

void Velder_ChartCtl::setYScaleDivision(const QString& t)
{
    Lbl_Y->setText(t);
    markChanged("YScaleDivision");
    picCanbus->clearPlot();
    ScaleSet();
}

QString Velder_ChartCtl::XScaleTime() const
{
    return lblChartitv->text();
}

void Velder_ChartCtl::setXScaleTime(const QString& t)
{
    // The cycle in force changes at the next start of a run.
    lblChartitv->setText(t);
    markChanged("XScaleTime");
}

void Velder_ChartCtl::setStat0Caption(int v)
{
    stat0_ = v;
    markChanged("Stat0Caption");
}

void Velder_ChartCtl::ReadProperties(const QVariantMap& bag)
{
    const std::pair<QWidget*, int> captions[] = {
        {frmXScale, 658},     {optShort, 659},    {optMidole, 660},   {optLong, 668},
        {lblChartSpeed, 661}, {lblSec, 662},      {frmYScale, 663},   {lblHi, 664},
        {lblLo, 665},         {Label2, 675},      {cmdRUN, 666},      {cmdStop, 667},
        {lblXscal[11], 700},  {cmdChartsel, 669}, {frmChartsel, 669}, {Label1[0], 670},
        {Label1[1], 671},     {Label1[2], 672},   {Label1[3], 676},   {cmdColor[0], 677},
        {cmdColor[1], 678},   {cmdColor[2], 679}, {cmdColor[3], 680}, {cmdSelend, 674},
        {Label1_80, 553},
    };
    for (const auto& [w, id] : captions) {
        const QString text = LoadResString(id);
        if (auto* l = qobject_cast<QLabel*>(w))
            l->setText(text);
        else if (auto* b = qobject_cast<QAbstractButton*>(w))
            b->setText(text);
        else if (auto* g = qobject_cast<QGroupBox*>(w))
            g->setTitle(text);
    }
    cmdRUN->setEnabled(true);
    cmdStop->setEnabled(false);
    lblMsg->setText(LoadResString(RunState != 0 ? 92 : 91));

    // The stored values go into their fields without the effects of an assignment.
    pv0_ = readText(bag, "Pv0Caption");
    sv0_ = readText(bag, "Sv0Caption");
    mv1_ = readText(bag, "Mv1Caption");
    mv2_ = readText(bag, "Mv2Caption");
    stat0_ = readInt(bag, "Stat0Caption");
    maxCh_ = readInt(bag, "ChartMaxCh");
    charttime_ = readInt(bag, "Charttime");
    lblSL->setText(readText(bag, "YScaleLow"));
    lblSH->setText(readText(bag, "YScaleHigh"));
    lblChartitv->setText(readText(bag, "XScaleTime"));
    Lbl_Y->setText(readText(bag, "YScaleDivision"));

    // The MV2 row follows the option set from the start, before the first live value arrives.
    mv2RowRule();

    // Only the option of the span the pen files chose is read.
    switch (settings_.ChartXMode) {
    case 0:
        setOption(optShort, readFlag(bag, "XScaleShort"));
        break;
    case 1:
        setOption(optLong, readFlag(bag, "XScaleLong"));
        break;
    default:
        setOption(optMidole, readFlag(bag, "XScaleMidole"));
        break;
    }
}

QVariantMap Velder_ChartCtl::WriteProperties() const
{
    const QVariantMap values{
        {QStringLiteral("Pv0Caption"), pv0_},
        {QStringLiteral("Sv0Caption"), sv0_},
        {QStringLiteral("Mv1Caption"), mv1_},
        {QStringLiteral("Mv2Caption"), mv2_},
        {QStringLiteral("Stat0Caption"), QString::number(stat0_)},
        {QStringLiteral("ChartMaxCh"), QString::number(maxCh_)},
        {QStringLiteral("Charttime"), QString::number(charttime_)},
        {QStringLiteral("XScaleMidole"), optMidole->isChecked() ? "1" : "0"},
        {QStringLiteral("YScaleLow"), lblSL->text()},
        {QStringLiteral("YScaleHigh"), lblSH->text()},
        {QStringLiteral("XScaleShort"), optShort->isChecked() ? "1" : "0"},
        {QStringLiteral("XScaleLong"), optLong->isChecked() ? "1" : "0"},
        {QStringLiteral("XScaleTime"), lblChartitv->text()},
        {QStringLiteral("YScaleDivision"), Lbl_Y->text()},
    };
    QVariantMap out;
    for (const StoredProperty& p : kStored) {
        const QString v = values.value(QLatin1String(p.key)).toString();
        if (v != QLatin1String(p.writeDefault))
            out.insert(QLatin1String(p.key), v);
    }
    return out;
}

} // namespace qmx
