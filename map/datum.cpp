#include "datum.h"

#include <QFile>
#include <QIODevice>

#include <cmath>
#include <optional>

#include "base/routines.h"
#include "base/version.h"
#include "cp1252.h"
#include "msgbox.h"
#include "paths.h"

namespace zk {

QString ellname;
double ella = 0, ellb = 0;
int16_t rowoffset = 0;
double ele2 = 0, elep2 = 0, eln = 0;
double arc0 = 0, arc1 = 0, arc2 = 0, arc3 = 0, arc4 = 0;

QString appcompany, appproduct, appdescription;

namespace {

// The datum file is four short values; anything past this is never needed.
constexpr qint64 kMaxDatumBytes = 64 * 1024;

// One value of a list-form text file, read as the list reader of the
// original system did: blanks before a value are skipped; a quoted value
// runs to the closing quote and whatever follows up to the separator is
// dropped; an unquoted text runs to a comma or a line end; a number also
// ends at a blank. The separator after the value (comma or line end, CR LF
// counting as one) is consumed. Nothing is answered at the end of the data.
class ListReader {
public:
    explicit ListReader(QByteArray bytes) : b_(std::move(bytes)) {}

    std::optional<QByteArray> next(bool number)
    {
        skipBlanks();
        if (i_ >= b_.size()) return std::nullopt;
        QByteArray v;
        if (b_[i_] == '"') {
            ++i_;
            while (i_ < b_.size() && b_[i_] != '"') v.append(b_[i_++]);
            if (i_ < b_.size()) ++i_;  // closing quote
            while (i_ < b_.size() && !isSeparator(b_[i_])) ++i_;
        } else {
            while (i_ < b_.size() && !isSeparator(b_[i_]) && !(number && isBlank(b_[i_]))) v.append(b_[i_++]);
            if (!number) v = v.trimmed();
            skipBlanks();
        }
        consumeSeparator();
        return v;
    }

private:
    static bool isBlank(char c) { return c == ' ' || c == '\t'; }
    static bool isSeparator(char c) { return c == ',' || c == '\r' || c == '\n'; }
    void skipBlanks()
    {
        while (i_ < b_.size() && isBlank(b_[i_])) ++i_;
    }
    void consumeSeparator()
    {
        if (i_ >= b_.size()) return;
        if (b_[i_] == ',') {
            ++i_;
        } else if (b_[i_] == '\r') {
            ++i_;
            if (i_ < b_.size() && b_[i_] == '\n') ++i_;
        } else if (b_[i_] == '\n') {
            ++i_;
        }
    }

    QByteArray b_;
    qsizetype i_ = 0;
};

// A number with a point as decimal separator; the whole value must convert.
std::optional<double> numberOf(const std::optional<QByteArray> &v)
{
    if (!v) return std::nullopt;
    const QByteArray t = v->trimmed();
    if (t.isEmpty()) return std::nullopt;
    bool ok = false;
    const double d = t.toDouble(&ok);
    if (!ok || !std::isfinite(d)) return std::nullopt;
    return d;
}

void captureVersion()
{
    appcompany = version::companyName();
    appproduct = version::productName();
    appdescription = version::fileDescription() + QStringLiteral("\r\n") + appcompany;
}

void setDefaults()
{
    ellname = defaultDatumName();
    ella = kDefaultA;
    ellb = kDefaultB;
    rowoffset = kDefaultRowOffset;
}

// Each constant from the values above; one that does not compute (a = 0,
// a = -b, ...) keeps its previous value.
void deriveConstants()
{
    auto set = [](double &var, double v) {
        if (std::isfinite(v)) var = v;
    };
    const double a = ella, b = ellb;
    set(ele2, (a * a - b * b) / (a * a));
    set(elep2, ele2 / (1.0 - ele2));
    set(eln, (a - b) / (a + b));
    const double n = eln, n2 = n * n, n3 = n2 * n, n4 = n3 * n, n5 = n4 * n;
    set(arc0, a * (1.0 - n + 5.0 / 4.0 * (n2 - n3) + 81.0 / 64.0 * (n4 - n5)));
    set(arc1, 3.0 * a / 2.0 * (n - n2 + 7.0 / 8.0 * (n3 - n4) + 55.0 / 64.0 * n5));
    set(arc2, 15.0 * a / 16.0 * (n2 - n3 + 3.0 / 4.0 * (n4 - n5)));
    set(arc3, 35.0 * a / 48.0 * (n3 - n4 + 11.0 / 16.0 * n5));
    set(arc4, 315.0 * a / 512.0 * (n4 - n5));
}

// Why the axes make no ellipsoid of the Earth ("" when they do). An axis of
// 0 is left to the derived constants and to the readers, which fall back to
// the built-in datum; anything else must lie within a few hundred km of the
// Earth's radius with a flattening between 0 and 1/100 (real datums lie near
// 1/300), so the grid arithmetic stays within its integer ranges.
QString checkaxes(double a, double b)
{
    const auto outside = [](const char *what, double v) {
        return QStringLiteral("%1 %2 m hors des limites 6000000 à 7000000")
            .arg(QString::fromUtf8(what), QString::number(v, 'g', 10));
    };
    if (a != 0 && !(a >= 6.0e6 && a <= 7.0e6)) return outside("demi-grand axe", a);
    if (b != 0 && !(b >= 6.0e6 && b <= 7.0e6)) return outside("demi-petit axe", b);
    if (a != 0 && b != 0) {
        const double f = (a - b) / a;
        if (!(f >= 0 && f <= 0.01))
            return QStringLiteral("aplatissement %1 hors des limites 0 à 0.01").arg(QString::number(f, 'g', 6));
    }
    return QString();
}

QString readDatum(const QByteArray &bytes)
{
    ListReader r(bytes);
    QString name = ellname;
    double a = ella, b = ellb;
    if (auto v = r.next(false)) name = fromCp1252(*v);
    if (auto v = numberOf(r.next(true))) a = *v;
    if (auto v = numberOf(r.next(true))) b = *v;
    // A refused datum leaves the whole default in place, name and row offset too.
    if (QString why = checkaxes(a, b); !why.isEmpty()) return why;
    ellname = name;
    ella = a;
    ellb = b;
    if (auto off = numberOf(r.next(true))) {
        // A 16-bit whole number: halves to the even one; out of range keeps the default.
        if (*off >= -32768.5 && *off <= 32767.5) {
            const long long o = roundEven(*off);
            if (o >= -32768 && o <= 32767) rowoffset = int16_t(o);
        }
    }
    return QString();
}

}  // namespace

QString defaultDatumName()
{
    if (!appproduct.isEmpty() && appproduct[0] == QLatin1Char(kGridVariantLetter)) return QStringLiteral("WGS 1984");
    return QString();
}

QString loadellipsoidFrom(QIODevice *file)
{
    captureVersion();
    setDefaults();
    QString why;
    if (file && file->isReadable()) why = readDatum(file->read(kMaxDatumBytes));
    deriveConstants();
    return why;
}

void loadellipsoid(const QString &name)
{
    if (name.trimmed().isEmpty()) {
        loadellipsoidFrom(nullptr);
        return;
    }
    const QString path = paths::dataFile(name);
    QFile f(path);
    if (f.open(QIODevice::ReadOnly)) {
        const QString why = loadellipsoidFrom(&f);
        if (!why.isEmpty())
            msgbox(QStringLiteral("Datum refusé, le datum par défaut est gardé :\r\n") + path + QStringLiteral("\r\n") + why,
                   mbOK | mbExclamation);
    } else {
        loadellipsoidFrom(nullptr);
    }
}

}  // namespace zk
