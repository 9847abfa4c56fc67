// Which report rows go on which printed page.
#pragma once

#include <vector>

namespace qmx {

struct PageRows {
    int first; // index of the page's first detail row
    int count; // rows on the page
};

// Pages for `rows` detail rows when the first page has room for `firstPage` rows and every other
// page for `otherPages`. There is always one page, even without a row, so the title and headings
// are printed.
std::vector<PageRows> reportPages(int rows, int firstPage, int otherPages);

} // namespace qmx
