#include "ui/sub_windows.h"

namespace qmx {

SubWindows::~SubWindows()
{
    for (auto& [name, w] : windows_)
        delete w.data();
}

QWidget* SubWindows::find(const QString& name) const
{
    const auto it = windows_.find(name);
    QWidget* w = it == windows_.end() ? nullptr : it->second.data();
    // A closed window waits for its deletion until the events under way have run; it is gone for
    // the operator already (a close takes its delete-on-close mark), and a click that comes
    // meanwhile gets a new window rather than one about to be deleted.
    return w && w->testAttribute(Qt::WA_DeleteOnClose) ? w : nullptr;
}

QWidget* SubWindows::open(const QString& name, const std::function<QWidget*()>& make)
{
    if (QWidget* w = find(name))
        return w;
    QWidget* w = make();
    if (!w)
        return nullptr;
    w->setObjectName(name);
    w->setAttribute(Qt::WA_DeleteOnClose);
    windows_[name] = w;
    return w;
}

void SubWindows::closeAll()
{
    for (auto& [name, w] : windows_)
        if (w)
            w->close();
}

} // namespace qmx
