// Fonts and text: LOGFONT fonts, text output (TextOut, ExtTextOut, TabbedTextOut, DrawText),
// measurement and metrics, text attributes and font enumeration. Text is in the ANSI code page.
#pragma once

#include "gdi/GdiTypes.h"

HFONT CreateFontIndirect(const LOGFONT* font);
HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                 DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                 DWORD pitchAndFamily, LPCSTR face);

BOOL TextOut(HDC hdc, int x, int y, LPCSTR text, int length);
BOOL ExtTextOut(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT length, const INT* dx);
LONG TabbedTextOut(HDC hdc, int x, int y, LPCSTR text, int length, int tabCount, const INT* tabStops, int tabOrigin);
int DrawText(HDC hdc, LPCSTR text, int length, LPRECT rect, UINT format);
int DrawTextEx(HDC hdc, LPSTR text, int length, LPRECT rect, UINT format, LPDRAWTEXTPARAMS params);

BOOL GetTextExtentPoint32(HDC hdc, LPCSTR text, int length, LPSIZE size);
BOOL GetTextExtentPoint(HDC hdc, LPCSTR text, int length, LPSIZE size);
BOOL GetTextExtentExPoint(HDC hdc, LPCSTR text, int length, int maxExtent, LPINT fit, LPINT dx, LPSIZE size);
DWORD GetTabbedTextExtent(HDC hdc, LPCSTR text, int length, int tabCount, const INT* tabStops);
BOOL GetTextMetrics(HDC hdc, LPTEXTMETRIC metrics);
BOOL GetCharWidth32(HDC hdc, UINT first, UINT last, LPINT widths);
BOOL GetCharWidth(HDC hdc, UINT first, UINT last, LPINT widths);
BOOL GetCharABCWidths(HDC hdc, UINT first, UINT last, LPABC widths);
int GetTextFace(HDC hdc, int count, LPSTR face);
int GetTextCharset(HDC hdc);

UINT SetTextAlign(HDC hdc, UINT align);
UINT GetTextAlign(HDC hdc);
int SetTextCharacterExtra(HDC hdc, int extra);
int GetTextCharacterExtra(HDC hdc);

int EnumFontFamilies(HDC hdc, LPCSTR family, FONTENUMPROC proc, LPARAM lParam);
int EnumFontFamiliesEx(HDC hdc, LPLOGFONT font, FONTENUMPROC proc, LPARAM lParam, DWORD flags);
int EnumFonts(HDC hdc, LPCSTR face, FONTENUMPROC proc, LPARAM lParam);

#define CreateFontIndirectA CreateFontIndirect
#define CreateFontA CreateFont
#define TextOutA TextOut
#define ExtTextOutA ExtTextOut
#define TabbedTextOutA TabbedTextOut
#define DrawTextA DrawText
#define DrawTextExA DrawTextEx
#define GetTextExtentPoint32A GetTextExtentPoint32
#define GetTextExtentPointA GetTextExtentPoint
#define GetTextExtentExPointA GetTextExtentExPoint
#define GetTabbedTextExtentA GetTabbedTextExtent
#define GetTextMetricsA GetTextMetrics
#define GetCharWidth32A GetCharWidth32
#define GetCharWidthA GetCharWidth
#define GetCharABCWidthsA GetCharABCWidths
#define GetTextFaceA GetTextFace
#define EnumFontFamiliesA EnumFontFamilies
#define EnumFontFamiliesExA EnumFontFamiliesEx
#define EnumFontsA EnumFonts
