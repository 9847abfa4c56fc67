// How a picture goes on one printed page: turned to landscape when it is wider than high, then
// scaled to the page keeping its ratio, top left at the page's top left.
#pragma once

#include <QSizeF>

namespace qmx {

// Landscape only for a picture wider than high; a square one prints upright.
bool printLandscape(const QSizeF& picture);

// The printed size of `picture` on a page of `page`: one side fills the page, the other keeps the
// picture's ratio; a picture with the page's ratio fills both. An empty picture or page gives an
// empty size.
QSizeF fitToPage(const QSizeF& picture, const QSizeF& page);

} // namespace qmx
