#pragma once

#include <QByteArray>
#include <QSizeF>

namespace printing {

// Qt's PDF writer keeps the paper in whole points: A4 (595.28 × 841.89 pt) comes out 595 ×
// 842, 209.9 mm wide. This gives every page box of a PDF Qt wrote that rounded size the
// exact paper instead, keeping the box's top edge where it was, since Qt places the drawing
// down from the top; the cross-reference table is moved on to match. A PDF not laid out as
// Qt writes it, or with boxes of another size, comes back as it was.
QByteArray WithExactPaper(const QByteArray& pdf, QSizeF paper_points);

}  // namespace printing
