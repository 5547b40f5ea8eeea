// The smallest program that reads an INI file and rewrites one line of it: the value of the
// first "MainPictureStatus=" line becomes argv[2]. It saves as durably as the program does:
// into a temporary file beside it, synced to disk, then renamed over the original.

#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    const std::string path = argv[1];
    std::stringstream read;
    read << std::ifstream(path, std::ios::binary).rdbuf();
    std::string content = read.str();
    const std::string key = "MainPictureStatus=";
    const std::size_t at = content.find(key);
    if (at == std::string::npos)
        return 1;
    const std::size_t value = at + key.size();
    content.replace(value, content.find_first_of("\r\n", value) - value, argv[2]);

    const std::string temporary = path + ".new";
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const bool written = fd >= 0 && write(fd, content.data(), content.size()) ==
                                        static_cast<ssize_t>(content.size());
    const bool synced = written && fsync(fd) == 0;
    if (fd >= 0)
        close(fd);
    return synced && std::rename(temporary.c_str(), path.c_str()) == 0 ? 0 : 1;
}
