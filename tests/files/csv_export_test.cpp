// Writing an export: a block goes after what the file holds; a failure leaves everything as it was
// and nothing half-written beside it.
#include "files/csv_export.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

using namespace qmx;

TEST(CsvExport, AppendsOrLeavesTheFileAsItWas)
{
    const struct {
        const char* name;
        const char* before; // nullptr: no file, "/": a folder of that name
        bool readOnly;
        bool ok;
    } cases[] = {
        {"a.csv", nullptr, false, true},   {"a.csv", "old\r\n", false, true},
        {"a.csv", "/", false, false},      {"no/such.csv", nullptr, false, false},
        {"a.csv", "old\r\n", true, false}, // root writes anything: skipped there
    };
    for (const auto& c : cases) {
        if (c.readOnly && geteuid() == 0)
            continue;
        QTemporaryDir dir;
        const QString path = dir.filePath(QLatin1String(c.name));
        const QByteArray before = c.before ? QByteArray(c.before) : QByteArray();
        if (before == "/") {
            ASSERT_TRUE(QDir().mkdir(path));
        } else if (c.before) {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(before);
            f.close();
            if (c.readOnly)
                f.setPermissions(QFile::ReadOwner);
        }
        QString why;
        EXPECT_EQ(appendCsvBlock(path, "\"new\"\r\n", &why), c.ok) << c.name << c.before;
        EXPECT_EQ(why.isEmpty(), c.ok) << c.name;
        if (before != "/") {
            QFile f(path);
            const QByteArray now = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
            EXPECT_EQ(now, c.ok       ? before + "\"new\"\r\n"
                           : c.before ? before
                                      : QByteArray("<none>"));
        }
        const QStringList left =
            QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        EXPECT_EQ(left, c.ok || c.before ? QStringList{"a.csv"} : QStringList{}) << c.name;
    }
}
