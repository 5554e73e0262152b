#pragma once

namespace tervan {

// Starts the program: the common controls first, then the main dialog, modally; when it closes
// the program ends.
class CTervanApp {
public:
    bool InitInstance();
};

} // namespace tervan
