#include "ui/accessibility_win32.h"

#include "platform/text_win32.h"
#include "text/strings.h"

namespace korvane::ui {
namespace {

// UI Automation's LiveSetting property, which the SDK's oleacc.h leaves out.
constexpr GUID kLiveSettingProperty = {0xc12bcd8e,
                                       0x2a8e,
                                       0x4950,
                                       {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr LONG kLivePolite = 1;
// EVENT_OBJECT_LIVEREGIONCHANGED, which the SDK declares only for Windows 8 and later; Windows 7
// ignores it.
constexpr DWORD kLiveRegionChanged = 0x8019;

}  // namespace

void Accessibility::Attach(const WindowControls& controls) {
  path_ = controls[kTextPath];
  list_ = controls[kList];
  summary_ = controls[kLabelTotal];
  status_ = controls[kLabelStatus];
  if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IAccPropServices, services_.receive())))
    return;
  const std::pair<HWND, std::string> names[] = {
      {path_, std::string(text::Tr(text::Id::kAccessiblePath))},
      {list_, std::string(text::Tr(text::Id::kAccessibleList))},
  };
  for (const auto& [control, name] : names) {
    services_->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                              PROPID_ACC_NAME, Widen(name).c_str());
  }
  VARIANT polite{};
  polite.vt = VT_I4;
  polite.lVal = kLivePolite;
  for (const HWND label : {summary_, status_})
    services_->SetHwndProp(label, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                           kLiveSettingProperty, polite);
}

void Accessibility::Detach() {
  if (services_) {
    MSAAPROPID name = PROPID_ACC_NAME;
    for (const HWND control : {path_, list_})
      services_->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &name, 1);
    MSAAPROPID live = kLiveSettingProperty;
    for (const HWND label : {summary_, status_})
      services_->ClearHwndProps(label, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &live, 1);
  }
  services_.Reset();
  path_ = list_ = summary_ = status_ = nullptr;
}

void Accessibility::AnnounceEnd() const {
  // The summary first: the status that follows says how the run ended.
  for (const HWND label : {summary_, status_}) {
    if (label)
      NotifyWinEvent(kLiveRegionChanged, label, OBJID_CLIENT, CHILDID_SELF);
  }
}

}  // namespace korvane::ui
