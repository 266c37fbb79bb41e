#include "AccessibleNames.h"

#include "Translation.h"
#include "WideText.h"

#include <initguid.h>
#include <oleacc.h>

namespace pavok {

void NameControls(HWND dialog, std::span<const ControlTemplate> controls) {
  // The annotations last as long as the windows; the service keeps them.
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return;
  IAccPropServices* service = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                 reinterpret_cast<void**>(&service)))) {
    for (const ControlTemplate& control : controls) {
      if (control.accessibleName.empty() || control.id == IDC_STATIC) continue;
      // A text is named by what it shows (the status field is read out as
      // its state), so what it is becomes its description.
      const MSAAPROPID property =
          control.controlClass == ControlClass::Static ? PROPID_ACC_DESCRIPTION : PROPID_ACC_NAME;
      const std::wstring name = Widen(Tr(control.accessibleName));
      service->SetHwndPropStr(GetDlgItem(dialog, control.id), static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                              property, name.c_str());
    }
    service->Release();
  }
}

}  // namespace pavok
