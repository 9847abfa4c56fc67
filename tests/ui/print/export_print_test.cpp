// File → Export, All Data and Print in-process: the export's exact bytes, two exports in one
// second, a file that cannot be written, the printed report's text and the hard copy's page.
#include "../main/window_fixture.h"

#include "ui/main/sub_windows.h"
#include "ui/print/rptver.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPointer>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace qmx;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QString run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(20000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Presses `button` of the modal window `window` as soon as it is open (the call that opens it does
// not return before it closes).
void pressWhenOpen(const QString& window, const QString& button)
{
    auto* t = new QTimer(qApp);
    QObject::connect(t, &QTimer::timeout, [t, window, button] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == window && top->isVisible())
                if (auto* b = top->findChild<QPushButton*>(button)) {
                    t->stop();
                    t->deleteLater();
                    b->click();
                    return;
                }
    });
    t->start(20);
}

// Acts on the modal window `window` as soon as it is open, once for each step in turn.
void actWhenOpen(const QString& window, std::vector<std::function<void(QWidget*)>> steps)
{
    auto* t = new QTimer(qApp);
    auto left = std::make_shared<std::vector<std::function<void(QWidget*)>>>(std::move(steps));
    auto last = std::make_shared<QPointer<QWidget>>();
    QObject::connect(t, &QTimer::timeout, [t, window, left, last] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == window && top->isVisible() && top != last->data()) {
                *last = top;
                auto step = left->front();
                left->erase(left->begin());
                if (left->empty()) {
                    t->stop();
                    t->deleteLater();
                }
                step(top);
                return;
            }
    });
    t->start(20);
}

// The export of the built-in defaults, worked out by hand from the rows the pages show.
const QByteArray kDefaultsExport =
    "\"QMX-52C Console Software\r\n\"\r\n"
    "\"Parameter\"\r\n"
    "\"Data Item\",\"Data\",\"Unit\"\r\n"
    "\"Alarm 1 type selection\",\"No alarm action\",\"\"\r\n"
    "\"Auto-tuning\",\"During AT cancellation\",\"\"\r\n"
    "\"Main proportional band setting\",\"10\",\"deg.C\"\r\n"
    "\"Integral time setting\",\"200\",\"Sec\"\r\n"
    "\"Derivative time setting\",\"50\",\"Sec\"\r\n"
    "\"Anti-reset windup setting\",\"50\",\"%\"\r\n"
    "\"Main proportional cycle setting\",\"30\",\"Sec\"\r\n"
    "\"Main output high limit setting\",\"100\",\"%\"\r\n"
    "\"Main output low limit setting\",\"0\",\"%\"\r\n"
    "\"AT bias setting\",\"20\",\"deg.C\"\r\n"
    "\"OUT1 rate of change limit\",\"0\",\"%/Min\"\r\n"
    "\"Main set value\",\"0\",\"deg.C\"\r\n"
    "\"Set value lock selection\",\"Unlock\",\"\"\r\n"
    "\"Sensor correction value setting\",\"0.0\",\"deg.C\"\r\n"
    "\"Input type selection\",\"K(-200 to 1370 deg.C)\",\"\"\r\n"
    "\"Scaling high limit setting\",\"1370\",\"deg.C\"\r\n"
    "\"Scaling low limit setting\",\"-200\",\"deg.C\"\r\n"
    "\"PV filter time constant setting\",\"0.0\",\"Sec\"\r\n"
    "\"SV rise rate setting\",\"0\",\"deg.C/min\"\r\n"
    "\"SV fall rate setting\",\"0\",\"deg.C/min\"\r\n"
    "\"Direct/Reverse action selection\",\"Heating(reverse)\",\"\"\r\n"
    "\"OUT/OFF key function\",\"OUT/OFF function\",\"\"\r\n"
    "\"Control output OUT/OFF selection\",\"Control output OUT\",\"\"\r\n"
    "\"PV color range setting\",\"5.0\",\"deg.C\"\r\n"
    "\"Backlight time setting\",\"0\",\"Min\"\r\n"
    "\"Backlight selection\",\"All are backlit.\",\"\"\r\n"
    "\"PV color selection\",\"Green\",\"\"\r\n"
    "\"Indication selection when control output OFF\",\"OFF indication\",\"\"\r\n";

