#pragma once

#include "access/cacheapi.h"

namespace tolven {

// The program's names, its German locale and Qt's German texts, its icons.
// Call once, after the QApplication is made and before the first window.
void SetUpClient();

// The client's "CacheObject.Factory": the object store on the database that
// the connection string names.
FactoryMaker StoreFactoryMaker();

} // namespace tolven
