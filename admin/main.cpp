#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

#include "admin/AdminTool.h"

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(u"TOLVEN"_qs);
    QCoreApplication::setApplicationName(u"tolven-admin"_qs);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    return admin::RunAdmin(arguments, out, err);
}
