#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <vector>

// Watches for message boxes while a test drives the program, records what
// each one showed, and answers it the way the test says, with a real click
// (or whatever the test's answer does). Boxes are handled from the nested
// loop they run in, exactly as a user would meet them.
class BoxWatcher final : public QObject {
public:
    struct Seen {
        QString caption;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QStringList buttons;
        QString statusTextWhileOpen;
    };
    using Answer = std::function<void(QMessageBox &)>;

    explicit BoxWatcher(Answer answer = clickButton(0)) : m_answer(std::move(answer))
    {
        connect(&m_poll, &QTimer::timeout, this, &BoxWatcher::look);
        m_poll.start(5);
    }

    // Called for each box just before it is answered, to read more of the program's state.
    std::function<QString()> statusProbe;

    const std::vector<Seen> &seen() const { return m_seen; }

    static Answer clickButton(int index)
    {
        return [index](QMessageBox &box) { box.buttons().at(index)->click(); };
    }
    static Answer clickStandard(QMessageBox::StandardButton which)
    {
        return [which](QMessageBox &box) { box.button(which)->click(); };
    }

private:
    void look()
    {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            auto *box = qobject_cast<QMessageBox *>(widget);
            if (!box || !box->isVisible() || m_answered.contains(box))
                continue;
            m_answered.append(box);
            Seen seen{box->windowTitle(), box->text(), box->icon(), {}, {}};
            for (QAbstractButton *button : box->buttons())
                seen.buttons << button->text();
            if (statusProbe)
                seen.statusTextWhileOpen = statusProbe();
            m_seen.push_back(seen);
            m_answer(*box);
        }
    }

    Answer m_answer;
    QTimer m_poll;
    QList<QPointer<QMessageBox>> m_answered;
    std::vector<Seen> m_seen;
};
