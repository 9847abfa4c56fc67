// Writing an export: a block goes after what the file holds; a failure leaves everything as it was
// and nothing half-written beside it.
#include "files/csv_export.h"

#include "file_size_limit.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>

#include <pwd.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
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

// An existing export takes the block in place: a block that does not get in whole (the disk fills
// part way) is cut back off, with the system's reason; a folder the operator may not write (the
// file itself writable) takes it all the same. Root writes anywhere: that part runs with the file
// rights of the unprivileged user "nobody" then.
TEST(CsvExport, AppendsInPlaceAndCutsBackABlockThatDidNotGetInWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.csv"));
    const QByteArray file = QFile::encodeName(path), folder = QFile::encodeName(dir.path());
    const auto content = [&] {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
    };
    ASSERT_TRUE(appendCsvBlock(path, "old\r\n", nullptr)); // a new file
    QString why;
    {
        FileSizeLimit full(5 + 8); // room for a few bytes of the block
        ASSERT_TRUE(full.ok());
        EXPECT_FALSE(appendCsvBlock(path, QByteArray(4096, 'x') + "\r\n", &why));
    }
    EXPECT_TRUE(why.contains(QString::fromLocal8Bit(std::strerror(EFBIG)))) << why.toStdString();
    EXPECT_EQ(content(), QByteArray("old\r\n"));

    ASSERT_EQ(chmod(file.constData(), 0666), 0);
    ASSERT_EQ(chmod(folder.constData(), 0555), 0);
    const passwd* nobody = geteuid() == 0 ? getpwnam("nobody") : nullptr;
    if (nobody) {
        setfsgid(nobody->pw_gid);
        setfsuid(nobody->pw_uid);
    }
    const bool locked = !QFile(dir.filePath(QStringLiteral("probe"))).open(QIODevice::WriteOnly);
    const bool appended = locked && appendCsvBlock(path, "\"new\"\r\n", &why);
    setfsuid(geteuid());
    setfsgid(getegid());
    chmod(folder.constData(), 0755);
    if (!locked)
        GTEST_SKIP() << "no unprivileged user to lock " << dir.path().toStdString();
    EXPECT_TRUE(appended) << why.toStdString();
    EXPECT_EQ(content(), QByteArray("old\r\n\"new\"\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"a.csv"});
}
