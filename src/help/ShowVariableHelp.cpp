#include "help/ShowVariableHelp.h"

#include "help/VariableHelp.h"
#include "mainwindow/VariablePanel.h"
#include "mainwindow/MainWindow.h"

void ShowVariableHelp(const QString &name)
{
    if (MainWindow *main = MainWindow::instance())
        main->variablePanel()->showHelp(Help::VariableHelpText(name));
}
