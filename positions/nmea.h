// NMEA 0183 as the serial GPS speaks it: the sentence assembler with its
// XOR checksum, the reading of a $GPRMC fix and the writing of the $GPRMC
// sentence that the simulated GPS sends.
//
// Plain C++ (no Qt): bytes in, records out, so tests and the fuzzer feed
// memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zk::positions {

// Collects sentences from "$" to carriage return. The stored text is the
// sentence without its "*": "$", the fields, then directly the two checksum
// digits, at most 80 characters; bytes beyond that and control bytes are
// left out of the text but still count in the checksum, so such a sentence
// fails its check. The state is kept across calls (a sentence may arrive in
// several reads of the port).
class NmeaAssembler {
public:
    static constexpr size_t kMaxText = 80;

    // One byte from the port. True when it ended a sentence whose checksum
    // is right; sentence() then holds it until the next "$".
    bool feed(uint8_t byte);
    // Feeds every byte; the callback gets each valid sentence in order.
    template <typename F>
    int feed(const uint8_t *data, size_t size, F &&onSentence)
    {
        int n = 0;
        for (size_t i = 0; i < size; ++i) {
            if (feed(data[i])) {
                ++n;
                onSentence(text_);
            }
        }
        return n;
    }
    const std::string &sentence() const { return text_; }

private:
    std::string text_;
    unsigned xor_ = 0;
    size_t star_ = 0;    // length of the text when the "*" came; 0 before it
    bool open_ = false;  // a "$" started a sentence that no CR has ended yet
};

// A $GPRMC fix as the program uses it.
struct RmcFix {
    double lat = 0, lon = 0;      // degrees, north and east positive
    std::string time = "00:00:00";  // UTC hh:mm:ss from field 1
    double speed_kmh = 0;         // field 7 in km/h, at most 999
    double course_deg = 0;        // field 8 clamped to 0..360
};

// Reads a sentence as the assembler stores it (or a logged line). Answers
// nothing unless characters 2 to 6 are "GPRMC" and fields 3 and 5 hold a
// usable position: ddmm.mm and dddmm.mm made only of digits and one point,
// whole degrees within 90 and 180, minutes below 60. Minutes are read from
// their first five characters (mm.mm): later decimals are dropped. Fields
// 4 "S" and 6 anything but "E" give the southern and western signs.
std::optional<RmcFix> readgprmc(std::string_view sentence);

// UTC time and date of a written sentence.
struct UtcStamp {
    int hour = 0, minute = 0, second = 0;
    int day = 1, month = 1, year = 2000;
};

// The $GPRMC sentence of a position, CR LF included:
// $GPRMC,hhmmss,A,ddmm.mm,N,dddmm.mm,E,,,ddmmyy,016.2,W*hh
// The minutes are rounded to hundredths, carrying into the degrees when
// they reach 60; the longitude is written wrapped into [-180, 180) and the
// latitude within [-90, 90] (the caller's values are not changed).
std::string formatgprmc(double lon, double lat, const UtcStamp &utc);

// The XOR of the characters between "$" and "*" (or the end).
unsigned nmeachecksum(std::string_view body);

}  // namespace zk::positions
