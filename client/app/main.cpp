#include <QApplication>
#include <QTextStream>

#include <cstdio>
#include <cstring>

#include "access/cacheapi.h"
#include "app/ClientSetup.h"
#include "common/frmAbout.h"
#include "positions/FMStart.h"

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    // Answered before the QApplication exists, so that it needs neither a
    // display nor a database. Only as the first word: a login line starts
    // with the firm's number.
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
        QTextStream(stdout) << u"konkur (TOLVEN Konkurerberverwaltung) "_s << tolven::ProgramVersion() << u'\n';
        return 0;
    }
    QApplication app(argc, argv);
    tolven::SetUpClient();
    tolven::cacheapi gateway(tolven::StoreFactoryMaker());
    tolven::FMStart window;
    if (!window.Form_Load())
        return 0;
    window.show();
    return QApplication::exec();
}
