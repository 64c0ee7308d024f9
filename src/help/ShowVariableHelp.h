#pragma once

#include <QString>

// Shows the help of a variable in the main window's help label.
void ShowVariableHelp(const QString &name);
