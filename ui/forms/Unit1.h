#pragma once

#include "look/clockformat.h"
#include "connection.h"
#include "datasource.h"
#include "look/hintdisplay.h"
#include "recordset.h"
#include "look/screencursor.h"
#include "look/tooltips.h"
#include "ui_Unit1.h"
#include "workingcopy.h"

#include <QMainWindow>
#include <QString>
#include <QTimer>

class TForm2;

// The main window: the title index, the search page and the about page in
// one page control, with the menu, the status bar and the clock around them.
// It owns the poem store, writes the working copy when first shown and
// deletes it again on a confirmed exit.
class TForm1 final : public QMainWindow, public Ui::TForm1 {
    Q_OBJECT
public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    void setDetailWindow(TForm2 *detailWindow) { m_detailWindow = detailWindow; }

    // The bytes of the working copy's path, as the file system names it.
    QByteArray workingCopyPath() const;
    void selectPage(int index);

    // The working copy's lock is declared before the store so that it is
    // released only after the connection has closed the file.
    resources::WorkingCopy v_workingCopy;
    store::Connection FDConnection1;
    store::RecordSet FDQuery1;
    store::DataSource DataSource1;
    QTimer *Timer1 = nullptr;
    QByteArray v_prdir;

    ui::HintDisplay &hintDisplay() { return m_hintDisplay; }

public slots:
    void FormShow();
    void Kilps1Click();
    void Lexikon1Click();
    void Keress1Click();
    void Bemutatkozs1Click();
    void Timer1Timer();
    void DBGrid1DblClick();
    void BitBtn1Click();
    void BitBtn2Click();
    void Label5Click();
    void Label6Click();
    void Label7Click();
    void Label8Click();
    void Label9Click();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void runStartUp();
    void releaseStore();
    void centreOnPrimaryScreen();
    void focusShownPage(int index);
    void showCount(const QString &count);
    void replaceQuery(const QString &line);
    enum TermBox { KeepTerm, ClearTerm };
    void showResultOf(const QString &line, TermBox term);
    void openAddress(const QString &address);

    ui::ScreenCursor m_screenCursor;
    ui::HintDisplay m_hintDisplay;
    ui::TooltipController m_tooltips{m_hintDisplay};
    ui::ClockSettings m_clock = ui::ClockSettings::ofUser();
    TForm2 *m_detailWindow = nullptr;
    bool m_shownBefore = false;
};
