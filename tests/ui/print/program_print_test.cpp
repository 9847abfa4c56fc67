// The real program, driven as an operator would: File → Print, All Data with its Print button, and
// Export, with every print job going to numbered PDF files.
#include "../main/program_driver.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

QString run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(20000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

bool visible(const QJsonObject& dump, const QString& path)
{
    return dump.value(path).toObject().value(QStringLiteral("visible")).toBool();
}

} // namespace

TEST(ProgramPrint, HardCopyReportAndExport)
{
    ProgramRun p;
    const QString pdf = p.root() + QStringLiteral("/pdf");
    QDir().mkpath(pdf);
    qputenv("QMX_PRINT_PDF", pdf.toUtf8());
    p.start();
    qunsetenv("QMX_PRINT_PDF");
    ASSERT_TRUE(p.waitReady());

    // The hard copy: the printer choice lists the one printer, then the main window on one
    // landscape page.
    p.command(QStringLiteral("trigger MainDisp/mnuFilePrint"));
    ASSERT_TRUE(p.waitDump([](const QJsonObject& d) { return visible(d, "prnselect"); }));
    const QJsonObject choice = p.dump();
    EXPECT_EQ(choice.value("prnselect").toObject().value("text").toString(),
              QStringLiteral("Printer Selection"));
    EXPECT_EQ(choice.value("prnselect/prnName").toObject().value("text").toString(),
              QStringLiteral("PDF"));
    p.command(QStringLiteral("click prnselect/prnOK"));
    const QString first = pdf + QStringLiteral("/0001.pdf");
    ASSERT_TRUE(p.waitDump([&](const QJsonObject&) { return QFileInfo(first).size() > 0; }));
    const QString info = run(QStringLiteral("pdfinfo"), {first});
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))));
    const auto size =
        QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+)")).match(info);
    ASSERT_TRUE(size.hasMatch()) << info.toStdString();
    EXPECT_GT(size.captured(1).toDouble(), size.captured(2).toDouble());

    // The report, printed from its window.
    p.command(QStringLiteral("trigger MainDisp/mnudata"));
    ASSERT_TRUE(p.waitDump([](const QJsonObject& d) { return visible(d, "rptver"); }));
    EXPECT_EQ(p.widget(QStringLiteral("rptver")).value("text").toString(),
              QStringLiteral("DFX-QMX07K"));
    p.command(QStringLiteral("click rptver/cmdPrint"));
    ASSERT_TRUE(p.waitDump([](const QJsonObject& d) { return visible(d, "prnselect"); }));
    p.command(QStringLiteral("click prnselect/prnOK"));
    const QString second = pdf + QStringLiteral("/0002.pdf");
    ASSERT_TRUE(p.waitDump([&](const QJsonObject&) { return QFileInfo(second).size() > 0; }));
    const QString text = run(QStringLiteral("pdftotext"), {second, QStringLiteral("-")});
    for (const char* s : {"QMX-52C Console Software", "Parameter", "Data Item", "Unit",
                          "Main set value", "Page 1 of "})
        EXPECT_TRUE(text.contains(QLatin1String(s))) << s;
    // Every page says which it is and how many there are.
    const auto pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)\\n"))
                           .match(run(QStringLiteral("pdfinfo"), {second}));
    ASSERT_TRUE(pages.hasMatch());
    const int count = pages.captured(1).toInt();
    for (int i = 1; i <= count; ++i)
        EXPECT_TRUE(text.contains(QStringLiteral("Page %1 of %2").arg(i).arg(count))) << i;

    // The export, under the name the dialog proposes.
    p.setAnswers({QStringLiteral("OK")});
    p.command(QStringLiteral("trigger MainDisp/mnuexport"));
    const QString folder = p.programFolder() + QStringLiteral("/csvdata");
    ASSERT_TRUE(p.waitDump([&](const QJsonObject&) {
        return !QDir(folder).entryList({QStringLiteral("*.csv")}, QDir::Files).isEmpty();
    }));
    const QString name = QDir(folder).entryList({QStringLiteral("*.csv")}, QDir::Files).first();
    QFile f(folder + QLatin1Char('/') + name);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.startsWith("\"QMX-52C Console Software\r\n\"\r\n\"Parameter\"\r\n"));
    EXPECT_TRUE(bytes.contains("\r\n\"Main set value\","));
    // Nothing went wrong on the way: no message box was raised.
    for (const QJsonObject& o : p.msgLog())
        EXPECT_NE(o.value(QStringLiteral("box")).toString(), QStringLiteral("msg"))
            << o.value(QStringLiteral("text")).toString().toStdString();
    p.command(QStringLiteral("quit"));
}
