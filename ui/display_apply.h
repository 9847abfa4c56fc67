// Applies a display list to the window's controls. Each property is set only when it changes, so a
// refresh 20 times a second costs no relayout and no repaint when nothing moved.
#pragma once

#include "rules/display_ops.h"

#include <QWidget>

#include <array>
#include <vector>

namespace qmx {

class DisplayApplier {
public:
    // Finds every control the refreshes touch below `root`, by its name ("Label_A1val(3)").
    void bind(QWidget* root);
    void apply(const DisplayOps& ops);
    QWidget* widget(Ctl c, int index) const;

private:
    // Per control family, the widgets by index (a single control sits at index 0).
    std::array<std::vector<QWidget*>, static_cast<size_t>(Ctl::Count)> widgets_;
};

} // namespace qmx
