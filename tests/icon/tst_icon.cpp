// The window icon is made from pixels decoded when the program was built;
// it must show exactly what the artwork's PNGs show, in every size.
#include "forms/Unit1.h"
#include "program.h"
#include "testmain.h"

#include <QTest>

class IconTest final : public QObject {
    Q_OBJECT

private slots:
    void iconShowsTheArtworkInEverySize()
    {
        TForm1 form;
        const QIcon icon = form.windowIcon();
        QList<QSize> sizes;
        for (int size : {16, 32, 48, 64, 128, 256}) {
            sizes << QSize(size, size);
            const QImage artwork = QImage(QStringLiteral(VARGORIN_SOURCE_DIR "/resources/art/bee-%1.png").arg(size))
                                       .convertToFormat(QImage::Format_ARGB32_Premultiplied);
            QVERIFY(!artwork.isNull());
            const QImage shown = icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
            QCOMPARE(shown, artwork);
        }
        QCOMPARE(icon.availableSizes(), sizes);
    }
};

VARGORIN_TEST_MAIN(IconTest)
#include "tst_icon.moc"
