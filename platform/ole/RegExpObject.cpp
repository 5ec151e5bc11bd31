// The regular-expression automation object and its collections.
#include "ole/RegExpObject.h"

#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ole/OleClasses.h"
#include "ole/RegExp.h"

namespace brambolt::ole {
namespace {

struct MemberName {
  const char* name;
  DISPID id;
};

// The automation plumbing every object here shares: interfaces, names, argument access.
class DispatchObject : public RefCounted<IDispatch, IID_IDispatch> {
 public:
  STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override {
    if (pctinfo) *pctinfo = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override {
    if (ppTInfo) *ppTInfo = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPSTR* names, UINT count, LCID, DISPID* ids) override {
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
      ids[i] = DISPID_UNKNOWN;
      for (const MemberName& m : Names())
        if (i == 0 && strcasecmp(names[i], m.name) == 0) ids[i] = m.id;
      if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
  }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* info,
                      UINT*) override {
    static DISPPARAMS none{nullptr, nullptr, 0, 0};
    if (result) VariantInit(result);
    VARIANT ignored;
    VariantInit(&ignored);
    HRESULT hr = Call(id, flags, params ? *params : none, result ? *result : ignored);
    VariantClear(&ignored);
    if (hr == DISP_E_EXCEPTION) {
      if (info) {
        *info = EXCEPINFO{};
        info->bstrSource = SysAllocString("VBScript.RegExp");
        info->bstrDescription = SysAllocString(error_.c_str());
        info->scode = REGEXP_E_SYNTAX;
      }
    }
    return hr;
  }

 protected:
  virtual std::span<const MemberName> Names() const = 0;
  virtual HRESULT Call(DISPID id, WORD flags, const DISPPARAMS& params, VARIANT& result) = 0;

  // Argument n (0 = first) as text, a number or a flag.
  static HRESULT Argument(const DISPPARAMS& params, UINT n, VARTYPE vt, VARIANT& out) {
    if (n >= params.cArgs) return DISP_E_BADPARAMCOUNT;
    const VARIANT& v = params.rgvarg[params.cArgs - 1 - n];
    const VARIANT& value = v.vt == (VT_VARIANT | VT_BYREF) ? *v.pvarVal : v;
    return VariantChangeType(&out, &value, 0, vt);
  }
  static HRESULT Text(const DISPPARAMS& params, UINT n, std::string& out) {
    VARIANT v;
    VariantInit(&v);
    HRESULT hr = Argument(params, n, VT_BSTR, v);
    if (SUCCEEDED(hr)) out.assign(v.bstrVal ? v.bstrVal : "", SysStringByteLen(v.bstrVal));
    VariantClear(&v);
    return hr;
  }
  static HRESULT Number(const DISPPARAMS& params, UINT n, LONG& out) {
    VARIANT v;
    VariantInit(&v);
    HRESULT hr = Argument(params, n, VT_I4, v);
    out = v.lVal;
    return hr;
  }
  static HRESULT Flag(const DISPPARAMS& params, UINT n, bool& out) {
    VARIANT v;
    VariantInit(&v);
    HRESULT hr = Argument(params, n, VT_BOOL, v);
    out = v.boolVal != 0;
    return hr;
  }
  static HRESULT SetText(VARIANT& result, std::string_view text) {
    result.vt = VT_BSTR;
    result.bstrVal = SysAllocStringByteLen(text.data(), static_cast<UINT>(text.size()));
    return result.bstrVal ? S_OK : E_OUTOFMEMORY;
  }
  static HRESULT SetNumber(VARIANT& result, size_t n) {
    result.vt = VT_I4;
    result.lVal = static_cast<LONG>(n);
    return S_OK;
  }
  static HRESULT SetFlag(VARIANT& result, bool on) {
    result.vt = VT_BOOL;
    result.boolVal = on ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  static HRESULT SetObject(VARIANT& result, IDispatch* object) {
    result.vt = VT_DISPATCH;
    result.pdispVal = object;
    return S_OK;
  }
  // The index argument of an Item member, checked against the count.
  static HRESULT Index(const DISPPARAMS& params, size_t count, size_t& index) {
    LONG n = 0;
    if (HRESULT hr = Number(params, 0, n); FAILED(hr)) return hr;
    if (n < 0 || static_cast<size_t>(n) >= count) return DISP_E_BADINDEX;
    index = static_cast<size_t>(n);
    return S_OK;
  }

  std::string error_;
};

// What the matches of one Execute share: the subject they index.
struct Subject {
  std::string text;
  std::vector<RegExpMatch> matches;
};

class SubMatches final : public DispatchObject {
 public:
  SubMatches(std::shared_ptr<const Subject> subject, size_t match) : subject_(std::move(subject)), match_(match) {}

 protected:
  std::span<const MemberName> Names() const override {
    static const MemberName names[] = {{"Item", DISPID_VALUE}, {"Count", DISPID_SUBMATCHES_COUNT}};
    return names;
  }
  HRESULT Call(DISPID id, WORD, const DISPPARAMS& params, VARIANT& result) override {
    const auto& groups = subject_->matches[match_].groups;
    if (id == DISPID_SUBMATCHES_COUNT) return SetNumber(result, groups.size());
    if (id != DISPID_VALUE) return DISP_E_MEMBERNOTFOUND;
    size_t index = 0;
    if (HRESULT hr = Index(params, groups.size(), index); FAILED(hr)) return hr;
    if (!groups[index]) return S_OK;  // empty: the group took no part
    return SetText(result, std::string_view(subject_->text).substr(groups[index]->index, groups[index]->length));
  }

 private:
  std::shared_ptr<const Subject> subject_;
  size_t match_;
};

class Match final : public DispatchObject {
 public:
  Match(std::shared_ptr<const Subject> subject, size_t match) : subject_(std::move(subject)), match_(match) {}

