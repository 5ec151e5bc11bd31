// Shared by the view tests: a visible frame whose one pane is a view of the given class.
#pragma once

#include <gtest/gtest.h>

#include "afx/afx.h"

// Creates the frame (deleted with its window) and returns its view, the frame's active view.
template <class View>
View* MakeFrameWithView(CFrameWnd*& frame, CRuntimeClass* viewClass, const CRect& rect) {
  frame = new CFrameWnd;
  CCreateContext context;
  context.m_pNewViewClass = viewClass;
  if (!frame->Create(nullptr, "View", WS_OVERLAPPEDWINDOW | WS_VISIBLE, rect, nullptr, nullptr, 0, &context))
    return nullptr;
  auto* view = static_cast<View*>(CWnd::FromHandlePermanent(::GetDlgItem(frame->m_hWnd, AFX_IDW_PANE_FIRST)));
  if (view != nullptr) frame->SetActiveView(view);
  return view;
}
