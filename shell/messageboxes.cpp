#include "messageboxes.h"

#include "apptitle.h"
#include "placement.h"
#include "termination.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

namespace shell {

namespace {

// A message box shown while the program is already ending closes at once.
int runBox(QMessageBox &box)
{
    if (Termination::current().isRequested())
        return -1;
    return box.exec();
}

void centreOnScreen(QMessageBox &box)
{
    box.adjustSize();
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    box.move(centredIn(screen->availableGeometry(), box.size()));
}

// A Yes/No box that takes no other answer: Qt would treat No as the escape
// button and answer it for Esc or the title-bar close.
class ExitQuestionBox final : public QMessageBox {
public:
    explicit ExitQuestionBox(QWidget *owner)
        : QMessageBox(QMessageBox::NoIcon, QString::fromUtf16(exitQuestionCaption),
                      QString::fromUtf16(exitQuestionText), QMessageBox::Yes | QMessageBox::No,
                      owner)
    {
        setDefaultButton(QMessageBox::Yes);
    }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Escape) {
            event->accept();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent *event) override { event->ignore(); }
};

} // namespace

void reportAndTerminate(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, applicationTitle(), text);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    centreOnScreen(box);
    runBox(box);
    Termination::current().request(Termination::startUpFailed);
}

QString generalErrorText(const QString &description)
{
    if (!description.isEmpty() && description.back() > u'.')
        return description + u'.';
    return description;
}

void showGeneralError(const QString &description)
{
    QMessageBox box(QMessageBox::Critical, applicationTitle(), generalErrorText(description),
                    QMessageBox::Ok, QApplication::activeWindow());
    runBox(box);
}

bool askExitQuestion(QWidget *owner)
{
    ExitQuestionBox box(owner);
    return runBox(box) == QMessageBox::Yes;
}

} // namespace shell
