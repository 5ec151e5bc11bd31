// The application's editor model: in an HTML document the page's content between tags keeps the
// text colour; markup inside '<' ... '>' is coloured by the usual rules.
#pragma once

#include "editor/model/SECEdit.h"

class GWExtSECCodeEdit : public SECEdit {
 public:
  ~GWExtSECCodeEdit() override = default;

  int NextToken(int line, LPCTSTR lineText, LPCTSTR pos, int wordLen, int remaining, WORD* pending,
                SECEditLineColor* entry) override;

  // Whether the language configuration's name is "HTML", ignoring case.
  BOOL IsHtml();
  // Whether the character at pos lies in content rather than in markup.
  BOOL IsOutsideTag(int line, LPCTSTR lineText, LPCTSTR pos);
  // The nearer of the last '<' and '>' before col, searching earlier lines when the line has
  // neither; 0 when there is none.
  char FindBracketBefore(int line, int col, LPCTSTR lineText);
  // The nearer of the first '<' and '>' from col, searching later lines; 0 when there is none.
  char FindBracketAfter(int line, int col, LPCTSTR lineText);
};
