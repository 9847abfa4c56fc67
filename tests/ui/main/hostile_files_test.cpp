// File save and File load in a hostile place: a disk that fills up under a save, a named pipe
// chosen as a set-data file.
#include "window_fixture.h"

#include "../../files/file_size_limit.h"
#include "../../log_capture.h"
#include "ui/ui_widgets.h"

#include <QDir>
#include <QProgressBar>
#include <QTimer>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>

namespace {

using HostileFiles = WindowFixture;

QByteArray contentOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST_F(HostileFiles, ASaveOnAFullDiskKeepsTheOldFileAndTellsTheSystemsReason)
{
    const QString path = dir.filePath(QStringLiteral("set.dat"));
    answers({path});
    w->mnuSave_Click();
    const QByteArray before = contentOf(path);
    ASSERT_FALSE(before.isEmpty());
    d.ParaVal(13) = 77;
    d.DataChanged = true;
    // The full disk keeps the message log from recording the failure box: the test reads the
    // open box itself and closes it.
    answers({path, QStringLiteral("Yes")});
    QString told;
    QTimer operatorHand;
    QObject::connect(&operatorHand, &QTimer::timeout, [&] {
        if (qmx::ui::openBoxInfo().isEmpty())
            return;
        told = qmx::ui::openBoxInfo().value(QStringLiteral("text")).toString();
        qmx::ui::answerOpen(QStringLiteral("OK"));
    });
    operatorHand.start(20);
    {
        FileSizeLimit full(64);
        ASSERT_TRUE(full.ok());
        w->mnuSave_Click();
    }
    EXPECT_EQ(contentOf(path), before) << "the old file is untouched";
    EXPECT_TRUE(told.contains(QStringLiteral("set.dat"))) << told.toStdString();
    EXPECT_TRUE(told.contains(QString::fromLocal8Bit(std::strerror(EFBIG)))) << told.toStdString();
    EXPECT_TRUE(d.DataChanged) << "nothing was saved";
    EXPECT_TRUE(w->ProgressBar1->isHidden());
}

// A refused file keeps its reason: the box says string 27, its detail and the files' log say which
// file and which line.
TEST_F(HostileFiles, ARefusedFileTellsWhichLineInTheDetail)
{
    const QString path = dir.filePath(QStringLiteral("damaged.dat"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write("\"QMX-400\"\r\n0\r\n0\r\n") > 0);
    f.close();
    LogCapture capture("qmx.files");
    answers({QStringLiteral("Yes"), path, QStringLiteral("OK")});
    w->mnuLoad_Click();
    capture.stop();

    ASSERT_EQ(texts(), (QStringList{S(535), QStringLiteral("<file>"), S(27)}));
    const QString detail = log().last().value(QStringLiteral("detail")).toString();
    for (const QString& said : {detail, capture.lines().join(QLatin1Char('\n'))})
        EXPECT_TRUE(said.contains(QDir::toNativeSeparators(path)) &&
                    said.contains(QStringLiteral("line 3")))
            << said.toStdString();
}

TEST_F(HostileFiles, ANamedPipeIsRefusedAsADamagedFile)
{
    const QString fifo = dir.filePath(QStringLiteral("pipe.dat"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    w->Label6->setText(QStringLiteral("before.dat"));
    const int16_t p13 = d.ParaVal(13);
    answers({QStringLiteral("Yes"), fifo, QStringLiteral("OK")});
    // Opening the pipe would wait for a writer for ever: returning at all is half the test.
    w->mnuLoad_Click();
    EXPECT_EQ(texts(), (QStringList{S(535), QStringLiteral("<file>"), S(27)}));
    EXPECT_EQ(w->Label6->text(), QStringLiteral("before.dat"));
    EXPECT_EQ(d.ParaVal(13), p13);
    EXPECT_FALSE(d.DataValid);
    EXPECT_FALSE(d.DataChanged);
}

} // namespace
