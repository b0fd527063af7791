// The program's version block: the texts and numbers that the banner, the
// About box and the datum loader read. One place, so that every window shows
// the same values.
#pragma once

#include <QString>

namespace zk::version {

inline constexpr int major = 3;
inline constexpr int minor = 5;
inline constexpr int revision = 4;

// "3.05.0004": the file version as the version block spells it.
inline QString fileVersion()
{
    return QStringLiteral("%1.%2.%3").arg(major).arg(minor, 2, 10, QLatin1Char('0')).arg(revision, 4, 10, QLatin1Char('0'));
}

inline QString productName() { return QStringLiteral("Kestrova pour Windows"); }
inline QString fileDescription() { return QStringLiteral("Propagation radio et cartes virtuelles, gratuitiel"); }
// The author's credit line.
inline QString companyName() { return QStringLiteral("Conçu par l'équipe Kestrova"); }

// The branded variant (organisation name, logo and web address of the
// maker) is on when the company name starts with this letter.
inline constexpr char brandLetter = 'Q';
inline bool branded(const QString &company) { return company.startsWith(QLatin1Char(brandLetter)); }

// The maker's organisation and its two web addresses: the first in the
// branded variant, the second otherwise.
inline QString organisation() { return QStringLiteral("QELTA"); }
inline QString brandedWebAddress() { return QStringLiteral("https://www.qelta.example/kestrova"); }
inline QString plainWebAddress() { return QStringLiteral("https://kestrova.example.org"); }

}  // namespace zk::version
