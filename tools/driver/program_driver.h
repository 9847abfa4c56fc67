// Runs the real program in a private set of folders and drives it through its test seams:
// scripted answers, the message log and the automation socket.
#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

class QSettings;

class ProgramRun {
public:
    // `lang` is the LANG the program sees ("en_US.UTF-8", "ja_JP.UTF-8").
    explicit ProgramRun(const QString& lang = QStringLiteral("en_US.UTF-8"));
    ~ProgramRun();

    // A second program sharing this one's folders (the single-instance check), with its own
    // answers, message log and socket.
    ProgramRun(const ProgramRun& sharedFolders, const QString& lang);

    QString root() const { return dir_.path(); }
    QString programFolder() const; // …/VELDER BRANTIS/DFX-QMX07K
    QString iniPath() const;
    std::unique_ptr<QSettings> settings() const;

    void setAnswers(const QStringList& lines);
    void addAnswers(const QStringList& lines);
    QList<QJsonObject> msgLog() const;
    // Waits until the log holds at least `n` lines.
    bool waitLog(int n, int ms = 10000) const;

    // Starts the program; `automation` false leaves QMX_AUTOMATION unset.
    void start(const QStringList& args = {}, const QString& workDir = QString(),
               bool automation = true);
    bool waitReady(int ms = 20000);
    QJsonObject command(const QString& line, int ms = 5000);
    QJsonObject dump()
    {
        return command(QStringLiteral("dump")).value(QStringLiteral("widgets")).toObject();
    }
    QJsonObject widget(const QString& path) { return dump().value(path).toObject(); }
    // Polls the dump until `pred` holds.
    bool waitDump(const std::function<bool(const QJsonObject&)>& pred, int ms = 10000);
    bool waitFinished(int ms = 15000);
    bool running() const { return proc_.state() != QProcess::NotRunning; }
    int exitCode() const { return proc_.exitCode(); }
    QString stderrText() { return QString::fromLocal8Bit(proc_.readAllStandardError()); }
    QProcess& process() { return proc_; }

private:
    QTemporaryDir dir_;
    QString shared_; // the folder whose XDG folders the program uses
    QString lang_;
    QString answers_, log_, socket_;
    QProcess proc_;
};
