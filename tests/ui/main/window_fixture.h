// An in-process main window in private folders, with the seams' answer list and message log.
#pragma once

#include "comm/exchange.h"
#include "comm/velder_comm.h"
#include "files/settings_store.h"
#include "model/qmx_data.h"
#include "model/string_table.h"
#include "ui/main/main_disp.h"
#include "ui/ui_seam.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QTemporaryDir>

class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toUtf8());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           dir.filePath(QStringLiteral("config")));
        qputenv("QMX_MSGLOG", logPath().toUtf8());
        qputenv("QMX_ANSWERS", dir.filePath(QStringLiteral("answers.txt")).toUtf8());
        qmx::ui::resetAnswers();
        qmx::setUiLanguage(qmx::Language::English);
        qmx::prepareFolders(qmx::programFolder());
        d.Set_Defaults();
        w = std::make_unique<qmx::MainDisp>(d);
        w->system_init();
    }
    void TearDown() override
    {
        w.reset();
        qunsetenv("QMX_MSGLOG");
        qunsetenv("QMX_ANSWERS");
    }
    QString logPath() const { return dir.filePath(QStringLiteral("msglog.jsonl")); }
    void answers(const QStringList& lines)
    {
        QFile f(dir.filePath(QStringLiteral("answers.txt")));
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        for (const QString& l : lines)
            f.write(l.toUtf8() + '\n');
        qmx::ui::resetAnswers();
    }
    QList<QJsonObject> log() const
    {
        QList<QJsonObject> out;
        QFile f(logPath());
        if (f.open(QIODevice::ReadOnly))
            for (const QByteArray& l : f.readAll().split('\n'))
                if (!l.isEmpty())
                    out << QJsonDocument::fromJson(l).object();
        return out;
    }
    QStringList texts() const
    {
        QStringList out;
        for (const QJsonObject& o : log())
            out << (o.contains(QStringLiteral("beep")) ? QStringLiteral("<beep>")
                    : o.value(QStringLiteral("box")) == QStringLiteral("file")
                        ? QStringLiteral("<file>")
                        : o.value(QStringLiteral("text")).toString());
        return out;
    }
    static QString S(int id) { return qmx::LoadResString(id, qmx::Language::English); }

    QTemporaryDir dir;
    qmx::QmxData d;
    std::unique_ptr<qmx::MainDisp> w;
};
