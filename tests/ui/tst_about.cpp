// The about page's links, clicked as a user clicks them. The desktop's
// handlers for the schemes are replaced by recorders for the test.
#include "program.h"
#include "testmain.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QTest>
#include <QUrl>

class AboutTest final : public QObject {
    Q_OBJECT

    std::unique_ptr<StartedProgram> m_run;
    QStringList m_opened;
    TForm1 &form() { return m_run->program.form; }

public slots:
    void record(const QUrl &address) { m_opened << address.toString(); }

private slots:
    void initTestCase()
    {
        for (const char *scheme : {"mailto", "http", "https"})
            QDesktopServices::setUrlHandler(QLatin1String(scheme), this, "record");
    }

    void init()
    {
        m_run = std::make_unique<StartedProgram>();
        form().Bemutatkozs1->trigger();
        m_opened.clear();
    }

    void cleanup()
    {
        m_run.reset();
    }

    void clicksOpenTheirAddresses_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QPoint>("at"); // in the label's own coordinates
        QTest::addColumn<QString>("address");
        QTest::newRow("mail") << "Label5" << QPoint(323, 10) << "mailto:pellimor@mehes.example";
        QTest::newRow("home page") << "Label6" << QPoint(323, 10) << "http://www.pellimor.example/";
        QTest::newRow("blank left of the text") << "Label6" << QPoint(3, 10) << "http://www.pellimor.example/";
        QTest::newRow("second site") << "Label7" << QPoint(323, 10) << "http://vargorin.pellimor.example/";
        QTest::newRow("third site") << "Label8" << QPoint(323, 10) << "http://programok.pellimor.example/";
        QTest::newRow("store") << "Label9" << QPoint(323, 10)
                               << "https://play.google.com/store/apps/developer?id=Pellimor";
        // Overlapping strips belong to the later label.
        QTest::newRow("Label6/Label7 strip") << "Label6" << QPoint(323, 36) << "http://vargorin.pellimor.example/";
        QTest::newRow("telephone over mail") << "Label4" << QPoint(323, 30) << "mailto:pellimor@mehes.example";
        QTest::newRow("title") << "Label1" << QPoint(323, 10) << "";
        QTest::newRow("closing line") << "Label13" << QPoint(323, 10) << "";
    }

    void clicksOpenTheirAddresses()
    {
#ifdef Q_OS_WIN
        QSKIP("on Windows the address goes to the shell's open verb (ShellExecuteW), past Qt's URL handlers");
#endif
        QFETCH(QString, label);
        QFETCH(QPoint, at);
        QFETCH(QString, address);
        auto *target = form().findChild<QWidget *>(label);
        QVERIFY(target);
        // Click where the pointer is, on whatever is on top there.
        const QPoint global = target->mapToGlobal(at);
        QWidget *underPointer = QApplication::widgetAt(global);
        QVERIFY(underPointer);
        QTest::mouseClick(underPointer, Qt::LeftButton, {}, underPointer->mapFromGlobal(global));
        QCOMPARE(m_opened, address.isEmpty() ? QStringList() : QStringList{address});
    }

    // The events a real double-click makes: press, release, double-click, release.
    void doubleClickOpensOnce()
    {
#ifdef Q_OS_WIN
        QSKIP("on Windows the address goes to the shell's open verb (ShellExecuteW), past Qt's URL handlers");
#endif
        const QPoint at(323, 10);
        QTest::mousePress(form().Label5, Qt::LeftButton, {}, at);
        QTest::mouseRelease(form().Label5, Qt::LeftButton, {}, at);
        QMouseEvent second(QEvent::MouseButtonDblClick, at, form().Label5->mapToGlobal(at), Qt::LeftButton,
                           Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form().Label5, &second);
        QTest::mouseRelease(form().Label5, Qt::LeftButton, {}, at);
        QCOMPARE(m_opened, QStringList{QStringLiteral("mailto:pellimor@mehes.example")});
    }

    void pressHereReleaseThereOpensNothing()
    {
        QTest::mousePress(form().Label6, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseRelease(form().Label6, Qt::LeftButton, {}, QPoint(10, 200));
        QVERIFY(m_opened.isEmpty());
    }

    void pointersTellLinksFromText()
    {
        QCOMPARE(form().Label5->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(form().Label9->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(form().Label3->cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(form().Label13->cursor().shape(), Qt::ArrowCursor);
    }
};

VARGORIN_TEST_MAIN(AboutTest)
#include "tst_about.moc"
