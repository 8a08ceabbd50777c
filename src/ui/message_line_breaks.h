#pragma once

#include <QString>

class QFontMetrics;

namespace ui {

// Breaks a message into lines no wider than `width` pixels, breaking only at separators: after
// a blank, a path separator or Chinese punctuation, before an opening quotation mark or
// bracket. A file or folder name is never split (Qt would break 锯材账单.xls between any two
// of its characters); a line never starts with a closing mark. A piece without a separator
// that is wider than the line stands alone on a line of its own. The breaks are line
// separators (U+2028), which Qt's labels honour: taking them out gives the message back as
// it was, with its own line breaks.
QString BreakAtSeparators(const QString& message, const QFontMetrics& metrics, int width);

}  // namespace ui
