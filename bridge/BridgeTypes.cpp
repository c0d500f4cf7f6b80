#include "bridge/BridgeTypes.h"

#include "bridge/KeyNeighbours.h"
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
    qmlRegisterSingletonType<KeyNeighbours>("Q3.Bridge", 1, 0, "KeyNeighbours",
                                            [](QQmlEngine*, QJSEngine*) -> QObject* { return new KeyNeighbours; });
    qmlRegisterType<TabChain>("Q3.Bridge", 1, 0, "TabChain");
}
