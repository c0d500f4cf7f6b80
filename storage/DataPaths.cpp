#include "storage/DataPaths.h"

QString DataPaths::modules()
{
    return QStringLiteral("./modules");
}

QString DataPaths::settingFolder()
{
    return modules() + QStringLiteral("/setting");
}

QString DataPaths::appSettings()
{
    return settingFolder() + QStringLiteral("/apConfig.bin");
}

QString DataPaths::appSettingsDefault()
{
    return settingFolder() + QStringLiteral("/apConfigD.bin");
}

QString DataPaths::defaultProfile()
{
    return settingFolder() + QStringLiteral("/pD.bin");
}

QString DataPaths::profile(int number)
{
    return settingFolder() + QStringLiteral("/p%1.bin").arg(number);
}

QString DataPaths::hardwareDefinition()
{
    return settingFolder() + QStringLiteral("/HWDef.bin");
}

QString DataPaths::keyCodeDefinition()
{
    return settingFolder() + QStringLiteral("/KeyCodeDef.bin");
}

QString DataPaths::macroFolder()
{
    return modules() + QStringLiteral("/macro");
}

QString DataPaths::languageFolder()
{
    return modules() + QStringLiteral("/i18n");
}

QString DataPaths::imageFolder()
{
    return modules() + QStringLiteral("/img");
}

QString DataPaths::mediaFolder()
{
    return modules() + QStringLiteral("/media");
}
