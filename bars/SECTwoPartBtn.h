// SECTwoPartBtn: a split toolbar button, its own command on the left and an arrow part on the
// right that sends TBN_DROPDOWN (drop-down style) or its own release command.
#pragma once

#include "bars/SECStdBtn.h"

class SECTwoPartBtn : public SECStdBtn {
 public:
  // The arrow part is this much wider than a plain button; it is drawn one pixel wider still,
  // over the left part's edge.
  static constexpr int kArrowWidth = 14;

  SECTwoPartBtn();

  void ShowAsButton(BOOL bAsButton) override;
  // Parameters: [0] the arrow command (its image is the arrow part's), [1] the command its
  // release sends (0: the arrow command).
  void Init(SECCustomToolBar* pToolBar, const UINT_PTR* pParams) override;
  void Draw(CDC& dc, SECBtnDrawCache& cache) override;
  BOOL BtnPressed(CPoint point) override;
  void BtnMouseMove(CPoint point) override;
  void BtnCancel() override;
  UINT BtnReleased(CPoint point) override;
  void AdjustSize() override;
  const SECButtonClass* GetButtonClass() const override { return &s_btnClass; }

  CRect GetLeftRect() const;
  CRect GetArrowRect() const;

  static const SECButtonClass s_btnClass;

  UINT m_nArrowID = 0;
  int m_nArrowImage = 0;
  UINT m_nArrowReleaseID = 0;
  BOOL m_bTwoPart = TRUE;
};
