#include <QApplication>

#include "access/cacheapi.h"
#include "app/ClientSetup.h"
#include "positions/FMStart.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    tolven::SetUpClient();
    tolven::cacheapi gateway(tolven::StoreFactoryMaker());
    tolven::FMStart window;
    if (!window.Form_Load())
        return 0;
    window.show();
    return QApplication::exec();
}
