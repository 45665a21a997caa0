// The windows at the display density this run has (CTest runs it at 96 dpi
// and with QT_SCALE_FACTOR at 1.25, 1.5 and 2): every size of the layouts is
// given at 96 dpi and must come out multiplied by the factor and rounded, the
// grid's one-pixel lines and its frame must stay crisp and whole, and every
// text must stay inside its control.
#include "widgets/dbgrid.h"
#include "program.h"
#include "testmain.h"

#include <QAbstractButton>
#include <QLabel>
#include <QBackingStore>
#include <QScrollBar>
#include <QTest>

#include <algorithm>
#include <cmath>

class DensityTest final : public QObject {
    Q_OBJECT

    std::unique_ptr<StartedProgram> m_run;
    TForm1 &form() { return m_run->program.form; }
    TForm2 &detail() { return m_run->program.detail; }
    qreal factor() const { return m_run->program.form.devicePixelRatioF(); }

    // A size at 96 dpi as the screen shows it: scaled and rounded, give or
    // take the pixel that a fractional position can add or take away.
    void compareScaled(int shown, int at96, const char *what)
    {
        const int expected = int(std::lround(at96 * factor()));
        QVERIFY2(std::abs(shown - expected) <= 1,
                 qPrintable(QStringLiteral("%1: %2 px, expected %3").arg(QLatin1String(what)).arg(shown).arg(expected)));
    }

    void compareScaled(QSize shown, QSize at96, const char *what)
    {
        compareScaled(shown.width(), at96.width(), what);
        compareScaled(shown.height(), at96.height(), what);
    }

    static QSize onScreen(QWidget *widget) { return widget->grab().toImage().size(); }

    // What the window's backing store holds: the screen's pixels as painted,
    // every widget at its real (possibly fractional) place. A screen grab
    // would do, but the test platform cuts it to the window's unscaled size.
    static QImage shownOnScreen(QWidget &window)
    {
        QPaintDevice *store = window.backingStore()->paintDevice();
        return store->devType() == QInternal::Image ? *static_cast<QImage *>(store) : QImage();
    }

    // The screen pixels on the way from one point of the window to another,
    // both given in the window's own units and on one row or one column.
    QList<QRgb> devicePixelsAlong(const QImage &window, QPoint from, QPoint to) const
    {
        const auto device = [this](int at) { return int(std::floor(at * factor())); };
        QList<QRgb> pixels;
        if (from.y() == to.y()) {
            for (int x = device(from.x()); x <= device(to.x()); ++x)
                pixels << window.pixel(x, device(from.y()));
        } else {
            for (int y = device(from.y()); y <= device(to.y()); ++y)
                pixels << window.pixel(device(from.x()), y);
        }
        return pixels;
    }

private slots:
    void init()
    {
        m_run = std::make_unique<StartedProgram>();
        QVERIFY(QTest::qWaitForWindowExposed(&form()));
    }

    void cleanup() { m_run.reset(); }

    void windowsAndPanelsScale()
    {
        const int menu = form().menuBar()->height();
        compareScaled(onScreen(&form()), QSize(702, 549 + menu), "main window");
        compareScaled(onScreen(form().PageControl1), QSize(681, 514), "page control");
        compareScaled(onScreen(form().StatusBar1), QSize(702, 19), "status bar");
        compareScaled(std::lround(form().StatusBar1->panelRect(0).width() * factor()), 500, "panel 0");
        compareScaled(std::lround(form().StatusBar1->panelRect(1).width() * factor()), 202, "panel 1");
        compareScaled(onScreen(form().DBGrid1), QSize(667, 470), "grid");
        compareScaled(onScreen(&detail()), QSize(410, 490), "detail window");
        compareScaled(onScreen(detail().Memo1), QSize(396, 292), "text box");
    }

