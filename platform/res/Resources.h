// Resources compiled from .rc scripts into the standard .res format and embedded in the program:
// lookup by type, name and language, the string table, and the module handles they belong to.
#pragma once

#include <cstddef>

#include "base/WinTypes.h"
#include "res/ResourceTypes.h"

namespace brambolt {

// Registers a compiled .res image for a module (NULL: the program's own, GetModuleHandle(NULL)).
// The bytes are not copied and must outlive every
// lookup (embedded images are static data). The first image registered becomes the program's own:
// lookups with a module handle that has no image of its own (NULL included) search it.
// Returns false when the image is not a well-formed .res file.
bool RegisterResourceImage(HINSTANCE module, const void* data, std::size_t size);

// The module handle that stands for the program's own resources.
HINSTANCE ProgramResourceModule();

}  // namespace brambolt

// Names and types are either integer resources (MAKEINTRESOURCE) or strings, matched without
// regard to case; "#123" stands for the integer 123.
HRSRC FindResource(HMODULE hModule, LPCTSTR lpName, LPCTSTR lpType);
HRSRC FindResourceEx(HMODULE hModule, LPCTSTR lpType, LPCTSTR lpName, WORD wLanguage);
// Calls lpEnumFunc with each name of the resources of type lpType (an integer name as
// MAKEINTRESOURCE), once however many languages it has, until it returns FALSE.
typedef BOOL(CALLBACK* ENUMRESNAMEPROC)(HMODULE hModule, LPCTSTR lpType, LPTSTR lpName, LONG_PTR lParam);
BOOL EnumResourceNames(HMODULE hModule, LPCTSTR lpType, ENUMRESNAMEPROC lpEnumFunc, LONG_PTR lParam);
#define EnumResourceNamesA EnumResourceNames
HGLOBAL LoadResource(HMODULE hModule, HRSRC hResInfo);
LPVOID LockResource(HGLOBAL hResData);
DWORD SizeofResource(HMODULE hModule, HRSRC hResInfo);
BOOL FreeResource(HGLOBAL hResData);

// Copies string uID of the string table, converted to the ANSI code page, into lpBuffer and
// returns its length. With cchBufferMax 0, stores a pointer to the read-only UTF-16 text in
// lpBuffer instead and returns its length in UTF-16 units, as Win32 does.
int LoadString(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer, int cchBufferMax);
#define LoadStringA LoadString