class PrintWindow : public WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        pdfDir = dir.filePath(QStringLiteral("pdf"));
        QDir().mkpath(pdfDir);
        qputenv("QMX_PRINT_PDF", pdfDir.toUtf8());
        w->Disp_SStab2(0);
    }
    void TearDown() override
    {
        qunsetenv("QMX_PRINT_PDF");
        WindowFixture::TearDown();
    }
    QString csvFolder() const { return programFolder() + QStringLiteral("/csvdata"); }
    QStringList exports() const
    {
        return QDir(csvFolder()).entryList({QStringLiteral("*.csv")}, QDir::Files, QDir::Name);
    }
    QStringList messages() const
    {
        QStringList out;
        for (const QJsonObject& o : log())
            if (o.value(QStringLiteral("box")) == QStringLiteral("msg"))
                out << o.value(QStringLiteral("text")).toString();
        return out;
    }
    QString pdf(int n) const
    {
        return pdfDir + QStringLiteral("/%1.pdf").arg(n, 4, 10, QChar('0'));
    }

    QString pdfDir;
};

} // namespace

TEST_F(PrintWindow, ExportOfTheDefaultsByteForByte)
{
    answers({QStringLiteral("OK")});
    w->mnuexport_Click();
    const QStringList files = exports();
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^QMX-52C\\d{4}(_\\d{1,2}){5}\\.csv$"))
                    .match(files.first())
                    .hasMatch())
        << files.first().toStdString();
    EXPECT_EQ(readAll(csvFolder() + QLatin1Char('/') + files.first()), kDefaultsExport);
    // The dialog opened on the csvdata folder with the export's filter, proposing that name.
    const QJsonObject box = log().first();
    EXPECT_EQ(box.value(QStringLiteral("dir")).toString(), csvFolder());
    EXPECT_EQ(box.value(QStringLiteral("filter")).toString(),
              QStringLiteral("*.csv(Comma Separated Values)|*.csv"));
    EXPECT_EQ(box.value(QStringLiteral("name")).toString(), files.first());
    EXPECT_TRUE(messages().isEmpty());
}

// However fast the second export follows, it gets its own file: nothing is overwritten or mixed.
TEST_F(PrintWindow, TwoExportsInOneSecond)
{
    answers({QStringLiteral("OK"), QStringLiteral("OK")});
    w->mnuexport_Click();
    w->mnuexport_Click();
    const QStringList files = exports();
    ASSERT_EQ(files.size(), 2);
    for (const QString& f : files)
        EXPECT_EQ(readAll(csvFolder() + QLatin1Char('/') + f), kDefaultsExport) << f.toStdString();
    // In the same second the second name is the first one's with "-2".
    const QString first = log().at(0).value(QStringLiteral("name")).toString();
    const QString second = log().at(1).value(QStringLiteral("name")).toString();
    EXPECT_NE(first, second);
    if (second.contains(QLatin1Char('-'), Qt::CaseSensitive) && second.count('-') > 1) {
        EXPECT_EQ(second, first.left(first.size() - 4) + QStringLiteral("-2.csv"));
    }
}

// Exporting into a file that is there already appends a second whole block.
TEST_F(PrintWindow, ExportIntoAnExistingFileAppends)
{
    const QString path = csvFolder() + QStringLiteral("/mine.csv");
    answers({path, path});
    w->mnuexport_Click();
    w->mnuexport_Click();
    EXPECT_EQ(readAll(path), kDefaultsExport + kDefaultsExport);
}

TEST_F(PrintWindow, ExportCancelledWritesNothing)
{
    answers({QStringLiteral("Cancel")});
    w->mnuexport_Click();
    EXPECT_TRUE(exports().isEmpty());
    EXPECT_TRUE(messages().isEmpty());
}

