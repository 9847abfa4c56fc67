// What an offline edit should look like: the settings pages of a second window that loads the same
// data from a set-data file, on the same page.
#pragma once

#include "files/setdata_file.h"
#include "ui/main/main_disp.h"
#include "ui/ui_widgets.h"
#include "window_fixture.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QTabWidget>

#include <functional>

using qmx::hiddenOnPage;

// Every label and button of the settings pages: its name, whether it is hidden, and the text of a
// shown one (nobody reads a hidden one), a line each.
inline std::string pagesLook(const qmx::MainDisp& m)
{
    QStringList out;
    for (QWidget* wd : m.SSTab2->findChildren<QWidget*>()) {
        auto* l = qobject_cast<QLabel*>(wd);
        auto* b = qobject_cast<QAbstractButton*>(wd);
        if ((!l && !b) || wd->objectName().isEmpty())
            continue;
        out << wd->objectName() +
                   (hiddenOnPage(wd) ? QStringLiteral(" hidden")
                                     : QStringLiteral(" ") + (l ? l->text() : b->text()).trimmed());
    }
    return out.join(QLatin1Char('\n')).toStdString();
}

class ReloadFixture : public WindowFixture {
protected:
    void setButton(int item) { w->Cmd_set_Click(item - 10); }
    // Deleted windows are gone once their deferred deletes ran.
    void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    int boxes(int id) const { return int(texts().count(S(id))); }
    int beeps() const { return int(texts().count(QStringLiteral("<beep>"))); }
    // The window as a load of `d` shows it: every value label filled, page `tab` laid.
    void showLoaded(int tab)
    {
        w->Read_data3();
        w->Disp_SStab2(tab);
    }
    // A new set-data file of the defaults, of the infrared variant or not, with `set` applied.
    QString setDataFile(bool infrared, const std::function<void(qmx::QmxData&)>& set = {})
    {
        qmx::QmxData f;
        f.Set_Defaults();
        f.RDModel = infrared;
        if (set)
            set(f);
        const QString path = dir.filePath(QStringLiteral("set%1.dat").arg(++files_));
        EXPECT_TRUE(qmx::writeSetDataFile(path, f));
        return path;
    }
    // File -> Load of `path`, answered as the operator would.
    void load(const QString& path)
    {
        answers({QStringLiteral("Yes"), path});
        w->mnuLoad_Click();
    }
    // File -> Save into a new file; the set it holds.
    qmx::SetData saved()
    {
        const QString path = dir.filePath(QStringLiteral("saved%1.dat").arg(++files_));
        answers({path});
        w->mnuSave_Click();
        const auto set = qmx::readSetDataFile(path);
        EXPECT_TRUE(set);
        return set.value_or(qmx::SetData{});
    }
    // The pages of a second window after it loaded `d` from a file, on the page `w` shows.
    std::string reloadedLook()
    {
        const QString path = dir.filePath(QStringLiteral("same.dat"));
        EXPECT_TRUE(qmx::writeSetDataFile(path, d));
        qmx::QmxData d2;
        d2.Set_Defaults();
        qmx::MainDisp other(d2);
        other.system_init();
        other.Disp_SStab2(w->SSTab2->currentIndex());
        answers({"Yes", path});
        other.mnuLoad_Click();
        EXPECT_EQ(d2.ParaVal(50), d.ParaVal(50)) << "the file was loaded";
        return pagesLook(other);
    }

private:
    int files_ = 0;
};
