#include "ui/display_apply.h"

#include "ui/ui_widgets.h"

#include <QAbstractButton>
#include <QLabel>
#include <QRegularExpression>

namespace qmx {

void DisplayApplier::bind(QWidget* root)
{
    for (auto& v : widgets_)
        v.clear();
    static const QRegularExpression element(QStringLiteral("^(\\w+)\\((\\d+)\\)$"));
    const auto all = root->findChildren<QWidget*>();
    for (size_t c = 0; c < widgets_.size(); ++c) {
        const Ctl ctl = static_cast<Ctl>(c);
        const QString name = QString::fromLatin1(ctlName(ctl));
        auto& cells = widgets_[c];
        for (QWidget* w : all) {
            const QString on = w->objectName();
            if (!ctlIsArray(ctl)) {
                if (on == name)
                    cells.assign(1, w);
                continue;
            }
            const auto m = element.match(on);
            if (!m.hasMatch() || m.captured(1) != name)
                continue;
            const int i = m.captured(2).toInt();
            if (static_cast<size_t>(i) >= cells.size())
                cells.resize(static_cast<size_t>(i) + 1, nullptr);
            cells[static_cast<size_t>(i)] = w;
        }
    }
}

QWidget* DisplayApplier::widget(Ctl c, int index) const
{
    const auto& cells = widgets_[static_cast<size_t>(c)];
    const size_t i = index < 0 ? 0 : static_cast<size_t>(index);
    return i < cells.size() ? cells[i] : nullptr;
}

void DisplayApplier::apply(const DisplayOps& ops)
{
    for (const DisplayOp& op : ops.ops()) {
        QWidget* w = widget(op.ctl, op.index);
        if (!w)
            continue; // a control this window does not have
        switch (op.prop) {
        case Prop::Visible:
            if (w->isHidden() == bool(op.value))
                w->setVisible(op.value != 0);
            break;
        case Prop::Enabled:
            // The own state, not the one inherited from a switched-off group.
            if (w->testAttribute(Qt::WA_ForceDisabled) == bool(op.value))
                w->setEnabled(op.value != 0);
            break;
        case Prop::Text:
            if (auto* l = qobject_cast<QLabel*>(w)) {
                if (l->text() != op.text)
                    l->setText(op.text);
            } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
                if (b->text() != op.text)
                    b->setText(op.text);
            }
            break;
        case Prop::BackColor:
            if (!w->autoFillBackground() ||
                w->palette().color(QPalette::Window) != colorFromBgr(op.value))
                setBackColor(w, op.value);
            break;
        }
    }
}

} // namespace qmx
