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

// The program's own Chinese texts, those written into its source, in the other script.  A
// whole text found among them takes its converted form (phrases as the string table converts
// them); any other text goes to Simplified character by character.  Going back to Traditional
// knows only the whole texts.
QString ToSimplified(const QString& text);
QString ToTraditional(const QString& text);
// Whether the Simplified conversion changes any character of the text.
bool HasTraditionalCharacters(const QString& text);

}  // namespace strings
