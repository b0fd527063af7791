#include "settings.h"

#include <QLocale>
#include <QSettings>

#include <cmath>

namespace zk {

AppSettings settings;

namespace {

QSettings &store()
{
    static QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Kestrova"), QStringLiteral("Kestrova"));
    return s;
}

// The spelling under which the key is stored, or the key itself when absent.
QString storedKey(const QString &key)
{
    QSettings &s = store();
    s.beginGroup(QStringLiteral("Settings"));
    const QStringList keys = s.childKeys();
    s.endGroup();
    for (const QString &k : keys)
        if (k.compare(key, Qt::CaseInsensitive) == 0) return k;
    return key;
}

QLocale userLocale()
{
    QLocale l;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    return l;
}

}  // namespace

QString readsetting(const QString &key, const QString &def)
{
    QSettings &s = store();
    const QString k = QStringLiteral("Settings/") + storedKey(key);
    if (!s.contains(k)) return def;
    const QVariant v = s.value(k);
    // A list value (an unquoted comma in the file) is read back as its text.
    if (v.typeId() == QMetaType::QStringList) return v.toStringList().join(QLatin1Char(','));
    return v.toString();
}
QString readsetting(const QString &key, const char *def) { return readsetting(key, QString::fromUtf8(def)); }
QString readsetting(const QString &key, double def) { return readsetting(key, floatText(def)); }
QString readsetting(const QString &key, int def) { return readsetting(key, wholeText(def)); }
QString readsetting(const QString &key, bool def) { return readsetting(key, boolText(def)); }

void writesetting(const QString &key, const QString &text)
{
    QSettings &s = store();
    s.setValue(QStringLiteral("Settings/") + storedKey(key), text);
    s.sync();
}

std::optional<bool> settingBool(const QString &text)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return false;
    if (auto v = settingFloat(t)) return *v != 0.0;
    return std::nullopt;
}

