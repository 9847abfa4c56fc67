// Which rows go on which page of the printed report.
#include "rules/report_pages.h"

#include <gtest/gtest.h>

using namespace qmx;

TEST(ReportPages, RowsFlowOverPages)
{
    const struct {
        int rows, first, other;
        std::vector<std::pair<int, int>> pages; // first row, count
    } cases[] = {
        {0, 40, 42, {{0, 0}}}, // title and headings without a row
        {28, 40, 42, {{0, 28}}},
        {40, 40, 42, {{0, 40}}},
        {41, 40, 42, {{0, 40}, {40, 1}}},
        {55, 40, 42, {{0, 40}, {40, 15}}},
        {90, 40, 42, {{0, 40}, {40, 42}, {82, 8}}},
        {3, 0, 0, {{0, 1}, {1, 1}, {2, 1}}}, // no room still makes progress
    };
    for (const auto& c : cases) {
        const auto pages = reportPages(c.rows, c.first, c.other);
        ASSERT_EQ(pages.size(), c.pages.size()) << c.rows;
        for (size_t i = 0; i < pages.size(); ++i) {
            EXPECT_EQ(pages[i].first, c.pages[i].first) << c.rows << " page " << i;
            EXPECT_EQ(pages[i].count, c.pages[i].second) << c.rows << " page " << i;
        }
    }
}
