#include "link/PortListWin32.h"
#include "base/WideTextWin32.h"
#include "link/PortList.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <type_traits>

namespace tervan {

namespace {

struct KeyCloser {
    void operator()(HKEY key) const { ::RegCloseKey(key); }
};
using Key = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

} // namespace

std::vector<std::string> ListPorts(const std::string& given) {
    std::vector<std::string> ports{kUsbPortName};
    for (unsigned n = 1; n <= kFormComPorts; ++n) {
        ports.push_back("COM" + std::to_string(n));
    }
    // A port of the user's own beyond the fixed ones comes first, so it is the one selected.
    if (!given.empty() && std::find(ports.begin(), ports.end(), given) == ports.end()) {
        ports.insert(ports.begin() + 1, given);
    }
    return ports;
}

std::vector<std::string> RegistrySerialPorts() {
    HKEY raw = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ,
                        &raw) != ERROR_SUCCESS) {
        return {};
    }
    const Key key{raw};
    std::vector<std::string> ports;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD nameLength = static_cast<DWORD>(std::size(name));
        wchar_t data[256] = {};
        DWORD dataBytes = sizeof data - sizeof(wchar_t); // room left for a terminator
        DWORD type = 0;
        const LSTATUS status = ::RegEnumValueW(key.get(), index, name, &nameLength, nullptr, &type,
                                               reinterpret_cast<BYTE*>(data), &dataBytes);
        if (status == ERROR_NO_MORE_ITEMS) {
            break;
        }
        if (status != ERROR_SUCCESS || type != REG_SZ) {
            continue; // a value too long for a port name, or not a name at all
        }
        const std::wstring_view port(data, wcsnlen(data, dataBytes / sizeof(wchar_t)));
        if (!port.empty()) {
            ports.push_back(NarrowToUtf8(port));
        }
    }
    std::sort(ports.begin(), ports.end(), NaturalLess);
    ports.erase(std::unique(ports.begin(), ports.end()), ports.end());
    return ports;
}

} // namespace tervan
