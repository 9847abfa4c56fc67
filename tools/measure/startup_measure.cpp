// The start-up measure (not a test): how long the program takes from its start to the end of the
// main window's load step, and its resident memory once started. The automation server opens right
// after the load step, so the first answer it gives marks that moment.
//   qmx_startup_measure [RUNS]
#include "program_driver.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cstdio>

namespace {

long residentKiB(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 10;
    std::vector<qint64> ms;
    std::vector<long> rss;
    for (int i = 0; i < runs; ++i) {
        ProgramRun p;
        QElapsedTimer t;
        t.start();
        p.start();
        if (!p.waitReady()) {
            std::fprintf(stderr, "the program did not come up\n");
            return 1;
        }
        ms.push_back(t.elapsed());
        p.command(QStringLiteral("dump"));
        rss.push_back(residentKiB(p.process().processId()));
        p.command(QStringLiteral("quit"));
        p.waitFinished();
    }
    std::sort(ms.begin(), ms.end());
    std::sort(rss.begin(), rss.end());
    std::printf("runs %d\nstart to load step done: median %lld ms, min %lld ms, max %lld ms\n",
                runs, static_cast<long long>(ms[ms.size() / 2]), static_cast<long long>(ms.front()),
                static_cast<long long>(ms.back()));
    std::printf("resident memory after start: median %ld KiB (%.1f MiB)\n", rss[rss.size() / 2],
                rss[rss.size() / 2] / 1024.0);
    return 0;
}
