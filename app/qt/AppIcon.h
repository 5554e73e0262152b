#pragma once

#include <QIcon>

namespace tervan {

// The application's icon, drawn from the SVG in the resources at every size asked for.
QIcon AppIcon();

} // namespace tervan
