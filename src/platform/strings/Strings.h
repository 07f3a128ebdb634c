// The numbered string table: Traditional texts at id, Simplified at id + 10000.
#pragma once

#include <QString>
#include <stdexcept>

namespace strings {

// Error 326: resource with this identifier not found.
class ResourceNotFound : public std::runtime_error {
public:
    explicit ResourceNotFound(int id);
    int id;
};

// The text of id; throws ResourceNotFound when the table has no line for it.
QString LoadResString(int id);
// Whether the table has a line for id (the line's text may be empty).
bool HasResString(int id);
// A caption: the text, or "" with a warning on stderr when the id is missing.
QString Caption(int id);

}  // namespace strings
