// The main window: live values, the four settings pages, the trace page, the menus, and the
// routines the other windows call. It holds a reference to the shared data, never a copy. Its
// routines are split by subject over ui/main/ (pages, groups, files, menus, help) and
// ui/main/link/ (connecting, going online, monitoring, transfers, writes).
#pragma once

#include "ui/main_services.h"
#include "ui/sub_windows.h"

#include <QMainWindow>
#include <QPixmap>
#include <QPointer>
#include <QTimer>

#include <array>
#include <memory>

class QAction;
class QGroupBox;
class QGridLayout;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QVBoxLayout;

namespace qmx {

struct QmxData;
class Exchange;
class PanelStatusBar;
class GroupFrame;
class Velder_Comm;
class Velder_ChartCtl;
class TransferReport;

class MainDisp : public QMainWindow, public MainServices {
    Q_OBJECT
public:
    explicit MainDisp(QmxData& data, QWidget* parent = nullptr);
    ~MainDisp() override;

    QmxData& d;

    // --- what the other windows may ask (MainServices) -----------------------------------------
    QmxData& data() override { return d; }
    QWidget* mainWindow() override { return this; }
    SubWindows& subWindows() override { return subWindows_; }
    void relayPages() override;
    // Lays the pages out again where the data they show have changed since their last layout.
    void relayPagesIfStale();
    void refreshValueLabels() override { Read_data3(); }
    void refreshLivePanel() override { SelectDispItem(); }
    void requestWrite() override { Req_Write(); }
    void applyDisplay(const DisplayOps& ops) override;
    void openEditsFollowData() override;
    Velder_ChartCtl& chart() override { return *Velder_ChartCtl1; }
    QString statusPanel(int panel) const override;
    void setStatusPanel(int panel, const QString& text) override;
    bool stepRunning() const override { return inLongStep(); }
    void focusTabs() override;
    bool traceChecked() const override;
    void setTraceChecked(bool on) override;

    // --- start-up and shut-down ----------------------------------------------------------------
    // Loads the window (its first use runs Form_Load) and hands the chart its stored settings.
    void system_init();
    void Form_Load();
    void Form_Unload(bool& Cancel);
    void mnuExit_Click();
    bool isLoaded() const { return loaded_; }

    // A long step (search, transfer, a wait that lets events run) holds one of these while it
    // runs. A close confirmed meanwhile waits for the step to end before anything is freed.
    class LongStep {
    public:
        explicit LongStep(MainDisp& w);
        ~LongStep();
        LongStep(const LongStep&) = delete;
        LongStep& operator=(const LongStep&) = delete;

    private:
        MainDisp& w_;
    };
    // True once the operator confirmed the close during a long step: the step should end now.
    bool QuitRequested() const override { return quitRequested_; }
    bool inLongStep() const { return longStepDepth_ > 0; }

    // Returns after one 100 ms tick of Timer4, letting window events run meanwhile; false when the
    // program is closing and the caller should end its step.
    bool Wait_100ms();

    // --- set-data files ----------------------------------------------------------------------
    void mnuSave_Click();
    void mnuLoad_Click();

    // --- help ------------------------------------------------------------------------------------
    void mnuHelp2_Click();
    void mnuVer_Click();
    QString HelpPath;

    // --- settings pages, value labels, live panel --------------------------------------------
    void Cmd_True_Click(int Index);
    void Disp_SStab2(int t);
    void Read_data3();
    void SelectDispItem();

    // --- parameter entry and the link ----------------------------------------------------------
    void Cmd_set_Click(int Index);
    void Req_Write();

    // The exchange with the controller (main_disp_exchange.cpp): Sendcomm, the access key and the
    // special commands run on `link`, which works on QMXCom and reaches the window through `host_`.
    QString Sendcomm(const QString& stAdr, const QString& Subadr, const QString& Commod,
                     const QString& CommNo, const QString& Commdata, int retn);
    // Replaces QMXCom (and the exchange on it) with a new object, the old one closed.
    void newQMXCom();
    std::unique_ptr<Exchange> link;
    // Hides the key-operation notice two seconds after a refusal showed it.
    void Timer3_Timer();

    // Connecting (main_disp_connect.cpp, main_disp_model.cpp).
    void checkcommunicate1() override;
    void checkcommunicate() override;
    void checkcommunicate2() override;
    void communicate() override;
    bool mapFileUnusable() const override { return mapFileUnusable_; }
    void whenProgramEnds(QObject* context, std::function<void()> f) override;
    void Command1_Click();
    void Command2_Click();
    void mnuComset_Click();

