// Registration of the common control classes (animation, progress, up-down, hot-key, tooltip,
// tab, header, list-view), done when the program starts.
#pragma once

namespace brambolt::ctl {

// Registers every common control class that is not registered yet.
void RegisterCommonControlClasses();

void RegisterAnimationClass();

}  // namespace brambolt::ctl
