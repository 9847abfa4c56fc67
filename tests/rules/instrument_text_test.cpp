// The instrument number the settings dialog takes: one or two decimal digits up to 95.
#include "ui/dialogs/subdisp_comm.h"

#include <gtest/gtest.h>

#include <ostream>

using qmx::InstrumentText;

namespace {

struct TextCase {
    const char* text;
    InstrumentText verdict;
};

const TextCase kTexts[] = {
    {"5", InstrumentText::Valid},         {"05", InstrumentText::Valid},
    {"0", InstrumentText::Valid},         {"95", InstrumentText::Valid},
    {"96", InstrumentText::OutOfRange},   {"1000", InstrumentText::OutOfRange},
    {"0096", InstrumentText::OutOfRange}, {"005", InstrumentText::Malformed},
    {"9A", InstrumentText::Malformed},    {"-1", InstrumentText::Malformed},
    {" 5", InstrumentText::Malformed},    {"", InstrumentText::Malformed},
    {"5.0", InstrumentText::Malformed},   {"\xd9\xa5", InstrumentText::Malformed}, // Arabic five
};

// Parameterised tests are listed by the text they judge.
void PrintTo(const TextCase& c, std::ostream* os)
{
    *os << '"' << c.text << '"';
}

class InstrumentNumber : public ::testing::TestWithParam<TextCase> {};

} // namespace

TEST_P(InstrumentNumber, IsJudged)
{
    EXPECT_EQ(qmx::checkInstrumentText(QString::fromUtf8(GetParam().text)), GetParam().verdict);
}

INSTANTIATE_TEST_SUITE_P(Dialog, InstrumentNumber, ::testing::ValuesIn(kTexts));
