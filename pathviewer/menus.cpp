#include "menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace zk::pathviewer {

namespace {

QString arrayName(const char *array, int index)
{
    return QString::fromLatin1(array) + QLatin1Char('(') + QString::number(index) + QLatin1Char(')');
}

QMenu *addMenu(QWidget *parent, const char *array, int index, const QString &caption)
{
    QMenu *m = new QMenu(caption, parent);
    m->setObjectName(arrayName(array, index));
    m->menuAction()->setObjectName(arrayName(array, index));
    return m;
}

QAction *addItem(QMenu *menu, const char *array, int index, const QString &caption, bool checkable = false,
                 bool checked = false)
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(arrayName(array, index));
    a->setCheckable(checkable);
    a->setChecked(checked);
    return a;
}

QAction *addSeparator(QMenu *menu, const char *array, int index)
{
    QAction *a = menu->addSeparator();
    a->setObjectName(arrayName(array, index));
    return a;
}

}  // namespace

void buildMenus(QMenuBar *bar, Form1Menus &m)
{
    m.menu[1] = addMenu(bar, "menu", 1, QStringLiteral("&Fichier"));
    m.menu1[1] = addItem(m.menu[1], "menu1", 1, QStringLiteral("&Ouvrir"));
    m.menu1[3] = addSeparator(m.menu[1], "menu1", 3);
    m.menu1[4] = addItem(m.menu[1], "menu1", 4, QStringLiteral("&Fermer"));

    m.menu[2] = addMenu(bar, "menu", 2, QStringLiteral("&Edition"));
    m.menu2[1] = addItem(m.menu[2], "menu2", 1, QStringLiteral("&Copier"));
    m.menu2[2] = addSeparator(m.menu[2], "menu2", 2);
    m.menu2[3] = addItem(m.menu[2], "menu2", 3, QStringLiteral("&Inverser"));

    m.menu[3] = addMenu(bar, "menu", 3, QStringLiteral("&Options"));
    m.menu3[1] = addMenu(m.menu[3], "menu3", 1, QStringLiteral("&Zones de Fresnel"));
    m.menu31[1] = addItem(m.menu3[1], "menu31", 1, QStringLiteral("&0.6"), true, true);
    m.menu31[2] = addItem(m.menu3[1], "menu31", 2, QStringLiteral("&1"), true);
    m.menu31[3] = addItem(m.menu3[1], "menu31", 3, QStringLiteral("&2"), true);
    m.menu31[4] = addItem(m.menu3[1], "menu31", 4, QStringLiteral("&Dégagement"), true, true);

    m.menu3[2] = addMenu(m.menu[3], "menu3", 2, QStringLiteral("Courbure de la &terre"));
    m.menu32[1] = addItem(m.menu3[2], "menu32", 1, QStringLiteral("&Sol"), true, true);
    m.menu32[2] = addItem(m.menu3[2], "menu32", 2, QStringLiteral("&Faisceau"), true);

    m.menu3[3] = addMenu(m.menu[3], "menu3", 3, QStringLiteral("Echelle &verticale"));
    static const char *const kScales[7] = {nullptr, "&Automatique", "&1     1:1", "&2   10:1",
                                           "&3   20:1", "&4   50:1",   "&5 100:1"};
    for (int i = 1; i <= 6; ++i) m.menu33[size_t(i)] = addItem(m.menu3[3], "menu33", i, QString::fromLatin1(kScales[i]), true, i == 1);

    m.menu3[4] = addMenu(m.menu[3], "menu3", 4, QStringLiteral("&Couleurs"));
    m.menu34[1] = addItem(m.menu3[4], "menu34", 1, QStringLiteral("&Terre"));
    m.menu34[2] = addItem(m.menu3[4], "menu34", 2, QStringLiteral("&Sol"));
    m.menu34[3] = addItem(m.menu3[4], "menu34", 3, QStringLiteral("&Ciel"));

    m.menu3[5] = addMenu(m.menu[3], "menu3", 5, QStringLiteral("&Etiquettes"));
    m.menu35[1] = addItem(m.menu3[5], "menu35", 1, QStringLiteral("&Système"), true, true);
    m.menu35[2] = addItem(m.menu3[5], "menu35", 2, QStringLiteral("&Propagation"), true, true);

    m.menu[4] = addMenu(bar, "menu", 4, QStringLiteral("&Aide"));
    m.menu4[1] = addItem(m.menu[4], "menu4", 1, QStringLiteral("&A propos"));

    for (int i = 1; i <= 3; ++i) bar->addMenu(m.menu[size_t(i)]);
    for (int i = 1; i <= 5; ++i) m.menu[3]->addMenu(m.menu3[size_t(i)]);
    bar->addMenu(m.menu[4]);
}

}  // namespace zk::pathviewer
