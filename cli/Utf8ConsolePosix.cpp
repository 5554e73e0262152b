#include "cli/Utf8Console.h"

// The arguments and the streams are UTF-8 as they come: nothing to convert or reroute.
namespace tervan::cli {

struct Utf8Console::Native {};

Utf8Console::Utf8Console(int argc, char** argv) : m_argc(argc), m_argv(argv) {}

Utf8Console::~Utf8Console() = default;

} // namespace tervan::cli
