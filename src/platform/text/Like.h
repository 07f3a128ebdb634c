// VB's Like operator with binary (letter-case significant) comparison.
#pragma once

#include <QString>

namespace vb {

// "*" any run of characters, "?" any one character, "#" any digit, "[list]" one character of
// the list (ranges "a-z", "[!list]" none of them). A malformed pattern (a "[" never closed)
// matches nothing.
bool Like(const QString& text, const QString& pattern);

}  // namespace vb
