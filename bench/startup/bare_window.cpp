// The baseline: a plain Qt main window with the reader's frame and nothing
// behind it: no database, no working copy, no record set.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    QMenu *menu = window.menuBar()->addMenu(QStringLiteral("&Lehetőségek"));
    for (const char *item : {"&Lexikon", "&Keresés", "&Bemutatkozás"})
        menu->addAction(QString::fromUtf8(item));
    menu->addSeparator();
    menu->addAction(QStringLiteral("K&ilépés"));
    auto *tabs = new QTabWidget;
    for (const char *page : {"Lexikon", "Keresés", "Bemutatkozás"})
        tabs->addTab(new QWidget, QString::fromUtf8(page));
    window.setCentralWidget(tabs);
    window.statusBar()->addWidget(new QLabel, 500);
    window.statusBar()->addWidget(new QLabel, 200);
    window.setFixedSize(702, 549);
    window.show();
    return application.exec();
}
