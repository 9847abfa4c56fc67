// Small widgets and helpers the windows share: the four-panel status bar, the frame whose caption
// is shown by the group button above it, lamp and value-box labels, and colours in the controller
// software's 0x00BBGGRR form.
#pragma once

#include "rules/display_ops.h"

#include <QFrame>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QPixmap>
#include <QStatusBar>
#include <QStringList>

#include <array>
#include <cstdint>

namespace qmx {

// Colours are kept as 0x00BBGGRR, the form every table of the program uses: 0x0000FF is red.
QColor colorFromBgr(uint32_t bgr);

// Sets the background through the palette (no style sheet), so a lamp can change every tick
// cheaply.
void setBackColor(QWidget* w, uint32_t bgr);

// The status bar with four panels, numbered 1 to 4 as the routines address them. Panels 1 to 3
// keep a fixed size: a panel whose size followed its text would lay the whole window out again
// each time the text changed, and panel 1 changes at every monitoring step. Panel 4, the activity
// text, takes what is left.
class PanelStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit PanelStatusBar(QWidget* parent = nullptr);
    QString panel(int i) const;
    // A text wider than its panel widens the panel while it shows, so it is never cut off.
    void setPanel(int i, const QString& text);
    const QLabel* panelLabel(int i) const { return panels_[size_t(i - 1)]; }
    // Sizes panels 1 to 3 for the texts they show in the language in use (texts[0] for panel 1
    // ...): each as wide as its widest text and never narrower than its design width, all as high
    // as the tallest text of the four panels.
    void fitPanels(const std::array<QStringList, 4>& texts);

private:
    // The size panel i (1 to 4) asks for to show `text` whole; each panel shows a handful of
    // texts, so the answers are kept.
    QSize textSize(int i, const QString& text) const;

    std::array<QLabel*, 4> panels_{};
    // The resting widths of panels 1 to 3.
    std::array<int, 3> widths_{};
    mutable std::array<QHash<QString, QSize>, 4> sizes_;
};

// A group box of fixed width whose height follows its rows but not its texts: a label in it that
// changes its text lays out this box alone. In a plain group box every such change climbs the
// layouts up to the main window, and each tab control on the way repaints the whole of itself.
class SteadyGroupBox : public QGroupBox {
    Q_OBJECT
public:
    explicit SteadyGroupBox(int width, QWidget* parent = nullptr);

protected:
    bool event(QEvent* e) override;

private:
    void fitHeight();
};

// A group frame of the settings pages. Its caption is kept for the program (and shown by the
// group's enable button, which sits just above the frame so it stays usable while the frame is
// off).
class GroupFrame : public QFrame {
    Q_OBJECT
    Q_PROPERTY(QString caption READ caption WRITE setCaption)
public:
    explicit GroupFrame(QWidget* parent = nullptr);
    QString caption() const { return caption_; }
    void setCaption(const QString& c) { caption_ = c; }

private:
    QString caption_;
};

// Whether `w` is hidden on the page of the tab control it lies on, by itself or by a frame it lies
// in, whichever tab is in front (a page behind another tab is hidden as a whole). Outside a tab
// control: hidden in its window.
bool hiddenOnPage(const QWidget* w);

// A sunken white box that shows a value.
QLabel* makeValueBox(QWidget* parent, const QString& name);
// A lamp: a boxed caption on a white background that turns a colour when its state is on.
QLabel* makeLamp(QWidget* parent, const QString& name, const QString& text);

// The product picture used for the window icon and the version box.
QPixmap productLogo(int size);

} // namespace qmx
