// Resource numbers of the child frames, documents and the shell's dialogs (Windows, Organize files, About), shared by the resource script and the code.
#pragma once
