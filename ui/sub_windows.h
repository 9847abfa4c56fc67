// The main window's other windows, one of each: created on first use, deleted when closed. A
// window is found by its objectName; a closed one is forgotten by itself (QPointer).
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <map>

namespace qmx {

class SubWindows {
public:
    SubWindows() = default;
    SubWindows(const SubWindows&) = delete;
    SubWindows& operator=(const SubWindows&) = delete;
    // Whatever is still open goes with the main window.
    ~SubWindows();

    // The open window of that name, or nullptr (also for one closed and not yet deleted).
    QWidget* find(const QString& name) const;
    template <class W> W* find(const QString& name) const { return qobject_cast<W*>(find(name)); }

    // The open window of that name, or a new one from `make` (which sets nothing but what it
    // must: the registry names it and deletes it on close).
    QWidget* open(const QString& name, const std::function<QWidget*()>& make);
    template <class W> W* open(const QString& name, const std::function<W*()>& make)
    {
        return qobject_cast<W*>(open(name, std::function<QWidget*()>([&make] { return make(); })));
    }

    // Closes every open window (each is deleted as it closes).
    void closeAll();

private:
    std::map<QString, QPointer<QWidget>> windows_;
};

} // namespace qmx
