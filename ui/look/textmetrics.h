#pragma once

class QFont;
class QLabel;

namespace ui {

// A line of text as the platform that the layouts were made on measures it:
// the font's Windows ascent and descent (usWinAscent, usWinDescent of its
// OS/2 table), each rounded to whole pixels. Fonts that set the "use typo
// metrics" flag, Tahoma among them, make Qt measure less, and every row and
// label height that the layouts derive from a text height would then be too
// short for accented capitals. Fonts without the table fall back to Qt's
// own ascent and descent.
struct TextMetrics {
    int ascent = 0;
    int descent = 0;
    int height() const { return ascent + descent; }
};
TextMetrics textMetrics(const QFont &font);

// Where the layout's platform puts the first baseline, Qt puts it this many
// pixels higher: a label's text starts that much lower to stand where the
// layout expects it, with room above its accented capitals.
int baselineShortfall(const QFont &font);

// A label that sizes itself to its text: as high as a line, and as wide as the
// text once it is shown.
void fitToText(QLabel *label);

} // namespace ui
