#include "app/Application.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication qtApplication(argc, argv);
    Application application;
    application.start(QApplication::arguments());
    return QApplication::exec();
}
