#pragma once

#include <QList>
#include <QStringView>

#include "store/ClassDescription.h"

namespace store {

// Every server class the store offers, described once.
const QList<ClassDescription> &AllClasses();
// The class of that name (exact), or nullptr.
const ClassDescription *FindClass(QStringView name);

// The descriptions, grouped as the files that hold them.
QList<ClassDescription> LoginClassDescriptions();
ClassDescription WindowsClassDescription();
QList<ClassDescription> MasterDataClassDescriptions();
QList<ClassDescription> KonkurClassDescriptions();

} // namespace store
