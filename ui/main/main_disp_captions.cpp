// The captions the load step sets from the string table.
#include "ui/main/main_disp.h"

#include "model/string_table.h"
#include "ui/ui_widgets.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

namespace qmx {

namespace {

template <size_t N>
void captionsFrom(std::array<QLabel*, N>& labels, std::initializer_list<int> ids)
{
    size_t i = 0;
    for (int id : ids)
        labels[i++]->setText(LoadResString(id));
}

} // namespace

void MainDisp::setCaptions()
{
    setWindowTitle(LoadResString(1));

    const std::pair<QAction*, int> menus[] = {
        {mnuFile, 3},   {mnuUpload, 4},   {mnuDownload, 5},   {mnuSave, 6},   {mnuLoad, 7},
        {mnudata, 787}, {mnuexport, 788}, {mnuFilePrint, 33}, {mnuExit, 8},   {mnuOnline, 9},
        {mnuTrace, 11}, {mnuSet, 12},     {mnuComset, 13},    {mnuOpset, 21}, {mnuHelp, 15},
        {mnuHelp2, 16}, {mnuVer, 17}};
    for (const auto& [a, id] : menus)
        a->setText(LoadResString(id));

    SSTab1->setTabText(0, LoadResString(41));
    SSTab1->setTabText(1, LoadResString(42));
    const int pageIds[4] = {43, 44, 45, 801};
    for (int i = 0; i < 4; ++i)
        SSTab2->setTabText(i, LoadResString(pageIds[i]));

    Frame1->setTitle(LoadResString(306));
    Frame2->setTitle(LoadResString(263));
    captionsFrom(Lbl_com, {264, 265, 266, 267, 268, 269});
    Text_readmsg1->setText(LoadResString(261));
    Command1->setText(LoadResString(30));
    Text_readmsg4->setText(LoadResString(261));
    Command2->setText(LoadResString(30));

    GroupFrame* frames[7] = {Frame_Alarm1, Frame_Alarm2, Frame_HB,    Frame_Heat,
                             Frame_Cool,   Frame_Other,  Frame_Other2};
    const int groupIds[7] = {323, 324, 325, 49, 50, 45, 801};
    for (int i = 0; i < 7; ++i) {
        frames[i]->setCaption(LoadResString(groupIds[i]));
        Cmd_True[size_t(i)]->setText(LoadResString(groupIds[i]));
    }
    captionsFrom(Label_Alm1, {109, 128, 130, 137, 126});
    captionsFrom(Label_Alm2, {110, 129, 131, 138, 127});
    captionsFrom(Label_Alm_HB, {111, 143});
    captionsFrom(Label_pid, {151, 103, 105, 106, 142, 107, 119, 120, 121, 141, 149});
    captionsFrom(Label_cool, {122, 104, 108, 123, 124, 114, 125});
    captionsFrom(Label_oth, {112, 113, 139, 115, 116, 117, 118, 132, 133, 140, 134, 144,
                             145, 146, 147, 135, 148, 170, 171, 172, 173, 174, 175, 802});

    for (QLabel* l : Label_CF)
        l->setText(LoadResString(215));
    for (QLabel* l : Label_UD)
        l->setText(LoadResString(335));
    for (QLabel* l : Label1)
        l->setText(LoadResString(374));
    Label_Min->setText(LoadResString(401));
    lbl_OUT->setText(LoadResString(338));

    Text_readmsg2->setText(LoadResString(451));
    Text_readmsg3->setText(LoadResString(452));
    Text_readmsg5->setText(LoadResString(452));
    Cmd_ONOFF->setText(LoadResString(74));
    Label2->setText(LoadResString(75));
    setBackColor(Label2, colour::White);
    Label4->setText(QString());
    setBackColor(Label4, colour::White);
    Label3[0]->setText(LoadResString(101));
    // The verdict, the logging state, the trace state and the activity: the panels take the size
    // of their texts in this language. The log-failure notice (555) is left out: the logging panel
    // widens only while that notice shows, rather than standing wide and empty all the time.
    StatusBar1->fitPanels(
        {QStringList{QStringLiteral("OK"), QStringLiteral("NG")}, QStringList{LoadResString(90)},
         QStringList{LoadResString(91), LoadResString(92)},
         QStringList{LoadResString(453), LoadResString(501), LoadResString(502)}});
    StatusBar1->setPanel(3, LoadResString(91));

    // Only the main set value and the infrared emissivity can be edited before data is present.
    for (int i = 2; i <= 55; ++i)
        if (Cmd_set[size_t(i)])
            Cmd_set[size_t(i)]->setEnabled(false);

    Frame8->setTitle(LoadResString(29));
}

} // namespace qmx
