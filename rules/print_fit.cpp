#include "rules/print_fit.h"

namespace qmx {

bool printLandscape(const QSizeF& picture)
{
    return picture.height() < picture.width();
}

QSizeF fitToPage(const QSizeF& picture, const QSizeF& page)
{
    if (picture.width() <= 0 || picture.height() <= 0 || page.width() <= 0 || page.height() <= 0)
        return {};
    const double pictureRatio = picture.width() / picture.height();
    const double pageRatio = page.width() / page.height();
    if (pictureRatio >= pageRatio)
        return {page.width(), page.width() / pictureRatio};
    return {page.height() * pictureRatio, page.height()};
}

} // namespace qmx
