// File → Export, All Data and Print in-process: the export's exact bytes, two exports in one
// second, the printed report's text, the hard copy's page, the printer choice and the failures.
#include "../main/window_fixture.h"

#include "ui/print/printers.h"
#include "ui/print/prnselect.h"
#include "ui/print/report_sheet.h"
#include "ui/print/rptver.h"
#include "ui/sub_windows.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPointer>
#include <QPrinter>
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

using Step = std::function<void(QWidget*)>;

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

Step click(const char* button)
{
    return [button](QWidget* w) { w->findChild<QPushButton*>(QLatin1String(button))->click(); };
}

// Acts on each new opening of the modal printer choice in turn (the call that opens it returns
// only once it is closed).
void onPrinterChoice(std::vector<Step> steps)
{
    auto* t = new QTimer(qApp);
    auto left = std::make_shared<std::vector<Step>>(std::move(steps));
    auto last = std::make_shared<QPointer<QWidget>>(); // a new window may reuse the address
    QObject::connect(t, &QTimer::timeout, [t, left, last] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == QLatin1String("prnselect") && top->isVisible() &&
                top != last->data()) {
                *last = top;
                const Step step = left->front();
                left->erase(left->begin());
                if (left->empty())
                    t->deleteLater();
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
    QString csvDir() const { return programFolder() + QStringLiteral("/csvdata"); }
    QStringList exports() const
    {
        return QDir(csvDir()).entryList({QStringLiteral("*.csv")}, QDir::Files, QDir::Name);
    }
    QStringList messages() const
    {
        QStringList out;
        for (const QJsonObject& o : log())
            if (o.value(QStringLiteral("box")) == QStringLiteral("msg"))
                out << o.value(QStringLiteral("text")).toString();
        return out;
    }
    QStringList pdfs() const { return QDir(pdfDir).entryList(QDir::Files); }

    QString pdfDir;
};

} // namespace

// Two exports in one second: each its own file in the csvdata folder under the proposed name,
// nothing overwritten or mixed, every byte as worked out by hand.
TEST_F(PrintWindow, TwoExportsOfTheDefaultsInOneSecond)
{
    answers({QStringLiteral("OK"), QStringLiteral("OK")});
    w->mnuexport->trigger();
    w->mnuexport->trigger();
    EXPECT_EQ(log().first().value(QStringLiteral("dir")).toString(), csvDir());
    ASSERT_EQ(exports().size(), 2);
    const QRegularExpression name(QStringLiteral("^QMX-52C\\d{4}(_\\d{1,2}){5}(-2)?\\.csv$"));
    for (const QString& f : exports()) {
        EXPECT_TRUE(name.match(f).hasMatch()) << f.toStdString();
        EXPECT_EQ(readAll(csvDir() + QLatin1Char('/') + f), kDefaultsExport) << f.toStdString();
    }
    EXPECT_TRUE(messages().isEmpty());
}

// Cancel writes nothing and says nothing; a place that cannot take the file gets a message
// naming it and nothing is left there.
TEST_F(PrintWindow, ExportCancelledOrFailed)
{
    const QString bad = dir.filePath(QStringLiteral("no/such/folder/x.csv"));
    answers({QStringLiteral("Cancel"), bad, QStringLiteral("OK")});
    w->mnuexport->trigger();
    EXPECT_TRUE(messages().isEmpty());
    w->mnuexport->trigger();
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages().first().startsWith(bad)) << messages().first().toStdString();
    EXPECT_FALSE(QFileInfo::exists(bad));
    EXPECT_TRUE(exports().isEmpty());
}

// All Data opened before a change shows the rows of the second All Data; printed through the
// printer choice, the text holds the export's headings and every row, item, value and unit on one
// line, and nothing of a hidden group.
TEST_F(PrintWindow, PrintedReportText)
{
    d.OptSet_Alarm2 = 1;
    w->Disp_SStab2(0);
    w->mnudata->trigger();
    auto* report = w->subWindows().find<rptver>(QStringLiteral("rptver"));
    d.OptSet_Alarm2 = 0;
    w->Disp_SStab2(0);
    w->mnudata->trigger();
    ASSERT_TRUE(report);
    EXPECT_EQ(w->subWindows().find<rptver>(QStringLiteral("rptver")), report);
    EXPECT_EQ(report->pageCount(), 1);
    onPrinterChoice({click("prnOK")});
    report->cmdPrint->click();
    ASSERT_EQ(pdfs(), QStringList{QStringLiteral("0001.pdf")});
    const QString pdf = pdfDir + QStringLiteral("/0001.pdf");
    EXPECT_TRUE(
        run(QStringLiteral("pdfinfo"), {pdf}).contains(QRegularExpression("Pages:\\s+1\\n")));
    const QString text =
        run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    for (const QString& s : {S(789), S(790)})
        EXPECT_TRUE(text.contains(s.trimmed())) << s.toStdString();
    int rows = 0;
    for (const QByteArray& l : kDefaultsExport.split('\n')) {
        const QStringList f = QString::fromUtf8(l).trimmed().remove(QLatin1Char('"')).split(',');
        QStringList parts;
        for (const QString& s : f)
            if (!s.isEmpty())
                parts << QRegularExpression::escape(s);
        rows += parts.isEmpty() ? 0 : 1;
        EXPECT_TRUE(text.contains(QRegularExpression(parts.join(QStringLiteral("\\s+")))))
            << l.toStdString();
    }
    EXPECT_EQ(rows, 31);
    EXPECT_FALSE(text.contains(S(127))) << "the alarm-2 row of the first All Data";
}