    // Online (main_disp_scheduler.cpp, main_disp_monitor.cpp, main_disp_upload.cpp,
    // main_disp_online.cpp, main_disp_online_check.cpp).
    void Timer1_Timer();
    void Timer6_Timer();
    // Asks the scheduler for a one-shot step: 3 download of the screen data, 4 upload, 5 option
    // check and download. Single writes are asked with Req_Write. 0 and 1 are set on ComMode
    // itself.
    void requestComMode(int mode);
    void Read_Monitor();
    void statecomchk();
    void mnuUpload_Click();
    void ReadPara_setflg();
    void ReadPara_setflg2();
    void Cmd_ONOFF_Click();
    void ofline();
    enum class OnlineCheck { Passed, Adopted, Refused, ModelError };
    // `screenDataGoesOut`: a download of the screen data follows, so nothing of it is refreshed
    // from the controller first, even when it has just been saved.
    OnlineCheck Setdata_read(bool screenDataGoesOut = false);
    void Option_read();
    void Setdata_read1();

    // Writing (main_disp_write.cpp, main_disp_download.cpp).
    void Write_Para();
    // The scheduler's write step of `item`, taken off the queue: Write_Para on it, and its base
    // kept only while another request of it waits.
    void writeQueuedItem(int item);
    void Manuval_Click(int Index);
    void mnuDownload_Click();
    void Write_AllPara();
    void Write_AllPara2();

    // --- other menus
    // -------------------------------------------------------------------------------
    void mnuOpset_Click();
    void mnuTrace_Click();
    // Going offline, whichever way: a running trend stops, with string 500.
    void stopTrace();
    void mnudata_Click();
    void mnuexport_Click();
    void mnuFilePrint_Click();
    // The hard copy, a second after the printer choice: the window in front, on one page.
    void Timer2_Timer();
    // The latest hard copy's picture.
    QPixmap Picture2;

    // The communication object, from the load step to the end.
    std::unique_ptr<Velder_Comm> QMXCom;

    // --- controls (arrays are indexed as the routines address them) ----------------------------
    QTabWidget* SSTab1 = nullptr;
    QTabWidget* SSTab2 = nullptr;
    PanelStatusBar* StatusBar1 = nullptr;
    Velder_ChartCtl* Velder_ChartCtl1 = nullptr;

    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QGroupBox* Frame8 = nullptr;
    QWidget* Frame3 = nullptr;
    QWidget* Frame4 = nullptr;
    QWidget* Frame5 = nullptr;
    QWidget* Frame6 = nullptr;
    GroupFrame* Frame_Alarm1 = nullptr;
    GroupFrame* Frame_Alarm2 = nullptr;
    GroupFrame* Frame_HB = nullptr;
    GroupFrame* Frame_Heat = nullptr;
    GroupFrame* Frame_Cool = nullptr;
    GroupFrame* Frame_Other = nullptr;
    GroupFrame* Frame_Other2 = nullptr;

    std::array<QPushButton*, 57> Cmd_set{}; // 1..56, no 37
    std::array<QPushButton*, 7> Cmd_True{};
    std::array<QPushButton*, 6> Manuval{};
    QPushButton* Cmd_ONOFF = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;

    std::array<QLabel*, 6> Lbl_com{};
    std::array<QLabel*, 6> Lbl_comm{};
    std::array<QLabel*, 5> Label_Alm1{};
    std::array<QLabel*, 5> Label_A1val{};
    std::array<QLabel*, 5> Label_Alm2{};
    std::array<QLabel*, 5> Label_A2val{};
    std::array<QLabel*, 2> Label_Alm_HB{};
    std::array<QLabel*, 2> Label_HBval{};
    std::array<QLabel*, 11> Label_pid{};
    std::array<QLabel*, 11> Label_pidval{};
    std::array<QLabel*, 7> Label_cool{};
    std::array<QLabel*, 7> Label_coolval{};
    std::array<QLabel*, 24> Label_oth{};
    std::array<QLabel*, 24> Label_othval{};
    std::array<QLabel*, 18> Label_CF{};
    std::array<QLabel*, 2> Label_UD{};
    std::array<QLabel*, 7> Label1{};
    std::array<QLabel*, 5> Label21{};
    std::array<QLabel*, 2> Label18{};
    std::array<QLabel*, 3> Label3{}; // 0 main set value, 1 PV, 2 SV
    std::array<QLabel*, 5> lbl_alm{};
    std::array<QLabel*, 2> Lbl_HB{};
    std::array<QLabel*, 4> Label_HB{};
    std::array<QLabel*, 3> Text_HB{}; // 1, 2
    std::array<QLabel*, 2> Text_MV{};
    std::array<QLabel*, 2> Text_SV{};
    QLabel* Text_PV = nullptr;
    QLabel* Label23 = nullptr;
    QLabel* Label58 = nullptr;
    QLabel* Label_atm = nullptr;
    QLabel* Label_OUTOFF = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label_Min = nullptr;
    QLabel* lbl_OUT = nullptr;
    QLabel* Lbl_UPmsg = nullptr;
    QLabel* Lbl_UPmsg2 = nullptr;
    QLabel* Text_readmsg1 = nullptr;
    QLabel* Text_readmsg2 = nullptr;
    QLabel* Text_readmsg3 = nullptr;
    QLabel* Text_readmsg4 = nullptr;
    QLabel* Text_readmsg5 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QProgressBar* ProgressBar2 = nullptr;

