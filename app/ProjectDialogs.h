// What the project dialogs share: their fixed-pitch font, the output-language box, the string
// table's texts shown in information boxes, and the check of a new folder or file name.
#pragma once

#include <initializer_list>

#include "afx/DataExchange.h"
#include "afx/afx.h"

// Gives the dialog's controls nIDs (those that exist) the application's fixed-pitch "Fixedsys" font.
void SetFixedFont(CWnd* pDialog, std::initializer_list<int> nIDs);
// Fills the combo box with the three output languages, each carrying its number (1000-1002).
void FillLanguageBox(CComboBox& box);
// The string table's text nID.
CString LoadAppString(UINT nID);
// Shows the string table's text nID in an information box.
void InformUser(UINT nID);
// The author block of the documentation pages: six texts, each exchanged with its own edit.
struct CAuthorBlock {
  CString m_strAuthor;
  CString m_strDepartment;
  CString m_strEmail;
  CString m_strURL;
  CString m_strCompany;
  CString m_strCopyright;

  void ExchangeAuthorBlock(CDataExchange* pDX);
  // The six edits get the fixed-pitch font.
  static void SetAuthorBlockFont(CWnd* pDialog);
};

// TRUE when the name can name one item inside a folder: not empty, not "." or "..", and none of
// \ / ; * ? " < > | in it.
BOOL IsValidItemName(const CString& strName);