// A place that cannot take the file gets a message naming it; nothing is left behind.
TEST_F(PrintWindow, ExportThatCannotBeWrittenSaysSo)
{
    const QString path = dir.filePath(QStringLiteral("no/such/folder/x.csv"));
    answers({path, QStringLiteral("OK")});
    w->mnuexport_Click();
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages().first().startsWith(path)) << messages().first().toStdString();
    EXPECT_FALSE(QFileInfo::exists(path));
}

// All Data shows the report; its print command goes through the printer choice; the printed text
// holds the title, the headings and every row the pages show.
TEST_F(PrintWindow, PrintedReportText)
{
    w->mnudata_Click();
    auto* report = w->subWindows().find<rptver>(QStringLiteral("rptver"));
    ASSERT_TRUE(report);
    EXPECT_EQ(report->windowTitle(), QStringLiteral("DFX-QMX07K"));
    EXPECT_EQ(report->pageCount(), 1);
    pressWhenOpen(QStringLiteral("prnselect"), QStringLiteral("prnOK"));
    report->cmdPrint->click();
    ASSERT_TRUE(QFileInfo::exists(pdf(1)));
    EXPECT_TRUE(
        run(QStringLiteral("pdfinfo"), {pdf(1)}).contains(QRegularExpression("Pages:\\s+1\\n")));
    const QString text =
        run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf(1), QStringLiteral("-")});
    for (const char* s : {"QMX-52C Console Software", "Parameter", "Data Item", "Data", "Unit",
                          "Page 1 of 1", "1-2-3 Example Industrial Park", "TEL +81-00-0000-0000"})
        EXPECT_TRUE(text.contains(QLatin1String(s))) << s;
    // Each exported line, as the report prints it: item, value and unit on one line.
    const QList<QByteArray> lines = kDefaultsExport.split('\n').mid(4);
    int rows = 0;
    for (const QByteArray& l : lines) {
        const QStringList f =
            QString::fromUtf8(l.trimmed()).remove(QLatin1Char('"')).split(QLatin1Char(','));
        if (f.size() != 3)
            continue;
        ++rows;
        const QRegularExpression line(
            QRegularExpression::escape(f[0]) + QStringLiteral("\\s+") +
            QRegularExpression::escape(f[1]) +
            (f[2].isEmpty() ? QString()
                            : QStringLiteral("\\s+") + QRegularExpression::escape(f[2])));
        EXPECT_TRUE(text.contains(line)) << l.toStdString();
    }
    EXPECT_EQ(rows, 28);
    // Rows of hidden groups are not printed.
    EXPECT_FALSE(text.contains(QLatin1String("Alarm 2 type selection")));
    EXPECT_FALSE(text.contains(QLatin1String("Cooling action mode selection")));
}

TEST_F(PrintWindow, ReportPrintCancelledPrintsNothing)
{
    w->mnudata_Click();
    auto* report = w->subWindows().find<rptver>(QStringLiteral("rptver"));
    ASSERT_TRUE(report);
    pressWhenOpen(QStringLiteral("prnselect"), QStringLiteral("prnCancel"));
    report->cmdPrint->click();
    EXPECT_TRUE(QDir(pdfDir).entryList(QDir::Files).isEmpty());
}

// A second All Data refreshes the one report window with the rows shown now.
TEST_F(PrintWindow, SecondAllDataRefreshesTheWindow)
{
    w->mnudata_Click();
    auto* first = w->subWindows().find<rptver>(QStringLiteral("rptver"));
    d.OptSet_Alarm2 = 1;
    w->Disp_SStab2(0);
    w->mnudata_Click();
    EXPECT_EQ(w->subWindows().find<rptver>(QStringLiteral("rptver")), first);
    pressWhenOpen(QStringLiteral("prnselect"), QStringLiteral("prnOK"));
    first->cmdPrint->click();
    const QString text = run(QStringLiteral("pdftotext"), {pdf(1), QStringLiteral("-")});
    EXPECT_TRUE(text.contains(QLatin1String("Alarm 2 type selection")));
}

