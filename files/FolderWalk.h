#pragma once
// Where a write really lands, found from folder descriptors rather than path names. Every part
// of the path is opened from the descriptor of the folder before it without following links;
// each link is read and judged on the descriptor that was opened, and the folder the walk ends
// in is the descriptor the write then uses. A folder swapped for a link after it was judged
// therefore cannot redirect the write: the write never looks the path up again.

#include <QByteArray>
#include <QByteArrayList>

namespace files {

// An open descriptor, closed when it goes.
class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(Descriptor&& other) noexcept : fd_(other.release()) {}
    Descriptor& operator=(Descriptor&& other) noexcept;
    ~Descriptor();
    int get() const { return fd_; }
    int release();

private:
    int fd_ = -1;
};

struct Place {
    Descriptor folder; // the real folder, opened as a path (O_PATH)
    QByteArray name;   // the file's name in it; the file may not exist yet
    int error = 0;     // the system's error number when there is no such place
};

// The place of a file about to be written. Links are followed as the system follows them:
// ".." counts from the folder a link really lies in, more than 40 links in one lookup is ELOOP,
// a missing folder on the way ENOENT, a file where a folder should be ENOTDIR, a path that ends
// in a folder EISDIR. When the program runs as root, a link is followed only when root owns it
// or its owner also owns what it leads to, so that a link planted by a user cannot aim a write
// at a file that user could not write (EACCES).
Place placeForWriting(const QByteArray& path);

// The names of the entries of the folder at path (relative to the open folder at, which may be
// AT_FDCWD), without "." and "..", in the order the system lists them; the folder itself is
// opened without following a link at its end only when path is ".". Returns 0, or the system's
// error number when the folder cannot be opened or read: a folder that cannot be listed is no
// empty folder.
int listFolder(int at, const char* path, QByteArrayList& names);

} // namespace files