    QMenu* mnuFileMenu = nullptr;
    QAction* mnuFile = nullptr;
    QAction* mnuUpload = nullptr;
    QAction* mnuDownload = nullptr;
    QAction* mnuSave = nullptr;
    QAction* mnuLoad = nullptr;
    QAction* mnudata = nullptr;
    QAction* mnuexport = nullptr;
    QAction* mnuFilePrint = nullptr;
    QAction* mnuExit = nullptr;
    QAction* mnuOnline = nullptr;
    QAction* mnuTrace = nullptr;
    QAction* mnuSet = nullptr;
    QAction* mnuComset = nullptr;
    QAction* mnuOpset = nullptr;
    QAction* mnuHelp = nullptr;
    QAction* mnuHelp2 = nullptr;
    QAction* mnuVer = nullptr;

    QTimer Timer1; // 50 ms scheduler
    QTimer Timer2; // 1000 ms one-shot print
    QTimer Timer3; // 2000 ms hides the key-operation notice
    QTimer Timer4; // 100 ms wait
    QTimer Timer5; // 10000 ms, unused
    QTimer Timer6; // 500 ms error watchdog

signals:
    // The program has ended its unload step; the application leaves its event loop.
    void programEnded();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    // Layout
    void buildMenus();
    QWidget* buildMainPage();
    QWidget* buildTracePage();
    QGroupBox* buildLivePanel();
    QGroupBox* buildCommPanel();
    QWidget* buildNotices();
    QWidget* buildAlarmPage();
    QWidget* buildPidPage();
    QWidget* buildOtherPage();
    QWidget* buildOther2Page();
    // A group: its enable button above its frame, and the frame's grid of rows.
    GroupFrame* addGroup(QVBoxLayout* page, int index, const QString& frameName,
                         QGridLayout*& grid);
    // One setting row: caption, value box, unit label, set button (each may be absent).
    void addRow(QGridLayout* grid, int row, QLabel* caption, QLabel* value, QLabel* unit,
                int setIndex);
    QLabel* unitLabel(const QString& name, const QString& text = QString());
    QLabel* captionLabel(const QString& name);
    void setCaptions();
    void setupTimers();

    // Shut-down
    void readSettings();
    // The Yes branch of the unload step: save the line settings, close the port, end.
    void unloadConfirmed();
    void endProgram();

    // Group enable buttons
    void setGroupEnabled(int index, bool on);

    // Settings pages and live panel: the rules' state and the display list they fill.
    struct Pages;
    Pages& pages();
    void applyPageEffects(const struct PagesEffects& fx);
    // The caption of `item`'s value label (empty when it has none).
    QString valueText(int item);
    // An open edit of `item` may not go on: its set button is hidden on its page, or refuses.
    bool editEnds(int item) const;
    // A queued edit of `item` may not be written: with the settings as the controller holds them
    // (`held`), its set button would be hidden or refuse it.
    bool editEndsUnder(const QmxData& held, int item) const;
    void Read_data3Into(class DisplayOps& ops);
    std::unique_ptr<Pages> pages_;

