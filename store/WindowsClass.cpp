#include "ClassRegistry.h"

#include "store/CommandDispatcher.h"

namespace store {

ClassDescription WindowsClassDescription()
{
    ClassDescription windows;
    windows.name = u"TV.Windows"_qs;
    windows.methods << MethodDescription{u"Xecute"_qs, 1, 1, [](MethodCall &call) {
                           return ExecuteCommand(call.session, call.arguments.first());
                       }};
    return windows;
}

} // namespace store
