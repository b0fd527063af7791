#include "uisetup.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>

namespace zk::ui {

namespace {
constexpr const char *kFace = "Liberation Sans";
constexpr qreal kPoints = 8;
}  // namespace

QFont interfaceFont()
{
    QFont f(QString::fromLatin1(kFace));
    f.setPointSizeF(kPoints);
    f.setStyleHint(QFont::SansSerif);
    return f;
}

bool loadQtFrench(QCoreApplication &app)
{
    auto *t = new QTranslator(&app);
    if (!t->load(QStringLiteral("qtbase_fr"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete t;
        return false;
    }
    return QCoreApplication::installTranslator(t);
}

void setUpInterface()
{
    auto *app = qobject_cast<QApplication *>(QCoreApplication::instance());
    if (!app) return;
    if (!QFontDatabase::families().contains(QString::fromLatin1(kFace)))
        std::fprintf(stderr, "%s is missing: install the Debian package fonts-liberation\n", kFace);
    QApplication::setFont(interfaceFont());
    if (!loadQtFrench(*app))
        std::fprintf(stderr, "Qt's French texts (qtbase_fr.qm) are missing: install the Debian package qt6-translations-l10n\n");
}

}  // namespace zk::ui
