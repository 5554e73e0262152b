#pragma once

#include "form/DialogTemplate.h"

#include <windows.h>

#include <oleacc.h>

#include <string>
#include <vector>

// The names a screen reader gives the dialog's controls. The system names a control by the label
// placed right before it, and a button or check box by its caption; every other name the form
// gives goes through the accessibility property service.
namespace tervan {

struct GivenName {
    int id = 0;
    std::wstring name;
};

// The controls whose name neither a label before them nor their caption can give.
std::vector<GivenName> GivenNames(const DialogTemplate& dialog);

// Gives those controls their names, and takes the names back before the controls go: the
// service keeps them with the windows until it is told otherwise.
class CAccessibleNames {
public:
    CAccessibleNames() = default;
    ~CAccessibleNames() { Clear(); }
    CAccessibleNames(const CAccessibleNames&) = delete;
    CAccessibleNames& operator=(const CAccessibleNames&) = delete;

    // False when the system has no property service or refused a name (Wine's is a stub); the
    // controls then keep the names the system finds for them.
    bool Set(HWND dialog, const DialogTemplate& dialogTemplate);
    void Clear();

private:
    bool m_comStarted = false;
    IAccPropServices* m_services = nullptr;
    std::vector<HWND> m_named;
};

} // namespace tervan
