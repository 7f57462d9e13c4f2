#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

#include "admin/AdminTool.h"

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(u"TOLVEN"_s);
    QCoreApplication::setApplicationName(u"tolven-admin"_s);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    return admin::RunAdmin(arguments, out, err);
}
