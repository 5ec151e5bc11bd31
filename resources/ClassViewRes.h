// Resource numbers of the class view and the class-structure view, shared by the resource script and the code.
#pragma once

// The class trees' images: root, two folders, class, then public, protected and private member
// functions and member variables (cells 23 pixels wide).
#define IDB_CLASS_TREE 310
