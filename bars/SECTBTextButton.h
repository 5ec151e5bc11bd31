// SECTBTextButton: a toolbar button with its image and, with large buttons, a caption under it.
#pragma once

#include "bars/SECStdBtn.h"

class SECTBTextButton : public SECStdBtn {
 public:
  SECTBTextButton();
  ~SECTBTextButton() override;
  SECTBTextButton(const SECTBTextButton&) = delete;
  SECTBTextButton& operator=(const SECTBTextButton&) = delete;

  // Parameter [0]: the string resource of the caption (0: the command id's); the caption is the
  // part after the first line feed, else the whole string.
  void Init(SECCustomToolBar* pToolBar, const UINT_PTR* pParams) override;
  void DrawFace(SECBtnDrawCache& cache, BOOL bCustomizeLook, int& x, int& y, int& cx, int& cy, int nImage) override;
  const SECButtonClass* GetButtonClass() const override { return &s_btnClass; }

  // Whether the caption shows: with large buttons, or on a bar without a manager.
  BOOL ShowsCaption() const;
  // The font all text buttons share while any exists.
  static HFONT GetSharedFont();

  static const SECButtonClass s_btnClass;

  CString m_strCaption;
};
