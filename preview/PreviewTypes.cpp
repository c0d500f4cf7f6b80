#include "preview/PreviewTypes.h"

#include "preview/EffectPreview.h"

#include <QtQml>

void registerPreviewTypes()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    qmlRegisterType<EffectPreview>("Q3.Preview", 1, 0, "EffectPreview");
}
