// Little-endian field writers and readers over a byte buffer, for the
// program's packed binary files. The reader trusts its caller to have
// checked that the bytes are there (each file reader checks lengths first).
#pragma once

#include <QByteArray>
#include <QtEndian>

#include <bit>
#include <cstdint>
#include <cstring>

namespace zk {

class LePacker {
public:
    explicit LePacker(QByteArray &out) : out_(out) {}
    void u8(uint8_t v) { out_.append(char(v)); }
    void i16(int16_t v) { put<int16_t>(v); }
    void i32(int32_t v) { put<int32_t>(v); }
    void u32(uint32_t v) { put<uint32_t>(v); }
    void f32(float v) { u32(std::bit_cast<uint32_t>(v)); }
    void text(const char *p, int n) { out_.append(p, n); }

private:
    template <typename T>
    void put(T v)
    {
        char b[sizeof(T)];
        qToLittleEndian<T>(v, b);
        out_.append(b, sizeof(T));
    }
    QByteArray &out_;
};

class LeUnpacker {
public:
    explicit LeUnpacker(const char *p) : p_(p) {}
    uint8_t u8() { return uint8_t(*p_++); }
    int16_t i16() { return get<int16_t>(); }
    int32_t i32() { return get<int32_t>(); }
    uint32_t u32() { return get<uint32_t>(); }
    float f32() { return std::bit_cast<float>(u32()); }
    void text(char *to, int n)
    {
        std::memcpy(to, p_, size_t(n));
        p_ += n;
    }

private:
    template <typename T>
    T get()
    {
        const T v = qFromLittleEndian<T>(p_);
        p_ += sizeof(T);
        return v;
    }
    const char *p_;
};

}  // namespace zk
