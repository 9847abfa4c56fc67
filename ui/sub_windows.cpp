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
    return it == windows_.end() ? nullptr : it->second.data();
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
