// The text form of the recent-project list kept in the registry: every path followed by ";".
#pragma once

#include "core/Lists.h"

// Appends each path of the list followed by ";" (the last one too); returns the number of paths.
int JoinRecentProjectList(CString& strText, const CStringList& list);

// Appends each ";"-separated entry of the text that the list does not already hold (exact
// comparison); an empty entry after the last ";" is dropped. Returns the list's count.
int SplitRecentProjectList(CStringList& list, CString strText);