    // Private routines and state of the connecting routines (main_disp_connect.cpp, _model.cpp).
    // <connect>
    // The model check on a freshly opened port (first connection and going online): reads the
    // model code and, for the user-map variant, takes the map file of its ROM number into use.
    // Answered: the controller answered the first read (acknowledged or escaped).
    // NoAnswer: no reply, or not a read reply in Modbus. Refused: the port was closed.
    // Failed: a ROM mismatch, already told to the operator. BadMapFile: the controller answered
    // but its map file is missing or damaged, also told (and the operator chose to go on).
    enum class MapCheck { Answered, NoAnswer, Refused, Failed, BadMapFile };
    MapCheck Check_UserMap();
    // The last first connection ended on an unusable map file. The controller did answer, so the
    // splash does not ask whether the serial option is fitted.
    bool mapFileUnusable_ = false;
    // The model read of the first connection, after the key write: false when the connection
    // ends here (a wrong model after its box, or a refusal that closed the port).
    bool readModel();
    // The model read (the key register for the user-map variant, the special read otherwise) and
    // the Retry/Cancel box of a model this program does not serve (always returns false).
    QString sendModelRead();
    bool refuseWrongModel();
    // </connect>

    // Private routines and state of the scheduler, monitoring, upload and online routines.
    // <online>
    // One-shot requests waiting beside d.WriteQueue: a download (3 or 5) and an upload.
    int oneShotDownload_ = 0;
    bool oneShotUpload_ = false;
    // Drops every waiting request, each queued edit put back to what the controller holds; a
    // transfer that never started is not running either.
    void dropRequests();
    // Writes every edit still queued, in order, before the link closes.
    void writeQueuedEdits();
    void runCheckAndDownload();
    // Consecutive watchdog ticks with ComErr set, 0..5; the watchdog's box is open.
    int ComErrCount = 0;
    bool watchdogBoxOpen_ = false;
    // Both progress bars take a transfer's count and repaint at the next event pass: the wait for
    // the next reply, never in front of the next request.
    void showTransferProgress(int value);
    // Tells the operator that a transfer's exchanges failed (strings 380/381 or 382/383), once a
    // run: between two exchanges when the watchdog has counted its ticks, or at the end.
    enum class Transfer { Upload, Download };
    void tellTransferFailure(TransferReport& report, Transfer kind, bool atEnd);
    // Upload: the transfer-mode write (false: the controller's keys are in use, stop), the items.
    bool writeTransferMode(bool withDisplay);
    // `report` counts the items not read (the displayed upload only).
    void readAllItems(bool withDisplay, TransferReport* report = nullptr);
    // Going online and offline.
    bool firstConnection();
    void goOffline();
    void goOnline();
    void askUnsavedData();
    void goOnlineAfterQuestions(int mode);
    void writeKeyInAllProtocols();
    void showOnlineLook();
    // Takes the link down after the online check turned the controller away.
    void goFullyOffline();
    // The online check.
    bool ScreenOverwritten = false;
    // Locks the controller and closes the port with both timers stopped (ComOK False).
    void closeLockedLink();
    // Judges a read's reply as monitoring and the online check do: stored, "NG", or the
    // communication-error notice.
    void storeReadReply(const QString& reply, int item);
    void readRegister(int item, const QString& code);
    bool identifyModel();
    void refreshScreenData();
    void refuseOnline(int stringId);
    // What a refused go-online leaves: offline, the link down (locked first while the port is
    // open), no requests, the offline look, the Modbus notice and Protocol back to ProtocolSel.
    void leaveOnline();
    void adoptControllerOptions();
    // </online>

    // Private routines and state of the single write and the download.
    // <write>
    // Ends the temporary link of a download from offline as going offline would: the key
    // cleared, the power-cycle notice for a Modbus controller, Protocol back to ProtocolSel.
    // Call it while the port is still open, before Com_Close.
    void endTemporaryLink();
    // The Download menu's link from offline: the online look, the timers, the port opened.
    void openTemporaryLink();
    // ParaBak takes the screen values before a download (items 11..65, 66 on the infrared model).
    void keepScreenValues();
    // One download run; `menuRun` for the Download menu's run (mode 5), else mode 3's.
    void runDownload(bool menuRun);
    void showDownloadProgress(bool on);
    // </write>

    // The window side of the exchange: status bar, notices, message boxes.
    class Host;
    std::unique_ptr<Host> host_;

    bool loaded_ = false;
    bool ending_ = false;
    bool unloading_ = false;
    bool quitRequested_ = false;
    int longStepDepth_ = 0;
    bool WaitFlag = false;
    // Declared last: the other windows go before the controls they may still refer to.
    SubWindows subWindows_;
};

} // namespace qmx
