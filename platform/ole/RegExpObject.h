// The scripting engine's regular-expression automation object ("VBScript.RegExp") over RegExp:
// its members by dispatch identifier, with the match collection, matches and submatches.
#pragma once

#include "ole/Automation.h"

// {B5D0E1A2-6C3F-4E8B-9A17-2F4C8D0E6B31}: this program's class for the programmatic identifier.
DEFINE_GUID(CLSID_RegExp, 0xB5D0E1A2, 0x6C3F, 0x4E8B, 0x9A, 0x17, 0x2F, 0x4C, 0x8D, 0x0E, 0x6B, 0x31);

// Members of the regular expression. Positions and lengths are bytes of the subject.
#define DISPID_REGEXP_PATTERN 10001     // string, get/put
#define DISPID_REGEXP_IGNORECASE 10002  // boolean, get/put
#define DISPID_REGEXP_GLOBAL 10003      // boolean, get/put
#define DISPID_REGEXP_EXECUTE 10004     // Execute(text) -> match collection
#define DISPID_REGEXP_TEST 10005        // Test(text) -> boolean
#define DISPID_REGEXP_REPLACE 10006     // Replace(text, with) -> string
#define DISPID_REGEXP_MULTILINE 10007   // boolean, get: always FALSE
// Why the last call found nothing or failed (work limit reached, bad pattern); empty otherwise.
#define DISPID_REGEXP_ERRORTEXT 10100
// The match collection: Item(index) (also the default member), Count.
#define DISPID_MATCHES_ITEM 10001
#define DISPID_MATCHES_COUNT 1
// A match: Value (the default member), FirstIndex, Length, SubMatches.
#define DISPID_MATCH_VALUE 0
#define DISPID_MATCH_FIRSTINDEX 10001
#define DISPID_MATCH_LENGTH 10002
#define DISPID_MATCH_SUBMATCHES 10003
// The submatches: Item(index) (the default member, empty for a group that took no part), Count.
#define DISPID_SUBMATCHES_COUNT 1

// The error a call reports for a pattern that is not a regular expression (scripting error 5017).
#define REGEXP_E_SYNTAX (static_cast<HRESULT>(0x800A1399L))
