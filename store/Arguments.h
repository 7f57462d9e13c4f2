#pragma once

#include <QString>
#include <QStringList>

#include "store/Decimal.h"

namespace store {

// Checks of the arguments that queries, methods and routines receive. Each
// throws AccessError (InvalidValue) naming what the argument is for and the
// value given.

// A firm number: digits.
QString FirmArgument(const QString &value, const QString &what);
// A whole number in its canonical form ("007" gives "7"); empty stays empty.
QString NumberArgument(const QString &value, const QString &what);
// A date as yyyy-mm-dd or dd.mm.yyyy, answered as yyyy-mm-dd; empty stays empty.
QString DateArgument(const QString &value, const QString &what);
// A quantity ("2", "2.5" or "2,5"); empty counts as 1.
Decimal QuantityArgument(const QString &value, const QString &what);
// One of the allowed values (empty among them only when listed).
QString ChoiceArgument(const QString &value, const QStringList &allowed, const QString &what);

// The canonical form of a whole number ("007" gives "7"); other text unchanged.
QString CanonicalNumber(const QString &text);

} // namespace store