    // Rows follow the scaled font; down a column of blank cell area every
    // pixel is either the cells' background or the grid line's colour, with
    // nothing blended between them, and every line is as thick as the others.
    void gridLinesStayCrisp()
    {
        ui::DBGrid *grid = form().DBGrid1;
        const QImage shown = grid->viewport()->grab().toImage();
        const QRgb base = grid->palette().color(QPalette::Base).rgb();
        const QRgb line = grid->palette().color(QPalette::Mid).rgb();
        const ui::GridGeometry &geometry = grid->gridGeometry();
        const int x = int((geometry.columnEdge() - 20) * factor());
        const int top = int(std::ceil(geometry.rowsTop() * factor()));
        const int bottom = int(geometry.rowTop(grid->rowCount()) * factor());
        QList<int> lineTops, thicknesses;
        for (int y = top; y < bottom; ++y) {
            const QRgb pixel = shown.pixel(x, y);
            QVERIFY2(pixel == base || pixel == line, qPrintable(QStringLiteral("blended pixel at y %1").arg(y)));
            if (pixel == line && shown.pixel(x, y - 1) != line) {
                lineTops << y;
                thicknesses << 1;
            } else if (pixel == line) {
                ++thicknesses.last();
            }
        }
        QCOMPARE(lineTops.size(), grid->rowCount());
        for (int thickness : thicknesses)
            QCOMPARE(thickness, thicknesses.first());
        const qreal pitch = geometry.rowPitch() * factor();
        for (qsizetype i = 1; i < lineTops.size(); ++i)
            QVERIFY(std::abs(lineTops[i] - lineTops[i - 1] - pitch) < 1);
    }

    // The grid's frame and the lines around its title cell, as the window
    // shows them where the grid really sits (fractional positions included):
    // each strip of screen pixels across a line holds that line's colour, and
    // no pixel of it is left unpainted (black).
    void gridFrameAndTitleLinesShow()
    {
        ui::DBGrid *grid = form().DBGrid1;
        const QImage window = shownOnScreen(form());
        const QRgb line = grid->palette().color(QPalette::Mid).rgb();
        const ui::GridGeometry &geometry = grid->gridGeometry();
        const QPoint inside = grid->viewport()->mapTo(&form(), QPoint());
        const QRect outer(grid->mapTo(&form(), QPoint()), grid->size());
        const QPoint title = geometry.titleRect().center() + inside;
        const QPoint corner = geometry.cornerRect().center() + inside;
        const QPoint cell = geometry.cellRect(0).center() + inside;
        const int barMiddle = grid->verticalScrollBar()->mapTo(&form(), grid->verticalScrollBar()->rect().center()).x();

        struct Strip {
            const char *line;
            QPoint from, to; // in the window's own units, along one axis
        };
        const Strip strips[] = {
            {"frame above the title cell", {title.x(), outer.top() - 2}, title},
            {"line below the title cell", title, cell},
            {"line left of the title cell", corner, {geometry.titleRect().left() + inside.x() + 1, title.y()}},
            {"frame left of the corner", {outer.left() - 2, corner.y()}, corner},
            {"frame below the rows", {cell.x(), outer.bottom() - 4}, {cell.x(), outer.bottom() + 2}},
            {"frame right of the scroll bar", {barMiddle, cell.y()}, {outer.right() + 2, cell.y()}},
        };
        QStringList faults;
        for (const Strip &strip : strips) {
            const QList<QRgb> pixels = devicePixelsAlong(window, strip.from, strip.to);
            if (!pixels.contains(line))
                faults << QStringLiteral("%1: missing").arg(QLatin1String(strip.line));
            if (std::any_of(pixels.begin(), pixels.end(), [](QRgb pixel) { return qGray(pixel) < 0x40; }))
                faults << QStringLiteral("%1: black pixels").arg(QLatin1String(strip.line));
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
    }

    // Labels of a fixed size hold their text; buttons hold their caption and picture.
    void textsStayInsideTheirControls()
    {
#ifdef Q_OS_WIN
        QSKIP("offscreen under Wine measures Tahoma's synthesised italic with FreeType's own hinting, not the system's");
#endif
        // The search page's labels take their width when the page is shown,
        // the detail window its fonts when it is first shown.
        form().PageControl1->setCurrentIndex(1);
        detail().show();
        QVERIFY(QTest::qWaitForWindowExposed(&detail()));
        QList<QWidget *> controls = form().findChildren<QWidget *>() + detail().findChildren<QWidget *>();
        int checked = 0;
        for (QWidget *control : controls) {
            if (control->isHidden())
                continue;
            const QFontMetrics metrics = control->fontMetrics();
            if (const auto *label = qobject_cast<QLabel *>(control); label && !label->wordWrap()) {
                const QRect room = label->contentsRect();
                QVERIFY2(metrics.horizontalAdvance(label->text()) <= room.width()
                             && metrics.height() <= room.height() + 1,
                         qPrintable(label->objectName()));
                ++checked;
            } else if (const auto *button = qobject_cast<QAbstractButton *>(control)) {
                const int picture = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
                QVERIFY2(metrics.horizontalAdvance(button->text()) + picture <= button->width(),
                         qPrintable(button->objectName()));
                ++checked;
            }
        }
        QVERIFY(checked > 15);
    }
};

VARGORIN_TEST_MAIN(DensityTest)
#include "tst_density.moc"