std::optional<double> settingFloat(const QString &text)
{
    bool ok = false;
    const double v = userLocale().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

static std::optional<int64_t> roundInto(double v, int64_t lo, int64_t hi)
{
    if (!std::isfinite(v)) return std::nullopt;
    const double r = std::nearbyint(v);  // default rounding: halves to even
    if (!(r >= double(lo) && r <= double(hi))) return std::nullopt;
    return int64_t(r);
}

std::optional<int64_t> settingWhole(const QString &text, int64_t lo, int64_t hi)
{
    const auto v = settingFloat(text);
    if (!v) return std::nullopt;
    return roundInto(*v, lo, hi);
}

double leadingNumber(const QString &text)
{
    QString s;
    for (QChar c : text)
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t')) s.append(c);
    int i = 0;
    const int n = s.size();
    QString num;
    if (i < n && (s[i] == QLatin1Char('-') || s[i] == QLatin1Char('+'))) num.append(s[i++]);
    bool digits = false, dot = false;
    while (i < n) {
        const QChar c = s[i];
        if (c.isDigit() && c.unicode() < 128) {
            digits = true;
            num.append(c);
        } else if (c == QLatin1Char('.') && !dot) {
            dot = true;
            num.append(c);
        } else {
            break;
        }
        ++i;
    }
    if (!digits) return 0.0;
    // An exponent continues the number only when digits follow it.
    if (i < n && (s[i] == QLatin1Char('e') || s[i] == QLatin1Char('E'))) {
        int j = i + 1;
        QString ex = QStringLiteral("e");
        if (j < n && (s[j] == QLatin1Char('-') || s[j] == QLatin1Char('+'))) ex.append(s[j++]);
        bool exDigits = false;
        while (j < n && s[j].isDigit() && s[j].unicode() < 128) {
            ex.append(s[j++]);
            exDigits = true;
        }
        if (exDigits) num += ex;
    }
    bool ok = false;
    const double v = num.toDouble(&ok);
    return ok ? v : 0.0;
}

std::optional<int64_t> settingLeading(const QString &text, int64_t lo, int64_t hi)
{
    return roundInto(leadingNumber(text), lo, hi);
}

QString boolText(bool v) { return v ? QStringLiteral("True") : QStringLiteral("False"); }
QString wholeText(int64_t v) { return QString::number(v); }
QString floatText(double v) { return userLocale().toString(v, 'g', 7); }

namespace {

void readText(const char *key, const char *def, QString &var) { var = readsetting(QLatin1String(key), def); }

template <typename T>
void readWhole(const char *key, int def, T &var)
{
    if (auto v = settingWhole(readsetting(QLatin1String(key), def), std::numeric_limits<T>::min(), std::numeric_limits<T>::max()))
        var = T(*v);
}

template <typename T>
void readLeading(const char *key, const char *def, T &var)
{
    if (auto v = settingLeading(readsetting(QLatin1String(key), def), std::numeric_limits<T>::min(), std::numeric_limits<T>::max()))
        var = T(*v);
}

void readFloat(const char *key, double def, float &var)
{
    if (auto v = settingFloat(readsetting(QLatin1String(key), def))) {
        if (std::fabs(*v) <= 3.4028234663852886e38) var = float(*v);
    }
}

void readBool(const char *key, bool def, bool &var)
{
    if (auto v = settingBool(readsetting(QLatin1String(key), def))) var = *v;
}

}  // namespace

void readstartupsettings()
{
    AppSettings &s = settings;
    readText("LastProject", "Default.net", s.lastproject);
    readText("AdrgDrive", "C", s.adrgdrive);
    readText("ObjectDrive", "C", s.objectdrive);
    readText("DrawFontName", "MS Sans Serif", s.drawfontname);
    readWhole("DrawFontSize", 8, s.drawfontsize);
    readBool("DrawFontbold", true, s.drawfontbold);
    readBool("DrawFontItalic", false, s.drawfontitalic);
    readBool("DrawTransparent", true, s.drawtransparent);
    readBool("DrawObject", true, s.showobjects);
    readFloat("Def_h1", 2, s.defh1);
    readFloat("Def_h2", 2, s.defh2);
    for (int i = 0; i < 4; ++i) s.mru[i] = readsetting(QStringLiteral("Previous%1").arg(i), "");
    for (int i = 0; i < 3; ++i) s.drv[i] = readsetting(QStringLiteral("DRV%1").arg(i), "C");
    readLeading("GPSstatus", "0", s.gpsflags);
    s.gpsflags &= ~2;  // a replay never resumes by itself
    readLeading("GPSserial", "1", s.gpscom);
    readLeading("GPSspeed", "4800", s.gpsbaud);
    readLeading("GPSunit", "1", s.gpsunit);
    readText("GPSlog", "GPS.TXT", s.gpslog);
    readText("GPSudp", "231.31.31.31", s.gpsaddr);
    readLeading("GPSport", "3500", s.gpsport);
    readLeading("GPSTTL", "2", s.gpsttl);
    readFloat("GPStx", 10, s.gpstx);
    readFloat("GPSdraw", 10, s.gpsdraw);
    readFloat("GPSplay", 2, s.gpsplay);
}

bool readIgnoreMissing()
{
    bool v = false;
    readBool("IGNMIS", false, v);
    return v;
}

float readCovFloat(const QString &key, float def)
{
    float v = 0;
    if (auto r = settingFloat(readsetting(key, double(def)))) v = float(*r);
    return v;
}

WindowPlacement readplacement()
{
    WindowPlacement p;
    auto num = [](const char *key, double def, bool &ok) {
        const auto v = settingFloat(readsetting(QLatin1String(key), def));
        ok = v.has_value();
        return v ? *v : 0.0;
    };
    p.left = num("MainLeft", 1000, p.ok[0]);
    p.top = num("MainTop", 1000, p.ok[1]);
    p.width = num("MainWidth", 6500, p.ok[2]);
    p.height = num("MainHeight", 6500, p.ok[3]);
    return p;
}

void writeexitsettings(const WindowPlacement &main)
{
    const AppSettings &s = settings;
    auto place = [&](const char *key, double v) {
        writesetting(QLatin1String(key), main.normal ? floatText(v) : QStringLiteral("0"));
    };
    place("MainLeft", main.left);
    place("MainTop", main.top);
    place("MainWidth", main.width);
    place("MainHeight", main.height);
    writesetting(QStringLiteral("DrawFontName"), s.drawfontname);
    writesetting(QStringLiteral("DrawFontSize"), wholeText(s.drawfontsize));
    writesetting(QStringLiteral("DrawFontBold"), boolText(s.drawfontbold));
    writesetting(QStringLiteral("DrawFontItalic"), boolText(s.drawfontitalic));
    writesetting(QStringLiteral("DrawTransparent"), boolText(s.drawtransparent));
    writesetting(QStringLiteral("DrawObject"), boolText(s.showobjects));
    writesetting(QStringLiteral("AdrgDrive"), s.adrgdrive);
    writesetting(QStringLiteral("ObjectDrive"), s.objectdrive);
    writesetting(QStringLiteral("Def_h1"), floatText(s.defh1));
    writesetting(QStringLiteral("Def_h2"), floatText(s.defh2));
    writesetting(QStringLiteral("GPSstatus"), wholeText(s.gpsflags));
    writesetting(QStringLiteral("GPSserial"), wholeText(s.gpscom));
    writesetting(QStringLiteral("GPSspeed"), wholeText(s.gpsbaud));
    writesetting(QStringLiteral("GPSunit"), wholeText(s.gpsunit));
    writesetting(QStringLiteral("GPSlog"), s.gpslog);
    writesetting(QStringLiteral("GPSudp"), s.gpsaddr);
    writesetting(QStringLiteral("GPSport"), wholeText(s.gpsport));
    writesetting(QStringLiteral("GPSTTL"), wholeText(s.gpsttl));
    writesetting(QStringLiteral("GPStx"), floatText(s.gpstx));
    writesetting(QStringLiteral("GPSdraw"), floatText(s.gpsdraw));
    writesetting(QStringLiteral("GPSplay"), floatText(s.gpsplay));
    for (int i = 0; i < 4; ++i) writesetting(QStringLiteral("Previous%1").arg(i), s.mru[i]);
}

}  // namespace zk