// The hard copy: after the printer choice and one second, the main window (wider than high) on
// one landscape page.
TEST_F(PrintWindow, HardCopyIsOneLandscapePage)
{
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    pressWhenOpen(QStringLiteral("prnselect"), QStringLiteral("prnOK"));
    w->mnuFilePrint_Click();
    EXPECT_TRUE(w->Timer2.isActive());
    EXPECT_FALSE(QFileInfo::exists(pdf(1)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w->Timer2.isActive(); }, 3000));
    ASSERT_TRUE(QFileInfo::exists(pdf(1)));
    const QString info = run(QStringLiteral("pdfinfo"), {pdf(1)});
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+1\\n"))) << info.toStdString();
    const auto size =
        QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+)")).match(info);
    ASSERT_TRUE(size.hasMatch()) << info.toStdString();
    EXPECT_GT(size.captured(1).toDouble(), size.captured(2).toDouble());
    EXPECT_GT(w->width(), w->height());
    // A picture of the page to look at (tools/print-shots.sh keeps one).
    const QString png = dir.filePath(QStringLiteral("hardcopy"));
    run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("40"),
         QStringLiteral("-singlefile"), pdf(1), png});
    EXPECT_GT(QFileInfo(png + QStringLiteral(".png")).size(), 1000);
    EXPECT_TRUE(messages().isEmpty());
}

// The close box keeps what the window found when it opened: the current printer, so printing goes
// ahead.
TEST_F(PrintWindow, CloseBoxKeepsTheCurrentPrinter)
{
    actWhenOpen(QStringLiteral("prnselect"), {[](QWidget* w) { w->close(); }});
    w->mnuFilePrint_Click();
    EXPECT_TRUE(w->Timer2.isActive());
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(pdf(1)); }, 3000));
}

// A typed name that is no printer of the list opens the choice again.
TEST_F(PrintWindow, UnknownPrinterNameAsksAgain)
{
    int shown = 0;
    auto type = [&shown](QWidget* win) {
        ++shown;
        win->findChild<QComboBox*>(QStringLiteral("prnName"))->setEditText(QStringLiteral("pdf"));
        win->findChild<QPushButton*>(QStringLiteral("prnOK"))->click();
    };
    actWhenOpen(QStringLiteral("prnselect"),
                {type, [&shown](QWidget* win) {
                     ++shown;
                     win->findChild<QPushButton*>(QStringLiteral("prnCancel"))->click();
                 }});
    w->mnuFilePrint_Click();
    EXPECT_EQ(shown, 2);
    EXPECT_FALSE(w->Timer2.isActive());
}

TEST_F(PrintWindow, HardCopyCancelledPrintsNothing)
{
    pressWhenOpen(QStringLiteral("prnselect"), QStringLiteral("prnCancel"));
    w->mnuFilePrint_Click();
    EXPECT_FALSE(w->Timer2.isActive());
    EXPECT_TRUE(QDir(pdfDir).entryList(QDir::Files).isEmpty());
}

// A job the printer cannot take (here: its folder is gone) is reported, not lost silently.
TEST_F(PrintWindow, FailedJobSaysSo)
{
    qputenv("QMX_PRINT_PDF", dir.filePath(QStringLiteral("gone")).toUtf8());
    answers({QStringLiteral("OK")});
    pressWhenOpen(QStringLiteral("prnselect"), QStringLiteral("prnOK"));
    w->mnuFilePrint_Click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w->Timer2.isActive(); }, 3000));
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages().first().startsWith(S(57)));
}

// Without any printer the Print command says so at once and opens no choice.
TEST_F(PrintWindow, NoPrinterSaysSo)
{
    qunsetenv("QMX_PRINT_PDF");
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        GTEST_SKIP() << "this machine has printers";
    answers({QStringLiteral("OK")});
    w->mnuFilePrint_Click();
    EXPECT_EQ(messages(), QStringList{S(57)});
    EXPECT_FALSE(w->Timer2.isActive());
}
