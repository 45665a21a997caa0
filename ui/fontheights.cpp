#include "fontheights.h"

#include <QFontMetrics>
#include <QHash>
#include <QLabel>
#include <QRawFont>
#include <QtEndian>

#include <cmath>

namespace ui {

namespace {

TextMetrics readTextMetrics(const QFont &font)
{
    const QRawFont raw = QRawFont::fromFont(font);
    const QByteArray os2 = raw.isValid() ? raw.fontTable("OS/2") : QByteArray();
    constexpr int winAscentAt = 74, winDescentAt = 76;
    if (os2.size() < winDescentAt + 2 || raw.unitsPerEm() <= 0) {
        const QFontMetrics metrics(font);
        return {metrics.ascent(), metrics.descent()};
    }
    const auto pixels = [&](int offset) {
        const quint16 units = qFromBigEndian<quint16>(os2.constData() + offset);
        return int(std::lround(units * raw.pixelSize() / raw.unitsPerEm()));
    };
    return {pixels(winAscentAt), pixels(winDescentAt)};
}

} // namespace

// Reading a font's tables costs a font engine of its own (a quarter of a
// millisecond for Qt's emboldened Tahoma), and start-up asks for the same few
// fonts several times: each font is read once.
TextMetrics textMetrics(const QFont &font)
{
    static QHash<QString, TextMetrics> known;
    const QString key = font.key();
    const auto found = known.constFind(key);
    if (found != known.constEnd())
        return *found;
    return *known.insert(key, readTextMetrics(font));
}

int baselineShortfall(const QFont &font)
{
    return std::max(0, textMetrics(font).ascent - QFontMetrics(font).ascent());
}

void fitToText(QLabel *label)
{
    label->setContentsMargins(0, baselineShortfall(label->font()), 0, 0);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->resize(label->fontMetrics().horizontalAdvance(label->text()), textMetrics(label->font()).height());
}

} // namespace ui
