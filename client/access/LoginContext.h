#pragma once

#include <QString>

namespace tolven {

// Who is logged in, for which firm and branch, and where the server is. One
// for the process: the login fills it, every window reads it.
struct LoginContext
{
    QString Firm;
    QString Branch;
    QString UserCode;
    QString Password;
    QString LoginKey;        // UserCode + "|" + UserName; empty while nobody is logged in
    QString UserName;
    QString DepartmentName;
    QString DW;
    QString BERGRP;
    QString Fax;
    QString Email;
    bool LoginFailed = false;           // the last login did not succeed
    bool IgnoreStoredPassword = false;  // the remembered password is neither read nor written

    QString ServerAddress;
    QString ServerPort;
    QString Namespace;
    QString ConnectString;

    // The process command line (the arguments after the program, joined by
    // blanks), kept by the first login.
    QString CommandLine;
};

} // namespace tolven
