// Every seed of every fuzz target through the same entry points the fuzzer uses, built with the
// normal compiler: an input that once crashed a reader stays in the corpus and keeps it fixed.
#include "fuzz_targets.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

namespace qmx::fuzz {
// Parameterised tests are listed by the target's name.
inline void PrintTo(const Target& t, std::ostream* os)
{
    *os << t.name;
}
} // namespace qmx::fuzz

namespace {

const QString kCorpus = QStringLiteral(QMX_SOURCE_DIR "/tests/fuzz/corpus");

class FuzzReplay : public ::testing::TestWithParam<qmx::fuzz::Target> {};

TEST_P(FuzzReplay, EverySeedRunsThroughItsReader)
{
    const qmx::fuzz::Target& t = GetParam();
    const QDir dir(kCorpus + QLatin1Char('/') + QLatin1String(t.name));
    const QStringList seeds = dir.entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(seeds.isEmpty()) << "no seeds in " << dir.path().toStdString();
    for (const QString& name : seeds) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
        const QByteArray bytes = f.readAll();
        SCOPED_TRACE(name.toStdString());
        // A broken promise aborts the process; a normal return is the pass.
        EXPECT_EQ(t.run(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                        std::size_t(bytes.size())),
                  0);
    }
    // The empty input too: the first thing a fuzzer tries.
    EXPECT_EQ(t.run(nullptr, 0), 0);
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplay,
                         ::testing::ValuesIn(qmx::fuzz::targets().begin(),
                                             qmx::fuzz::targets().end()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
