#pragma once

#include <QString>

// Where the program's data lives, relative to the working directory (the
// folder that holds "modules": beside the executable, or the per-user data
// folder of an installed copy). Every file and folder the program opens by
// name is named here.
namespace DataPaths {

QString modules();            // "./modules"
QString settingFolder();      // program settings, profiles, definitions
QString appSettings();        // "apConfig.bin"
QString appSettingsDefault(); // "apConfigD.bin", the factory settings
QString defaultProfile();     // "pD.bin"
QString profile(int number);  // "p<number>.bin", number from 1
QString hardwareDefinition(); // "HWDef.bin"
QString keyCodeDefinition();  // "KeyCodeDef.bin"
QString macroFolder();
QString languageFolder();
QString imageFolder();
QString mediaFolder();

}
