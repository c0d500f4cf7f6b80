#pragma once

// What a platform back end supplies to GlobalInputHook: one source of key
// events and one of button events, installed and removed together. The back
// end feeds GlobalInputHook::keyboardEvent and GlobalInputHook::mouseEvent.
namespace InputHookPlatform {

// Installs both sources. On failure nothing stays installed and the result
// is false.
bool install();

// Removes whatever is installed; does nothing when nothing is.
void uninstall();

// True while either source is installed.
bool installed();

}
