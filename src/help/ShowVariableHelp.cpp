#include "help/ShowVariableHelp.h"

#include "help/VariableHelp.h"
#include "mainwindow/VariablePanel.h"
#include "mainwindow/frmMain.h"

void ShowVariableHelp(const QString &name)
{
    if (frmMain *main = frmMain::instance())
        main->variablePanel()->showHelp(Help::VariableHelpText(name));
}
