#include "pathfile.h"

#include <QIODevice>

#include "base/routines.h"
#include "cp1252.h"
#include "pathtext.h"

namespace zk::pathviewer {

namespace {

// Lines ended by CR LF, CR or LF, read in chunks so that a huge file costs
// no more memory than its longest allowed line.
class LineReader {
public:
    enum Status { Line, End, TooLong };

    explicit LineReader(QIODevice &in) : in_(in) {}

    Status next(QByteArray &line)
    {
        if (pos_ > kChunk) {
            buf_.remove(0, pos_);
            pos_ = 0;
        }
        qsizetype scan = pos_;
        for (;;) {
            for (qsizetype i = scan; i < buf_.size(); ++i) {
                const char c = buf_[i];
                if (c != '\r' && c != '\n') continue;
                if (i - pos_ > kMaxLineBytes) return TooLong;
                line = buf_.mid(pos_, i - pos_);
                qsizetype after = i + 1;
                if (c == '\r') {
                    if (after >= buf_.size()) fill();  // the LF of a CR LF may be in the next chunk
                    if (after < buf_.size() && buf_[after] == '\n') ++after;
                }
                consumed_ += after - pos_;
                pos_ = after;
                return Line;
            }
            if (buf_.size() - pos_ > kMaxLineBytes) return TooLong;
            scan = buf_.size();
            if (!fill()) {
                if (pos_ >= buf_.size()) return End;
                line = buf_.mid(pos_);  // a last line without its line end
                consumed_ += buf_.size() - pos_;
                pos_ = buf_.size();
                return Line;
            }
        }
    }

    qint64 consumed() const { return consumed_; }

private:
    static constexpr qint64 kChunk = 64 * 1024;

    bool fill()
    {
        if (eof_) return false;
        const QByteArray chunk = in_.read(kChunk);
        if (chunk.isEmpty()) {
            eof_ = true;  // end of file or a read failure: reading ends either way
            return false;
        }
        buf_.append(chunk);
        return true;
    }

    QIODevice &in_;
    QByteArray buf_;
    qsizetype pos_ = 0;
    qint64 consumed_ = 0;
    bool eof_ = false;
};

// A cover code: any number that rounds (halves to even) to 0..255.
bool parseCode(QStringView text, uint8_t &out)
{
    double v = 0;
    if (!parseNumber(text, v)) return false;
    if (!(v >= -0.5 && v <= 255.5)) return false;
    const long long c = roundEven(v);
    if (c < 0 || c > 255) return false;
    out = uint8_t(c);
    return true;
}

}  // namespace

bool isStartLine(const QByteArray &line)
{
    QByteArray head = line.left(5);
    qsizetype b = 0, e = head.size();
    while (b < e && head[b] == ' ') ++b;
    while (e > b && head[e - 1] == ' ') --e;
    head = head.mid(b, e - b);
    if (head.size() != 5) return false;
    for (char &c : head)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return head == "start";
}

PathFileData readPathFile(QIODevice &in)
{
    PathFileData d;
    LineReader reader(in);
    QByteArray raw;

    // Everything up to and including the start line is skipped. A file
    // without one within the header bound is not a path file.
    for (;;) {
        const LineReader::Status st = reader.next(raw);
        if (st != LineReader::Line) {
            d.messages = 1;
            return d;
        }
        if (isStartLine(raw)) break;
        if (reader.consumed() > kMaxHeaderBytes) {
            d.messages = 1;
            return d;
        }
    }

    // The two sites: a file that ends before the right antenna height is
    // damaged; a height that is not a number keeps the previous one.
    for (int k = 1; k <= 2; ++k) {
        if (reader.next(raw) != LineReader::Line) {
            d.messages += 1;
            return d;
        }
        d.sitename[k] = fromCp1252(raw);
        d.hasName[k] = true;
        if (reader.next(raw) != LineReader::Line) {
            d.messages += 1;
            return d;
        }
        float v = 0;
        if (parseSingle(fromCp1252(raw), v)) {
            d.siteant[k] = v;
            d.hasAnt[k] = true;
        } else {
            d.messages += 1;
        }
    }

    // Frequency and K: used only when above 0, silently kept otherwise. A
    // file that ends here has no samples; the redraw then draws nothing.
    for (int line = 0; line < 2; ++line) {
        const LineReader::Status st = reader.next(raw);
        if (st != LineReader::Line) {
            if (st == LineReader::TooLong) d.messages += 1;
            d.redraw = true;
            return d;
        }
        float v = 0;
        if (parseSingle(fromCp1252(raw), v) && v > 0) {
            if (line == 0) {
                d.freq = v;
                d.hasFreq = true;
            } else {
                d.kfactor = v;
                d.hasK = true;
            }
        }
    }

    // Samples: a path needs at least two sample lines; the end of the file
    // after them is the normal end. Fields that cannot be read stay 0 and,
    // in the first two lines, each is reported; so is text after a fourth
    // TAB there, once per line.
    for (int i = 1; i <= kSamples; ++i) {
        const LineReader::Status st = reader.next(raw);
        if (st != LineReader::Line) {
            const bool early = i <= 2;
            if (early || st == LineReader::TooLong) d.messages += 1;
            d.redraw = !early;
            return d;
        }
        d.samples = i;
        const QString line = fromCp1252(raw);
        const QStringView view(line);
        std::array<QStringView, 4> field;
        std::array<bool, 4> present{};
        bool extra = false;
        qsizetype start = 0;
        for (int f = 0; f < 4; ++f) {
            if (start > view.size()) break;
            const qsizetype tab = view.indexOf(QLatin1Char('\t'), start);
            present[size_t(f)] = true;
            if (tab < 0) {
                field[size_t(f)] = view.mid(start);
                start = view.size() + 1;
            } else {
                field[size_t(f)] = view.mid(start, tab - start);
                start = tab + 1;
                if (f == 3 && start < view.size()) extra = true;
            }
        }
        int unread = 0;
        float v = 0;
        if (present[0] && parseSingle(field[0], v)) d.pdist[size_t(i)] = v; else ++unread;
        if (present[1] && parseSingle(field[1], v)) d.palt[size_t(i)] = v; else ++unread;
        uint8_t code = 0;
        if (present[2] && parseCode(field[2], code)) d.pcode[size_t(i)] = code; else ++unread;
        if (present[3] && parseSingle(field[3], v)) d.pcover[size_t(i)] = v; else ++unread;
        if (i <= 2) d.messages += unread + (extra ? 1 : 0);
    }
    d.redraw = true;  // lines after the last sample the viewer holds are not read
    return d;
}

}  // namespace zk::pathviewer
