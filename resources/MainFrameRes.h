// Resource numbers of the main frame: main menus, accelerators, the default toolbar's images, its messages, shared by the resource script and the code.
#pragma once
