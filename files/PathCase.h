#pragma once
// File names as the home platform's file system treats them: without regard to case.

#include <QString>

namespace files {

// The path as it is spelled on disk, or why it could not be looked up.
struct [[nodiscard]] Spelling {
    QString path;
    int error = 0;           // the system's error number; 0 when every part could be looked at
    QString unreadable = {}; // the name or folder that could not be looked at or listed
};

// Each part that exists under its exact spelling is kept; one that does not is looked up among
// its folder's entries without regard to case (by each letter's own upper case, so "STRAßE"
// finds "Straße"; of several matches the first by name). From the first part found under no
// spelling on, the rest is kept as given, so that a file still to be created gets the name
// asked for. A relative path stays relative. A name that is there but cannot be looked at (a
// loop of links, no permission, an I/O error), and a folder on the way that cannot be listed,
// end the lookup with the system's reason: that name may be the very file asked for.
Spelling existingSpelling(const QString& path);

} // namespace files
