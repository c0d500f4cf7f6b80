#include "bridge/BridgeTypes.h"

#include "bridge/MacroActionsModel.h"
#include "bridge/TabChain.h"

#include <QtQml>

void registerBridgeTypes()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    qmlRegisterType<MacroActionsModel>("Q3.Bridge", 1, 0, "MacroActionsModel");
    qmlRegisterType<TabChain>("Q3.Bridge", 1, 0, "TabChain");
}
