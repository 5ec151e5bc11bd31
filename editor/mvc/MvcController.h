// The controller base of the foundation: a window plug-in that knows its model and its visual
// and routes events to listeners, plus the default event router that viewports carry.
#pragma once

#include <vector>

#include "editor/mvc/MvcInterfaces.h"
#include "foundation/SECWndPlugIn.h"

namespace kelpwood::foundation {

class CMvcModel;
class CMvcVisualComponent;

// An event passed between visual parts; no event objects are made by the foundation itself.
class IEvent : public IQueryGuid, public IRefCount {
 public:
  virtual ~IEvent() = default;
};

class IEventRouter : public IRefCount {
 public:
  virtual bool RouteEvent(IEvent* e) = 0;
  virtual void AddListener(IEventRouter* r) = 0;
  virtual bool RemoveListener(IEventRouter* r) = 0;

 protected:
  ~IEventRouter() = default;
};

// Listeners in order, each AddRef'd when added and released by RemoveListener or destruction.
class CEventListeners {
 public:
  ~CEventListeners();
  bool Route(IEvent* e);
  void Add(IEventRouter* r);
  bool Remove(IEventRouter* r);

 private:
  std::vector<IEventRouter*> m_listeners;
};

class IEventRouterImpl : public IEventRouter, public IQueryGuid {
 public:
  ULONG AddRef() override { return 1; }
  ULONG Release() override { return 1; }
  bool RouteEvent(IEvent* e) override { return m_listeners.Route(e); }
  void AddListener(IEventRouter* r) override { m_listeners.Add(r); }
  bool RemoveListener(IEventRouter* r) override { return m_listeners.Remove(r); }
  virtual ~IEventRouterImpl() = default;
  bool QueryGuid(REFGUID id, void** out) override {
    *out = nullptr;
    return AnswerGuid(id, IID_IEventRouter, static_cast<IEventRouter*>(this), out);
  }

 private:
  CEventListeners m_listeners;
};

// The template half of the controller: model and visual, neither owned.
template <class Model, class Visual>
class CMvcController : public IEventRouterImpl {
 public:
  virtual void SetModel(Model* pModel) { m_pModel = pModel; }
  virtual Model* GetModel() { return m_pModel; }
  virtual void SetVisual(Visual* pVisual) { m_pVisual = pVisual; }
  virtual Visual* GetVisual() { return m_pVisual; }

 protected:
  Model* m_pModel = nullptr;
  Visual* m_pVisual = nullptr;
};

class MvcController : public SECWndPlugIn, public CMvcController<CMvcModel, CMvcVisualComponent> {
 public:
  MvcController() = default;

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  // Only input, command, cursor, timer, context-menu and control-colour messages reach the
  // controller's map; every other message is left to the window.
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

  virtual BOOL Initialize(CWnd* pWnd, CMvcVisualComponent* pVisual);
  // Remembers the window, sets the visual and plugs into the window (a null window leaves the
  // controller unplugged).
  virtual BOOL OnInitialize(CWnd* pWnd, CMvcVisualComponent* pVisual);
  void SetVisual(CMvcVisualComponent* pVisual) override { CMvcController::SetVisual(pVisual); }

  CWnd* GetWnd() const { return m_pWnd; }
  static bool IsControllerMessage(UINT message);

 protected:
  CWnd* m_pWnd = nullptr;
};

}  // namespace kelpwood::foundation