 protected:
  std::span<const MemberName> Names() const override {
    static const MemberName names[] = {{"Value", DISPID_MATCH_VALUE},
                                       {"FirstIndex", DISPID_MATCH_FIRSTINDEX},
                                       {"Length", DISPID_MATCH_LENGTH},
                                       {"SubMatches", DISPID_MATCH_SUBMATCHES}};
    return names;
  }
  HRESULT Call(DISPID id, WORD, const DISPPARAMS&, VARIANT& result) override {
    const RegExpSpan& whole = subject_->matches[match_].whole;
    switch (id) {
      case DISPID_MATCH_VALUE: return SetText(result, std::string_view(subject_->text).substr(whole.index, whole.length));
      case DISPID_MATCH_FIRSTINDEX: return SetNumber(result, whole.index);
      case DISPID_MATCH_LENGTH: return SetNumber(result, whole.length);
      case DISPID_MATCH_SUBMATCHES: return SetObject(result, new SubMatches(subject_, match_));
      default: return DISP_E_MEMBERNOTFOUND;
    }
  }

 private:
  std::shared_ptr<const Subject> subject_;
  size_t match_;
};

class MatchCollection final : public DispatchObject {
 public:
  explicit MatchCollection(std::shared_ptr<const Subject> subject) : subject_(std::move(subject)) {}

 protected:
  std::span<const MemberName> Names() const override {
    static const MemberName names[] = {{"Item", DISPID_MATCHES_ITEM}, {"Count", DISPID_MATCHES_COUNT}};
    return names;
  }
  HRESULT Call(DISPID id, WORD, const DISPPARAMS& params, VARIANT& result) override {
    if (id == DISPID_MATCHES_COUNT) return SetNumber(result, subject_->matches.size());
    if (id != DISPID_MATCHES_ITEM && id != DISPID_VALUE) return DISP_E_MEMBERNOTFOUND;
    size_t index = 0;
    if (HRESULT hr = Index(params, subject_->matches.size(), index); FAILED(hr)) return hr;
    return SetObject(result, new Match(subject_, index));
  }

 private:
  std::shared_ptr<const Subject> subject_;
};

class RegExpObject final : public DispatchObject {
 protected:
  std::span<const MemberName> Names() const override {
    static const MemberName names[] = {
        {"Pattern", DISPID_REGEXP_PATTERN}, {"IgnoreCase", DISPID_REGEXP_IGNORECASE},
        {"Global", DISPID_REGEXP_GLOBAL},   {"Execute", DISPID_REGEXP_EXECUTE},
        {"Test", DISPID_REGEXP_TEST},       {"Replace", DISPID_REGEXP_REPLACE},
        {"Multiline", DISPID_REGEXP_MULTILINE}, {"ErrorText", DISPID_REGEXP_ERRORTEXT}};
    return names;
  }

  HRESULT Call(DISPID id, WORD flags, const DISPPARAMS& params, VARIANT& result) override {
    bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    switch (id) {
      case DISPID_REGEXP_PATTERN: {
        if (!put) return SetText(result, regExp_.Pattern());
        std::string pattern;
        HRESULT hr = Text(params, 0, pattern);
        if (SUCCEEDED(hr)) regExp_.SetPattern(pattern);
        return hr;
      }
      case DISPID_REGEXP_IGNORECASE:
      case DISPID_REGEXP_GLOBAL: {
        bool ignoreCase = id == DISPID_REGEXP_IGNORECASE;
        if (!put) return SetFlag(result, ignoreCase ? regExp_.IgnoreCase() : regExp_.Global());
        bool on = false;
        HRESULT hr = Flag(params, 0, on);
        if (SUCCEEDED(hr)) ignoreCase ? regExp_.SetIgnoreCase(on) : regExp_.SetGlobal(on);
        return hr;
      }
      case DISPID_REGEXP_MULTILINE: return put ? DISP_E_MEMBERNOTFOUND : SetFlag(result, false);
      case DISPID_REGEXP_ERRORTEXT: return SetText(result, regExp_.ErrorText());
      case DISPID_REGEXP_EXECUTE: {
        auto subject = std::make_shared<Subject>();
        if (HRESULT hr = Text(params, 0, subject->text); FAILED(hr)) return hr;
        if (!regExp_.Execute(subject->text, subject->matches) && Failed()) return DISP_E_EXCEPTION;
        return SetObject(result, new MatchCollection(std::move(subject)));
      }
      case DISPID_REGEXP_TEST: {
        std::string text;
        if (HRESULT hr = Text(params, 0, text); FAILED(hr)) return hr;
        bool found = regExp_.Test(text);
        return !found && Failed() ? DISP_E_EXCEPTION : SetFlag(result, found);
      }
      case DISPID_REGEXP_REPLACE: {
        std::string text, with, out;
        if (HRESULT hr = Text(params, 0, text); FAILED(hr)) return hr;
        if (HRESULT hr = Text(params, 1, with); FAILED(hr)) return hr;
        if (!regExp_.Replace(text, with, out) && Failed()) return DISP_E_EXCEPTION;
        return SetText(result, out);
      }
      default: return DISP_E_MEMBERNOTFOUND;
    }
  }

 private:
  // A bad pattern is the caller's error and raises one; a match given up at the work limit is
  // no match, its reason left in ErrorText.
  bool Failed() {
    error_ = regExp_.ErrorText();
    return regExp_.Status() == RegExpStatus::badPattern;
  }

  RegExp regExp_;
};

}  // namespace

HRESULT MakeRegExp(REFIID riid, void** ppv) { return MakeObject<RegExpObject>(riid, ppv); }

}  // namespace brambolt::ole
