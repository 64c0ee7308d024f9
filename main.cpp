#include "app/Application.h"
#include "cli/CommandLineTool.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    // The command line's check runs before any window system is touched: it needs no display.
    QStringList arguments;
    for (int index = 0; index < argc; ++index)
        arguments.append(QString::fromLocal8Bit(argv[index]));
    if (CommandLineTool::handles(arguments)) {
        QCoreApplication core(argc, argv);
        QTextStream out(stdout);
        QTextStream err(stderr);
        return CommandLineTool::run(QCoreApplication::arguments(), out, err);
    }
    QApplication qtApplication(argc, argv);
    Application application;
    application.start(QApplication::arguments());
    return QApplication::exec();
}
