#pragma once

#include "widgets/bindings.h"
#include "ui_Unit2.h"

#include <QDialog>
#include <QPointer>

namespace store {
class DataSource;
} // namespace store

// The poem detail window: the current record's title and whole text, and a
// navigator bar that moves the cursor every view shares. It is created
// hidden at start-up, follows the record set from then on whether shown or
// not, and is shown modally from the title grid. Only the close box closes it.
class TForm2 final : public QDialog, public Ui::TForm2 {
    Q_OBJECT
public:
    // The window follows the record set behind `source`; `owner` is the
    // window it belongs to, if any.
    explicit TForm2(store::DataSource &source, QWidget *owner = nullptr);

    // The bindings that copy the current record's title into Label1 and its
    // text into Memo1, straight from the record set the window follows.
    ui::BindSource *BindSourceDB1 = nullptr;
    ui::LinkControlToField *LinkControlToField1 = nullptr;
    ui::LinkPropertyToField *LinkPropertyToFieldCaption = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applyDesign();

    QPointer<QWidget> m_owner;
    bool m_designApplied = false;
    bool m_placed = false;
};
