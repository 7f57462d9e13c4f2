#include "ClassRegistry.h"

namespace store {

const QList<ClassDescription> &AllClasses()
{
    static const QList<ClassDescription> classes = [] {
        QList<ClassDescription> all;
        all << WindowsClassDescription();
        all << LoginClassDescriptions();
        all << MasterDataClassDescriptions();
        all << KonkurClassDescriptions();
        return all;
    }();
    return classes;
}

const ClassDescription *FindClass(QStringView name)
{
    for (const ClassDescription &description : AllClasses()) {
        if (description.name == name)
            return &description;
    }
    return nullptr;
}

} // namespace store
