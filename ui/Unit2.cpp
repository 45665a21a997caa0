#include "Unit2.h"

#include "Unit1.h"

TForm2::TForm2(TForm1 &mainWindow, QWidget *parent) : QDialog(parent), m_mainWindow(mainWindow)
{
    setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
}
