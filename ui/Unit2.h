#pragma once

#include "ui_Unit2.h"

#include <QDialog>

class TForm1;

// The poem detail window: the current record's title and whole text. It is
// created hidden at start-up and shown modally from the title grid.
class TForm2 final : public QDialog, public Ui::TForm2 {
    Q_OBJECT
public:
    explicit TForm2(TForm1 &mainWindow, QWidget *parent = nullptr);

private:
    TForm1 &m_mainWindow;
};
