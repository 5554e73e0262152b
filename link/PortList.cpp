#include "link/PortList.h"

#include <algorithm>
#include <cctype>
#include <cstddef>

namespace tervan {

namespace {

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Compares the digit runs a[i, iEnd) and b[j, jEnd) by value, without converting them (a run may
// be longer than any integer).
int CompareNumbers(const std::string& a, std::size_t i, std::size_t iEnd, const std::string& b,
                   std::size_t j, std::size_t jEnd) {
    while (i < iEnd && a[i] == '0') {
        ++i;
    }
    while (j < jEnd && b[j] == '0') {
        ++j;
    }
    if (iEnd - i != jEnd - j) {
        return iEnd - i < jEnd - j ? -1 : 1;
    }
    for (; i < iEnd; ++i, ++j) {
        if (a[i] != b[j]) {
            return a[i] < b[j] ? -1 : 1;
        }
    }
    return 0;
}

bool IsUsbName(const std::string& name) {
    const std::string usb = kUsbPortName;
    return name.size() == usb.size() &&
           std::equal(name.begin(), name.end(), usb.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == y;
           });
}

} // namespace

bool NaturalLess(const std::string& a, const std::string& b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            std::size_t iEnd = i;
            std::size_t jEnd = j;
            while (iEnd < a.size() && IsDigit(a[iEnd])) {
                ++iEnd;
            }
            while (jEnd < b.size() && IsDigit(b[jEnd])) {
                ++jEnd;
            }
            if (const int c = CompareNumbers(a, i, iEnd, b, j, jEnd); c != 0) {
                return c < 0;
            }
            i = iEnd;
            j = jEnd;
            continue;
        }
        if (a[i] != b[j]) {
            return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]);
        }
        ++i;
        ++j;
    }
    if (a.size() - i != b.size() - j) {
        return a.size() - i < b.size() - j;
    }
    return a < b; // equal in value ("ttyS01" and "ttyS1"): any fixed order will do
}

std::vector<std::string> ArrangePorts(std::vector<std::string> found, const std::string& given) {
    std::sort(found.begin(), found.end(), NaturalLess);
    found.erase(std::unique(found.begin(), found.end()), found.end());

    std::vector<std::string> ports{kUsbPortName};
    // "usb" names the USB link, which is listed already.
    const bool ownPath = !given.empty() && !IsUsbName(given);
    if (ownPath) {
        ports.push_back(given);
    }
    for (std::string& port : found) {
        if (!(ownPath && port == given) && !IsUsbName(port)) {
            ports.push_back(std::move(port));
        }
    }
    return ports;
}

} // namespace tervan