// After the printer choice and one second, the main window (wider than high) on one landscape
// page.
TEST_F(PrintWindow, HardCopyIsOneLandscapePage)
{
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    onPrinterChoice({click("prnOK")});
    w->mnuFilePrint->trigger();
    EXPECT_TRUE(w->Timer2.isActive());
    EXPECT_TRUE(pdfs().isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w->Timer2.isActive(); }, 3000));
    ASSERT_EQ(pdfs(), QStringList{QStringLiteral("0001.pdf")});
    const QString info = run(QStringLiteral("pdfinfo"), {pdfDir + QStringLiteral("/0001.pdf")});
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+1\\n"))) << info.toStdString();
    const auto size =
        QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+)")).match(info);
    ASSERT_TRUE(size.hasMatch()) << info.toStdString();
    EXPECT_GT(size.captured(1).toDouble(), size.captured(2).toDouble());
    EXPECT_TRUE(messages().isEmpty());
}

// The printer choice: OK and the close box print on the listed printer, Cancel does not, and a
// typed name that is no printer of the list opens the choice again.
TEST_F(PrintWindow, PrinterChoice)
{
    const Step closeBox = [](QWidget* w) { w->close(); };
    const Step typeUnknown = [](QWidget* w) {
        w->findChild<QComboBox*>(QStringLiteral("prnName"))->setEditText(QStringLiteral("pdf"));
        w->findChild<QPushButton*>(QStringLiteral("prnOK"))->click();
    };
    const struct {
        const char* what;
        std::vector<Step> steps;
        bool prints;
    } cases[] = {
        {"OK", {click("prnOK")}, true},
        {"close box", {closeBox}, true},
        {"Cancel", {click("prnCancel")}, false},
        {"unknown name, Cancel", {typeUnknown, click("prnCancel")}, false},
        {"unknown name, OK", {typeUnknown, click("prnOK")}, true},
    };
    for (const auto& c : cases) {
        onPrinterChoice(c.steps);
        EXPECT_EQ(choosePrinter(w.get()), c.prints) << c.what;
        if (c.prints) {
            EXPECT_EQ(currentPrinterName(), QStringLiteral("PDF")) << c.what;
        }
    }
}

// A printer whose page breaks fail, as a jammed printer or a spooler that drops the job between
// pages does.
struct JammingPrinter : QPrinter {
    bool newPage() override { return ++breaks, false; }
    int breaks = 0;
};

// A report whose page break fails is a failed job with its reason; nothing is painted past it.
TEST(ReportPrint, AFailedPageBreakFailsTheJob)
{
    QTemporaryDir dir;
    ReportSheet sheet;
    sheet.lines.assign(120, {QStringLiteral("Item"), QStringLiteral("1"), QStringLiteral("Sec")});
    const ReportLayout report(sheet);
    ASSERT_EQ(report.pageCount(), 3);
    JammingPrinter printer;
    printer.setOutputFileName(dir.filePath(QStringLiteral("r.pdf")));
    QString why;
    EXPECT_FALSE(printReportOn(printer, report, &why));
    EXPECT_TRUE(why.contains(printer.outputFileName())) << why.toStdString();
    EXPECT_EQ(printer.breaks, 1);
}

// Escape in the printer choice of the Print command is its Cancel: nothing is printed.
TEST_F(PrintWindow, EscapeInThePrinterChoicePrintsNothing)
{
    onPrinterChoice({[](QWidget* c) {
        QTest::keyClick(c->focusWidget() ? c->focusWidget() : c, Qt::Key_Escape);
    }});
    w->mnuFilePrint->trigger();
    EXPECT_FALSE(w->Timer2.isActive());
    QApplication::processEvents();
    EXPECT_TRUE(pdfs().isEmpty());
    EXPECT_TRUE(messages().isEmpty());
}

// Without a printer the Print command says so at once; a job the printer cannot take (its folder
// is gone) is reported once the second's delay is over.
TEST_F(PrintWindow, PrintFailuresSaySo)
{
    for (const bool printers : {false, true}) {
        answers({QStringLiteral("OK")});
        qunsetenv("QMX_PRINT_PDF");
        if (printers)
            qputenv("QMX_PRINT_PDF", dir.filePath(QStringLiteral("gone")).toUtf8());
        else if (!QPrinterInfo::availablePrinterNames().isEmpty())
            continue; // this machine has printers
        if (printers)
            onPrinterChoice({click("prnOK")});
        w->mnuFilePrint->trigger();
        EXPECT_EQ(w->Timer2.isActive(), printers);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !w->Timer2.isActive(); }, 3000));
        ASSERT_EQ(messages().size(), 1) << printers;
        EXPECT_TRUE(messages().first().startsWith(S(57))) << printers;
        QFile::remove(logPath());
    }
}
