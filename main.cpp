#include "mainwindow/MainWindow.h"
#include "app/StartUp.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (!StartUp::Main(QApplication::arguments()))
        return 1;
    const int status = QApplication::exec();
    delete MainWindow::instance();
    return status;
}
