#pragma once

#include <QAccessibleInterface>
#include <QString>

namespace ui {

// The text interface of a piece of text that the user reads but cannot
// select or edit: everything is answered from content(), read afresh at
// each call.
class ReadOnlyTextInterface : public QAccessibleTextInterface {
public:
    virtual QString content() const = 0;

    void selection(int, int *startOffset, int *endOffset) const override { *startOffset = *endOffset = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override { return int(content().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int *startOffset, int *endOffset) const override;
};

} // namespace ui
