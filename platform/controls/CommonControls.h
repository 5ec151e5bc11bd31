// Registration of the common control classes (animation, progress, up-down, hot-key, tooltip,
// tab, header, list-view), done when the program starts.
#pragma once

#include <string>

#include "base/WinTypes.h"

namespace brambolt::ctl {

// Registers every common control class that is not registered yet.
void RegisterCommonControlClasses();

void RegisterAnimationClass();
void RegisterProgressClass();
void RegisterUpDownClass();
void RegisterHotKeyClass();

// The text a hot-key control shows for a key and its HOTKEYF_ modifiers ("Ctrl + Shift + A";
// "None" for nothing).
std::string HotKeyText(BYTE vk, BYTE modifiers);

}  // namespace brambolt::ctl
