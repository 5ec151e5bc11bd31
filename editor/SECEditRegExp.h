// Regular expressions for find and replace, over the platform's scripting regular-expression
// object driven through its dispatch interface. Offsets and lengths are bytes.
#pragma once

#include <memory>

#include "core/CString.h"

class COleDispatchDriver;

class ISECEditRegExp {
 public:
  virtual BOOL Create() = 0;
  virtual CString GetPattern() = 0;
  virtual void SetPattern(LPCTSTR pattern) = 0;
  virtual BOOL GetIgnoreCase() = 0;
  virtual void SetIgnoreCase(BOOL bIgnore) = 0;
  virtual BOOL IsAvailable() { return TRUE; }
  virtual BOOL Execute(CString text, int* pIndex, int* pLength, CString* pMatch) = 0;
  virtual BOOL FindFirst(CString text, int* pIndex, int* pLength) = 0;
  // TRUE when the pattern matched (also when the replacement equals the matched text): `text`
  // then holds the result. FALSE for no match or an error, with `text` unchanged.
  virtual BOOL Replace(CString& text, LPCTSTR with, BOOL bGlobal) = 0;
  virtual ~ISECEditRegExp() = default;
};

class SECEditRegExp : public ISECEditRegExp {
 public:
  SECEditRegExp();
  ~SECEditRegExp() override;
  SECEditRegExp(const SECEditRegExp&) = delete;
  SECEditRegExp& operator=(const SECEditRegExp&) = delete;

  // Makes the automation object; FALSE when there is none.
  BOOL Create() override;
  CString GetPattern() override;
  void SetPattern(LPCTSTR pattern) override;
  BOOL GetIgnoreCase() override;
  void SetIgnoreCase(BOOL bIgnore) override;
  // FALSE for an empty or invalid pattern and for no match.
  BOOL Execute(CString text, int* pIndex, int* pLength, CString* pMatch) override;
  BOOL FindFirst(CString text, int* pIndex, int* pLength) override;
  BOOL Replace(CString& text, LPCTSTR with, BOOL bGlobal) override;

  // The last match that begins before byte `before` of the text (matches taken one after the
  // other, as a global replace sees them); FALSE when there is none.
  BOOL FindLast(CString text, int before, int* pIndex, int* pLength);

  // Why the last call failed, for a person ("invalid regular expression"); empty after success.
  const CString& GetError() const { return m_strError; }

 private:
  std::unique_ptr<COleDispatchDriver> m_pDispatch;
  CString m_strError;
};
