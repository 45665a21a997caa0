#include "look/textmetrics.h"

#include <QEvent>
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

void fitWidth(QLabel *label)
{
    label->resize(label->fontMetrics().horizontalAdvance(label->text()), label->height());
}

// Measuring a text's width shapes it, a cost start-up need not pay for a page
// it does not show: a hidden label takes its width when it is next shown.
class WidthOnShow final : public QObject {
public:
    static WidthOnShow &instance()
    {
        static WidthOnShow filter;
        return filter;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            watched->removeEventFilter(this);
            fitWidth(static_cast<QLabel *>(watched));
        }
        return false;
    }
};

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
    label->resize(label->width(), textMetrics(label->font()).height());
    if (label->isVisible())
        fitWidth(label);
    else
        label->installEventFilter(&WidthOnShow::instance());
}

} // namespace ui
