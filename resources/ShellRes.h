// Resource numbers of the application object: start-up, project commands, the program's icons, shared by the resource script and the code.
#pragma once
