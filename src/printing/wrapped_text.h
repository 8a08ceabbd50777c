#pragma once

#include <QPainter>
#include <QRectF>
#include <QString>

namespace printing {

// Draws text broken into lines to the width of box (device units) in the painter's font,
// placed in the box as flags say (Qt::AlignLeft, AlignHCenter or AlignRight with AlignTop,
// AlignVCenter or AlignBottom). Each line is as tall as the ascent plus the descent that the
// hhea tables of its faces give, without line gap, as LibreOffice sets wrapped cell text;
// Qt's own line spacing adds the gap or takes the taller Windows metrics. A face without a
// bold of its own is emboldened by drawing the lines again bold_shift device units to the
// right (0: not at all).
void DrawWrappedText(QPainter& p, const QRectF& box, int flags, const QString& text,
                     double bold_shift);

}  // namespace printing
