#include "ui/ui_widgets.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>

namespace qmx {

bool hiddenOnPage(const QWidget* w)
{
    const QWidget* page = w ? w->window() : nullptr;
    for (const QWidget* p = w; p && p->parentWidget(); p = p->parentWidget())
        if (p->parentWidget()->inherits("QStackedWidget")) {
            page = p;
            break;
        }
    return w && w != page && !w->isVisibleTo(page);
}

QColor colorFromBgr(uint32_t bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

void setBackColor(QWidget* w, uint32_t bgr)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colorFromBgr(bgr));
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

PanelStatusBar::PanelStatusBar(QWidget* parent) : QStatusBar(parent)
{
    setSizeGripEnabled(false);
    // Result, logging state, trace state, then the activity text, which gets what is left.
    for (int i = 0; i < 4; ++i) {
        auto* l = new QLabel(this);
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        l->setContentsMargins(4, 0, 4, 0);
        // Filled with the bar's own colour: a new text repaints the panel alone, not the window
        // and the bar beneath it.
        l->setAutoFillBackground(true);
        addPermanentWidget(l, i < 3 ? 0 : 1);
        panels_[size_t(i)] = l;
    }
    fitPanels({});
}

QSize PanelStatusBar::textSize(int i, const QString& text) const
{
    auto& known = sizes_[size_t(i - 1)];
    if (auto it = known.constFind(text); it != known.cend())
        return *it;
    // A label dressed as the panel, unparented so that asking it moves nothing on screen.
    const QLabel* panel = panels_[size_t(i - 1)];
    QLabel probe(text);
    probe.setFont(panel->font());
    probe.setFrameStyle(panel->frameStyle());
    probe.setContentsMargins(panel->contentsMargins());
    return known[text] = probe.sizeHint();
}

void PanelStatusBar::fitPanels(const std::array<QStringList, 4>& texts)
{
    for (auto& known : sizes_)
        known.clear();
    widths_ = {60, 170, 170}; // the design widths
    int height = textSize(1, QString()).height();
    for (int i = 1; i <= 4; ++i)
        for (const QString& t : texts[size_t(i - 1)]) {
            const QSize s = textSize(i, t);
            height = std::max(height, s.height());
            if (i <= 3)
                widths_[size_t(i - 1)] = std::max(widths_[size_t(i - 1)], s.width());
        }
    for (int i = 1; i <= 3; ++i) {
        QLabel* l = panels_[size_t(i - 1)];
        l->setFixedSize(std::max(widths_[size_t(i - 1)], textSize(i, l->text()).width()), height);
    }
}

QString PanelStatusBar::panel(int i) const
{
    return i >= 1 && i <= 4 ? panels_[size_t(i - 1)]->text() : QString();
}

void PanelStatusBar::setPanel(int i, const QString& text)
{
    if (i < 1 || i > 4)
        return;
    QLabel* l = panels_[size_t(i - 1)];
    if (i <= 3) {
        const int width = std::max(widths_[size_t(i - 1)], textSize(i, text).width());
        if (width != l->minimumWidth())
            l->setFixedWidth(width);
    }
    l->setText(text);
}

SteadyGroupBox::SteadyGroupBox(int width, QWidget* parent) : QGroupBox(parent)
{
    setFixedWidth(width);
}

bool SteadyGroupBox::event(QEvent* e)
{
    // A layout request reaches the box once its own layout has been laid out again: only a new
    // height of its rows concerns the layouts above.
    if (e->type() == QEvent::LayoutRequest || e->type() == QEvent::Show)
        fitHeight();
    return QGroupBox::event(e);
}

void SteadyGroupBox::fitHeight()
{
    const int h = hasHeightForWidth() ? heightForWidth(width()) : sizeHint().height();
    if (minimumHeight() != h || maximumHeight() != h)
        setFixedHeight(h);
}

GroupFrame::GroupFrame(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
}

QLabel* makeValueBox(QWidget* parent, const QString& name)
{
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setContentsMargins(4, 1, 4, 1);
    setBackColor(l, colour::White);
    return l;
}

QLabel* makeLamp(QWidget* parent, const QString& name, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setAlignment(Qt::AlignCenter);
    l->setFrameStyle(QFrame::Box | QFrame::Plain);
    l->setMinimumWidth(46);
    l->setMinimumHeight(24);
    l->setContentsMargins(3, 1, 3, 1);
    setBackColor(l, colour::White);
    return l;
}

QPixmap productLogo(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    // A controller front: dark bezel, red process display, green set-value display.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2b, 0x3a, 0x4a));
    p.drawRoundedRect(QRectF(s * 0.04, s * 0.04, s * 0.92, s * 0.92), s * 0.12, s * 0.12);
    p.setBrush(QColor(0x10, 0x10, 0x10));
    p.drawRect(QRectF(s * 0.16, s * 0.18, s * 0.68, s * 0.30));
    p.drawRect(QRectF(s * 0.16, s * 0.56, s * 0.68, s * 0.20));
    QFont f;
    f.setBold(true);
    f.setPixelSize(int(s * 0.22));
    p.setFont(f);
    p.setPen(QColor(0xff, 0x40, 0x30));
    p.drawText(QRectF(s * 0.16, s * 0.18, s * 0.68, s * 0.30), Qt::AlignCenter,
               QStringLiteral("QMX"));
    f.setPixelSize(int(s * 0.14));
    p.setFont(f);
    p.setPen(QColor(0x40, 0xe0, 0x60));
    p.drawText(QRectF(s * 0.16, s * 0.56, s * 0.68, s * 0.20), Qt::AlignCenter,
               QStringLiteral("400"));
    return pm;
}

} // namespace qmx
