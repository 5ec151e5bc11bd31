// Resource numbers of the class view and the class-structure view, shared by the resource script and the code.
#pragma once
