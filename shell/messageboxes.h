#pragma once

#include <QString>

class QWidget;

namespace shell {

// The fatal start-up message: the text, the application title as caption, no
// icon, one "OK" button, centred on the screen. Sets the termination request
// afterwards and returns. While a termination request is pending the box
// closes at once, so only the first failure of a start-up waits for the user.
void reportAndTerminate(const QString &text);

// The general error box for a failure that escaped a handler: the
// description (with a full stop added after a final character above "."),
// the application title, an error icon and an OK button.
void showGeneralError(const QString &description);
QString generalErrorText(const QString &description);

// The exit question. Yes is the default; Esc and the box's close button do
// nothing, so the only answers are Yes and No. Returns true for Yes.
bool askExitQuestion(QWidget *owner);

inline constexpr char16_t exitQuestionText[] = u"Biztosan be kívánja fejezni a program használatát ?";
inline constexpr char16_t exitQuestionCaption[] = u"Figyelem:";

} // namespace shell
