// What of a window's controls is cut off: a control reaching past the edge of what holds it, a
// caption wider than its control, a tab not showing its whole caption.  One line per control.
#pragma once

#include <QStringList>

class QWidget;

namespace testsupport {

QStringList ClippedControls(QWidget* window);

}  // namespace testsupport
