// The message-box, file-dialog and beep seam: scripted answers in order and the message log.
#include "ui/ui_seam.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

using namespace qmx::ui;

namespace {

class Seam : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("QMX_ANSWERS", dir.filePath(QStringLiteral("a.txt")).toUtf8());
        qputenv("QMX_MSGLOG", dir.filePath(QStringLiteral("log.jsonl")).toUtf8());
        resetAnswers();
    }
    void TearDown() override
    {
        qunsetenv("QMX_ANSWERS");
        qunsetenv("QMX_MSGLOG");
    }
    void answers(const QByteArray& text)
    {
        QFile f(dir.filePath(QStringLiteral("a.txt")));
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(text);
    }
    QList<QByteArray> logLines()
    {
        QFile f(dir.filePath(QStringLiteral("log.jsonl")));
        f.open(QIODevice::ReadOnly);
        QList<QByteArray> l = f.readAll().split('\n');
        if (!l.isEmpty() && l.last().isEmpty())
            l.removeLast();
        return l;
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(Seam, AnswersAreTakenInOrderAndLogged)
{
    answers("Yes\r\nno\n\nRetry\nOK\n");
    EXPECT_EQ(MsgBox(QStringLiteral("Close?"), Buttons::YesNo, Icon::Question, QStringLiteral("T")),
              Answer::Yes);
    EXPECT_EQ(MsgBox(QStringLiteral("Again?"), Buttons::YesNo, Icon::Question), Answer::No);
    EXPECT_EQ(MsgBox(QStringLiteral("Model"), Buttons::RetryCancel, Icon::Exclamation),
              Answer::Retry);
    EXPECT_EQ(MsgBox(QStringLiteral("Done"), Buttons::OK, Icon::None), Answer::OK);
    Beep();
    const QList<QByteArray> l = logLines();
    ASSERT_EQ(l.size(), 5);
    const QJsonObject first = QJsonDocument::fromJson(l[0]).object();
    EXPECT_EQ(first, QJsonObject({{QStringLiteral("box"), QStringLiteral("msg")},
                                  {QStringLiteral("icon"), QStringLiteral("question")},
                                  {QStringLiteral("title"), QStringLiteral("T")},
                                  {QStringLiteral("text"), QStringLiteral("Close?")},
                                  {QStringLiteral("buttons"),
                                   QJsonArray{QStringLiteral("Yes"), QStringLiteral("No")}},
                                  {QStringLiteral("answer"), QStringLiteral("Yes")}}));
    EXPECT_EQ(QJsonDocument::fromJson(l[1]).object().value(QStringLiteral("title")).toString(),
              QStringLiteral("DFX-QMX07K"));
    EXPECT_EQ(QJsonDocument::fromJson(l[1]).object().value(QStringLiteral("answer")).toString(),
              QStringLiteral("No"));
    EXPECT_EQ(QJsonDocument::fromJson(l[2]).object().value(QStringLiteral("icon")).toString(),
              QStringLiteral("exclamation"));
    EXPECT_EQ(QJsonDocument::fromJson(l[2]).object().value(QStringLiteral("buttons")).toArray(),
              (QJsonArray{QStringLiteral("Retry"), QStringLiteral("Cancel")}));
    EXPECT_EQ(QJsonDocument::fromJson(l[3]).object().value(QStringLiteral("icon")).toString(),
              QStringLiteral("none"));
    EXPECT_EQ(l[4], QByteArray("{\"beep\":1}"));
}

TEST_F(Seam, FileDialogsTakeAPathOrCancelAndAddTheExtension)
{
    answers("/tmp/a\nCancel\n/tmp/b.dat\n/tmp/c.txt\n");
    EXPECT_EQ(FileDialog(FileMode::Save, QStringLiteral("/s"),
                         QStringLiteral("*.dat(data file)|*.dat"), QStringLiteral("dat")),
              QStringLiteral("/tmp/a.dat"));
    EXPECT_EQ(FileDialog(FileMode::Open, QStringLiteral("/s"),
                         QStringLiteral("*.dat(data file)|*.dat"), QStringLiteral("dat")),
              QString());
    EXPECT_EQ(FileDialog(FileMode::Open, QStringLiteral("/s"),
                         QStringLiteral("*.dat(data file)|*.dat"), QStringLiteral("dat")),
              QStringLiteral("/tmp/b.dat"));
    EXPECT_EQ(FileDialog(FileMode::Open, QStringLiteral("/s"), QStringLiteral("x|*.txt"),
                         QStringLiteral("dat")),
              QStringLiteral("/tmp/c.txt"));
    const QList<QByteArray> l = logLines();
    ASSERT_EQ(l.size(), 4);
    EXPECT_EQ(QJsonDocument::fromJson(l[0]).object(),
              QJsonObject({{QStringLiteral("box"), QStringLiteral("file")},
                           {QStringLiteral("mode"), QStringLiteral("save")},
                           {QStringLiteral("dir"), QStringLiteral("/s")},
                           {QStringLiteral("filter"), QStringLiteral("*.dat(data file)|*.dat")},
                           {QStringLiteral("answer"), QStringLiteral("/tmp/a.dat")}}));
    EXPECT_EQ(QJsonDocument::fromJson(l[1]).object().value(QStringLiteral("answer")).toString(),
              QStringLiteral("Cancel"));
    EXPECT_EQ(QJsonDocument::fromJson(l[1]).object().value(QStringLiteral("mode")).toString(),
              QStringLiteral("open"));
}

TEST_F(Seam, AnswersAddedLaterAreFoundAndNothingIsOpenWithoutABox)
{
    answers("OK\n");
    EXPECT_EQ(MsgBox(QStringLiteral("1"), Buttons::OK, Icon::Information), Answer::OK);
    answers("OK\nYes\n");
    EXPECT_EQ(MsgBox(QStringLiteral("2"), Buttons::YesNo, Icon::Question), Answer::Yes);
    EXPECT_TRUE(openBoxInfo().isEmpty());
    QString why;
    EXPECT_FALSE(answerOpen(QStringLiteral("OK"), &why));
    EXPECT_FALSE(why.isEmpty());
}
