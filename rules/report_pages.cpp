#include "rules/report_pages.h"

#include <algorithm>

namespace qmx {

std::vector<PageRows> reportPages(int rows, int firstPage, int otherPages)
{
    firstPage = std::max(1, firstPage);
    otherPages = std::max(1, otherPages);
    std::vector<PageRows> pages;
    int next = 0;
    int room = firstPage;
    do {
        const int n = std::min(room, std::max(0, rows - next));
        pages.push_back({next, n});
        next += n;
        room = otherPages;
    } while (next < rows);
    return pages;
}

} // namespace qmx
