#include "terrain/tilefile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace zk::engine {

namespace {

// Code points of bytes 0x80..0x9F in Windows-1252; the rest of the upper
// half is Latin-1.
constexpr uint16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int openPath(const char *path)
{
    int fd;
    do {
        fd = ::open(path, O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

}  // namespace

std::vector<char> cp1252ToUtf8(const char *text)
{
    std::vector<char> out;
    for (const unsigned char *p = reinterpret_cast<const unsigned char *>(text); *p; ++p) {
        uint32_t cp = *p;
        if (cp >= 0x80 && cp < 0xA0) cp = kHigh[cp - 0x80];
        if (cp < 0x80) {
            out.push_back(char(cp));
        } else if (cp < 0x800) {
            out.push_back(char(0xC0 | (cp >> 6)));
            out.push_back(char(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(char(0xE0 | (cp >> 12)));
            out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(char(0x80 | (cp & 0x3F)));
        }
    }
    out.push_back(0);
    return out;
}

TileFile::TileFile(const char *path)
{
    if (!path || !*path) return;
    fd_ = openPath(path);
    if (fd_ >= 0) return;
    bool high = false;
    for (const char *p = path; *p; ++p) high = high || (static_cast<unsigned char>(*p) >= 0x80);
    if (high) fd_ = openPath(cp1252ToUtf8(path).data());
}

TileFile::~TileFile()
{
    if (fd_ >= 0) ::close(fd_);
}

size_t TileFile::readAt(int64_t offset, void *buf, size_t len)
{
    if (fd_ < 0 || offset < 0) return 0;
    size_t done = 0;
    auto *out = static_cast<char *>(buf);
    while (done < len) {
        const ssize_t n = ::pread(fd_, out + done, len - done, off_t(offset + int64_t(done)));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += size_t(n);
    }
    return done;
}

size_t MemorySource::readAt(int64_t offset, void *buf, size_t len)
{
    if (offset < 0 || uint64_t(offset) >= bytes_.size()) return 0;
    const size_t n = std::min(len, bytes_.size() - size_t(offset));
    std::memcpy(buf, bytes_.data() + offset, n);
    return n;
}

}  // namespace zk::engine
