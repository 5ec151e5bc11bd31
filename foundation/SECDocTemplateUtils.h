// SECDocTemplateUtils: finds the application's document template behind a document, view and
// frame, and the position of a template among those sharing its file-type id.
#pragma once

#include "base/base.h"
#include "afx/CDocTemplate.h"

class SECDocTemplateUtils {
 public:
  SECDocTemplateUtils() = default;
  virtual ~SECDocTemplateUtils() = default;

  // Among the templates whose file-type id equals strFileTypeId, the 0-based position of
  // pTemplate; -1 for a NULL template, no application object, or a template not found.
  virtual int GetDocTemplateIndex(CDocTemplate* pTemplate, const CString& strFileTypeId);
  // The template at that position among those with the id; the last of them when fewer exist;
  // NULL when none has the id or there is no application object.
  virtual CDocTemplate* GetDocTemplateByIndex(const CString& strFileTypeId, int nIndex);
  virtual CDocTemplate* FindDocTemplate(CDocument* pDoc, CView* pView, CFrameWnd* pFrame);
  // The resource id the frame was loaded with; 0 for NULL.
  virtual UINT GetFrameMenuId(CFrameWnd* pFrame);
  virtual BOOL GetAllDocTemplates(CPtrList& candidates);
  // Classes are compared exactly: a class derived from the template's does not match.
  virtual BOOL FilterByViewAndFrame(CPtrList& candidates, CView* pView, CFrameWnd* pFrame);
  virtual BOOL FilterByFrameResource(CPtrList& candidates, CFrameWnd* pFrame);
  virtual BOOL FilterByDocumentClass(CPtrList& candidates, CDocument* pDoc);
  // None: NULL and TRUE; one: it and TRUE; several: NULL and FALSE.
  virtual BOOL GetSingleDocTemplate(CPtrList& candidates, CDocTemplate*& rpTemplate);
  virtual int GetFrameKind(CRuntimeClass* pFrameClass);
  // The template's frame class for kind 0; NULL for other kinds or a NULL template.
  virtual CRuntimeClass* GetTemplateFrameClass(CDocTemplate* pTemplate, int nFrameKind);
};
