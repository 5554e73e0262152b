// The GUIDs of the property service are defined here, once for the program.
#include <initguid.h>

#include "app/win32/AccessibleNamesWin32.h"

#include "base/WideTextWin32.h"
#include "form/AccessibleNames.h"

namespace tervan {

std::vector<GivenName> GivenNames(const DialogTemplate& dialog) {
    std::vector<GivenName> names;
    for (std::size_t i = 0; i < dialog.controls.size(); ++i) {
        const AccessibleName name = AccessibleNameOf(dialog, i);
        if (name.source == NameSource::Given) {
            names.push_back({dialog.controls[i].id, WidenUtf8(name.text)});
        }
    }
    return names;
}

bool CAccessibleNames::Set(HWND dialog, const DialogTemplate& dialogTemplate) {
    Clear();
    const std::vector<GivenName> names = GivenNames(dialogTemplate);
    if (names.empty()) {
        return true; // the labels and captions name every control
    }
    // The service is a COM object; a thread that runs COM already keeps its own apartment.
    m_comStarted = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    if (FAILED(::CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IAccPropServices, reinterpret_cast<void**>(&m_services)))) {
        m_services = nullptr;
        return false;
    }
    bool all = true;
    for (const GivenName& name : names) {
        HWND control = ::GetDlgItem(dialog, name.id);
        if (SUCCEEDED(m_services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT),
                                                 CHILDID_SELF, PROPID_ACC_NAME,
                                                 name.name.c_str()))) {
            m_named.push_back(control);
        } else {
            all = false;
        }
    }
    return all;
}

void CAccessibleNames::Clear() {
    if (m_services != nullptr) {
        MSAAPROPID name = PROPID_ACC_NAME;
        for (HWND control : m_named) {
            m_services->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                       &name, 1);
        }
        m_services->Release();
        m_services = nullptr;
    }
    m_named.clear();
    if (m_comStarted) {
        ::CoUninitialize();
        m_comStarted = false;
    }
}

} // namespace tervan
