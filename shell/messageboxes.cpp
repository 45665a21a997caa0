#include "messageboxes.h"

#include "apptitle.h"
#include "platform/windowframe.h"
#include "termination.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

namespace shell {

namespace {

// A message box shown while the program is already ending closes at once.
int runBox(QMessageBox &box)
{
    if (Termination::current().isRequested())
        return -1;
    platform::frameFixedWindow(box);
    return box.exec();
}

// A box sized by its text alone can be too narrow for its caption, which the
// window manager then cuts short ("va…n"): the box keeps room for the
// caption in a bold title font, and for a title bar's icon and buttons.
void makeRoomForCaption(QMessageBox &box)
{
    constexpr int titleBarControls = 128;
    QFont title = box.font();
    title.setBold(true);
    const int width = QFontMetrics(title).horizontalAdvance(box.windowTitle()) + titleBarControls;
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                      grid->columnCount());
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
    makeRoomForCaption(box);
    box.adjustSize();
    platform::centreOnScreen(box, QGuiApplication::primaryScreen());
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
