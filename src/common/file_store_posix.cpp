#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "common/file_store.h"
#include "common/text_encoding.h"

namespace halyard {

bool readWholeFile(const std::wstring& path, std::string& bytes) {
    std::ifstream in(toUtf8(path), std::ios::binary);
    if (!in) return false;
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) return false;
    bytes = content.str();
    return true;
}

bool fileExists(const std::wstring& path) {
    struct stat info {};
    return stat(toUtf8(path).c_str(), &info) == 0;
}

bool moveFileReplacing(const std::wstring& from, const std::wstring& to) {
    return std::rename(toUtf8(from).c_str(), toUtf8(to).c_str()) == 0;
}

bool replaceFileAtomically(const std::wstring& path, const std::string& bytes) {
    const std::string target = toUtf8(path);
    std::string temp = target + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) return false;
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
        if (n <= 0) break;
        written += static_cast<size_t>(n);
    }
    const bool complete = written == bytes.size() && fsync(fd) == 0;
    const bool closed = close(fd) == 0;
    if (complete && closed && std::rename(temp.c_str(), target.c_str()) == 0) return true;
    std::remove(temp.c_str());
    return false;
}

}  // namespace halyard
