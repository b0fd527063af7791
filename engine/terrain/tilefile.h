// Byte access to a terrain or chart file: the readers ask for a run of bytes
// at an offset and get back how many were really there, so a short or
// corrupt file ends a reader at its first short read and never lets it read
// past what exists. Tests feed memory through the same interface.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zk::engine {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Copies up to len bytes from offset into buf; answers the count copied
    // (0 for a negative offset or one at or past the end).
    virtual size_t readAt(int64_t offset, void *buf, size_t len) = 0;
};

// A file opened read-only from the 8-bit path the caller gives. The path is
// tried as it stands, then, when it holds bytes above 0x7F, as Windows-1252
// text converted to the file system's UTF-8.
class TileFile final : public ByteSource {
public:
    explicit TileFile(const char *path);
    ~TileFile() override;
    TileFile(const TileFile &) = delete;
    TileFile &operator=(const TileFile &) = delete;

    bool isOpen() const { return fd_ >= 0; }
    size_t readAt(int64_t offset, void *buf, size_t len) override;

private:
    int fd_ = -1;
};

// Bytes held in memory (tests, fuzzing).
class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
    size_t readAt(int64_t offset, void *buf, size_t len) override;

private:
    std::vector<uint8_t> bytes_;
};

// Windows-1252 text to UTF-8 (the five unassigned bytes map to U+0081 etc.).
std::vector<char> cp1252ToUtf8(const char *text);

}  // namespace zk::engine
