// Resource numbers of the output view, shared by the resource script and the code.
#pragma once

// The tree's images: 11 cells 23 pixels wide (root, compiled help, -, page, folder, bitmap,
// contents, index, help project, picture, other file).
#define IDB_OUTPUT_TREE 141

// The questions asked before a folder or page is converted.
#define IDS_CONVERT_TO_BIG5 208
#define IDS_CONVERT_TO_GB 209
