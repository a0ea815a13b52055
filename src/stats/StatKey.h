#pragma once
/// @file The 8-byte key of a statistic value with its three little-endian
/// views: four unsigned 16-bit words (w1..w4), two signed 32-bit integers
/// (d1, d2) and eight bytes (b1..b8).

#include <compare>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <QHashFunctions>
#include <QtEndian>

namespace lot {

#pragma pack(push, 1)
/// Value key. The bytes are the storage (they are also the layout written to
/// prefetch files); the views are read and written little-endian whatever the
/// host, so a key built on one machine means the same on any other.
///
/// Equality is equality of all four words; the order is w1, then w2, w3, w4,
/// each compared as an unsigned number.
struct TStatKey {
    uint8_t B[8] = {};

    /// Word i (1..4), unsigned.
    constexpr uint16_t W(int i) const {
        const int o = (i - 1) * 2;
        return uint16_t(B[o] | (B[o + 1] << 8));
    }
    constexpr void SetW(int i, uint16_t v) {
        const int o = (i - 1) * 2;
        B[o] = uint8_t(v);
        B[o + 1] = uint8_t(v >> 8);
    }
    /// Integer i (1..2), signed.
    constexpr int32_t D(int i) const {
        const int o = (i - 1) * 4;
        return int32_t(uint32_t(B[o]) | (uint32_t(B[o + 1]) << 8) | (uint32_t(B[o + 2]) << 16) |
                       (uint32_t(B[o + 3]) << 24));
    }
    constexpr void SetD(int i, int32_t v) {
        const int o = (i - 1) * 4;
        const uint32_t u = uint32_t(v);
        B[o] = uint8_t(u);
        B[o + 1] = uint8_t(u >> 8);
        B[o + 2] = uint8_t(u >> 16);
        B[o + 3] = uint8_t(u >> 24);
    }
    /// Byte i (1..8).
    constexpr uint8_t Byte(int i) const { return B[i - 1]; }
    constexpr void SetByte(int i, uint8_t v) { B[i - 1] = v; }

    /// The words packed w1 first: comparing these numbers orders keys the way
    /// value lists and prefetch files are ordered.
    constexpr uint64_t OrderValue() const {
        return (uint64_t(W(1)) << 48) | (uint64_t(W(2)) << 32) | (uint64_t(W(3)) << 16) | uint64_t(W(4));
    }
    constexpr bool IsZero() const { return OrderValue() == 0; }

    /// The eight bytes as one little-endian number: w1 is its low word, d2
    /// its high half. Masking this number is how the key searches compare
    /// parts of keys (see TKeySearch).
    uint64_t Bits() const {
        uint64_t v;
        std::memcpy(&v, B, 8);
        return qFromLittleEndian(v);
    }
    static TStatKey FromBits(uint64_t bits) {
        TStatKey k;
        bits = qToLittleEndian(bits);
        std::memcpy(k.B, &bits, 8);
        return k;
    }

    static constexpr TStatKey FromWords(uint16_t w1, uint16_t w2 = 0, uint16_t w3 = 0, uint16_t w4 = 0) {
        TStatKey k;
        k.SetW(1, w1);
        k.SetW(2, w2);
        k.SetW(3, w3);
        k.SetW(4, w4);
        return k;
    }
    static constexpr TStatKey FromInts(int32_t d1, int32_t d2 = 0) {
        TStatKey k;
        k.SetD(1, d1);
        k.SetD(2, d2);
        return k;
    }

    friend constexpr bool operator==(const TStatKey &a, const TStatKey &b) {
        return a.OrderValue() == b.OrderValue();
    }
    friend constexpr std::strong_ordering operator<=>(const TStatKey &a, const TStatKey &b) {
        return a.OrderValue() <=> b.OrderValue();
    }
};
#pragma pack(pop)

static_assert(sizeof(TStatKey) == 8, "a value key is 8 bytes");
static_assert(TStatKey::FromWords(1, 2).D(1) == 0x00020001,
              "words and integers share the bytes little-endian");
static_assert(TStatKey::FromWords(0x8000) > TStatKey::FromWords(0x7FFF), "words compare unsigned");

inline size_t qHash(const TStatKey &key, size_t seed = 0) noexcept {
    return ::qHash(quint64(key.OrderValue()), seed);
}

} // namespace lot

template <> struct std::hash<lot::TStatKey> {
    size_t operator()(const lot::TStatKey &key) const noexcept {
        // A 64-bit mix: keys often differ only in one low word.
        uint64_t x = key.OrderValue();
        x ^= x >> 33;
        x *= 0xff51afd7ed558ccdULL;
        x ^= x >> 33;
        return size_t(x);
    }
};
