#include "persistence/ProgressRecord.h"

#include <bit>
#include <cstring>
#include <span>

namespace persistence {

namespace {

static_assert(std::numeric_limits<double>::is_iec559 && std::numeric_limits<float>::is_iec559);

// Writes fields one after the other into a byte buffer, little-endian.
class Writer {
public:
    explicit Writer(std::span<std::uint8_t> out) : out_(out) {}

    void u8(std::uint8_t v) { out_[pos_++] = v; }
    void u16(std::uint16_t v) {
        u8(static_cast<std::uint8_t>(v & 0xFF));
        u8(static_cast<std::uint8_t>(v >> 8));
    }
    void u32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            u8(static_cast<std::uint8_t>(v >> (8 * i)));
        }
    }
    void u64(std::uint64_t v) {
        for (int i = 0; i < 8; ++i) {
            u8(static_cast<std::uint8_t>(v >> (8 * i)));
        }
    }
    void f32(float v) { u32(std::bit_cast<std::uint32_t>(v)); }
    void f64(double v) { u64(std::bit_cast<std::uint64_t>(v)); }
    template <std::size_t N>
    void bytes(const std::array<std::uint8_t, N>& v) {
        for (std::uint8_t b : v) {
            u8(b);
        }
    }
    std::size_t position() const { return pos_; }

private:
    std::span<std::uint8_t> out_;
    std::size_t pos_ = 0;
};

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> in) : in_(in) {}

    std::uint8_t u8() { return in_[pos_++]; }
    std::uint16_t u16() {
        const std::uint16_t low = u8();
        return static_cast<std::uint16_t>(low | (u8() << 8));
    }
    std::uint32_t u32() {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            v |= static_cast<std::uint32_t>(u8()) << (8 * i);
        }
        return v;
    }
    std::uint64_t u64() {
        std::uint64_t v = 0;
        for (int i = 0; i < 8; ++i) {
            v |= static_cast<std::uint64_t>(u8()) << (8 * i);
        }
        return v;
    }
    float f32() { return std::bit_cast<float>(u32()); }
    double f64() { return std::bit_cast<double>(u64()); }
    template <std::size_t N>
    void bytes(std::array<std::uint8_t, N>& v) {
        for (std::uint8_t& b : v) {
            b = u8();
        }
    }
    std::size_t position() const { return pos_; }

private:
    std::span<const std::uint8_t> in_;
    std::size_t pos_ = 0;
};

}  // namespace

ProgressBytes encode(const ProgressRecord& r) {
    ProgressBytes out{};
    Writer w(out);
    w.u8(r.RecordMark);
    w.u8(r.PeriodStarted[2]);
    w.u8(r.PeriodStarted[3]);
    w.bytes(r.paddingAfterFlags);
    for (int op = 2; op <= 3; ++op) {
        w.f64(r.PeriodStart[op]);
        w.f64(r.PeriodEnd[op]);
    }
    for (int op = 2; op <= 3; ++op) {
        for (const auto& row : r.ExerciseCount[op]) {
            for (std::uint16_t count : row) {
                w.u16(count);
            }
        }
    }
    for (int op = 2; op <= 3; ++op) {
        for (const auto& row : r.MarkHistory[op]) {
            for (std::uint8_t mark : row) {
                w.u8(mark);
            }
        }
    }
    for (int op = 2; op <= 3; ++op) {
        for (std::uint8_t length : r.MarkHistoryLength[op]) {
            w.u8(length);
        }
    }
    w.u8(r.TimeSetting);
    w.u8(r.CountSetting);
    w.u8(r.LanguageCode);
    w.bytes(r.paddingAtEnd);
    return out;
}

ProgressRecord decodeProgressRecord(const ProgressBytes& bytes) {
    ProgressRecord r;
    Reader in(bytes);
    r.RecordMark = in.u8();
    r.PeriodStarted[2] = in.u8();
    r.PeriodStarted[3] = in.u8();
    in.bytes(r.paddingAfterFlags);
    for (int op = 2; op <= 3; ++op) {
        r.PeriodStart[op] = in.f64();
        r.PeriodEnd[op] = in.f64();
    }
    for (int op = 2; op <= 3; ++op) {
        for (auto& row : r.ExerciseCount[op]) {
            for (std::uint16_t& count : row) {
                count = in.u16();
            }
        }
    }
    for (int op = 2; op <= 3; ++op) {
        for (auto& row : r.MarkHistory[op]) {
            for (std::uint8_t& mark : row) {
                mark = in.u8();
            }
        }
    }
    for (int op = 2; op <= 3; ++op) {
        for (std::uint8_t& length : r.MarkHistoryLength[op]) {
            length = in.u8();
        }
    }
    r.TimeSetting = in.u8();
    r.CountSetting = in.u8();
    r.LanguageCode = in.u8();
    in.bytes(r.paddingAtEnd);
    return r;
}

TerrorBytes encode(const Terror& e) {
    TerrorBytes out{};
    Writer w(out);
    w.u8(e.z1);
    w.u8(e.Z2);
    w.bytes(e.paddingAfterOperands);
    w.f32(e.error);
    w.u8(e.res);
    w.bytes(e.paddingAtEnd);
    return out;
}

Terror decodeTerror(const TerrorBytes& bytes) {
    Terror e;
    Reader in(bytes);
    e.z1 = in.u8();
    e.Z2 = in.u8();
    in.bytes(e.paddingAfterOperands);
    e.error = in.f32();
    e.res = in.u8();
    in.bytes(e.paddingAtEnd);
    return e;
}

RecordChange changeBetween(const ProgressRecord& before, const ProgressRecord& after) {
    if (encode(before) == encode(after)) {
        return RecordChange::None;
    }
    ProgressRecord withNewSettings = before;
    withNewSettings.TimeSetting = after.TimeSetting;
    withNewSettings.CountSetting = after.CountSetting;
    withNewSettings.LanguageCode = after.LanguageCode;
    return encode(withNewSettings) == encode(after) ? RecordChange::SettingsOnly
                                                    : RecordChange::Practice;
}

}  // namespace persistence
