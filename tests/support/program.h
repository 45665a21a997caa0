#pragma once

#include "forms/Unit1.h"
#include "forms/Unit2.h"
#include "termination.h"

#include <QDir>
#include <QTemporaryDir>

// One run of the reader inside a test: its own termination request and its
// two windows, wired as the executable wires them.
struct Program {
    shell::Termination termination;
    TForm1 form;
    TForm2 detail{form.DataSource1, &form};
    Program() { form.setDetailWindow(&detail); }
    QString panel0() const { return form.StatusBar1->panelText(0); }
    QString panel1() const { return form.StatusBar1->panelText(1); }
};

// A scratch current folder for the working copy, left again on destruction.
class ScratchFolder final {
public:
    ScratchFolder() { QDir::setCurrent(m_dir.path()); }
    ~ScratchFolder() { QDir::setCurrent(m_home); }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

private:
    QString m_home = QDir::currentPath();
    QTemporaryDir m_dir;
};

// A program started in a scratch folder of its own, as most window tests want it.
struct StartedProgram {
    ScratchFolder folder;
    Program program;
    StartedProgram() { program.form.show(); }
};
