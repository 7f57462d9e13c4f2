#pragma once

#include <QString>

namespace tolven {
class ServerFactory;
}

namespace store {

// Fills a connected, empty database with the demo firms, through the object
// interface and in one transaction. Deterministic: every run writes the same.
void FillDemoData(tolven::ServerFactory &factory);

// The demo logins (also listed in the README).
struct DemoLogin
{
    QString firm;
    QString code;
    QString password;
    QString name;     // display form
    bool active;
};
QList<DemoLogin> DemoLogins();

} // namespace store
