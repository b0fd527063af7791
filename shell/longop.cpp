// Minimal long-operation protocol; the main window's running state (menus,
// toolbar, status panes, progress bar) hooks in here.
#include "longop.h"

#include <QCoreApplication>

#include "engine.h"

namespace zk {

int16_t runflag = 0;
int32_t progcount = 0;
float progtotal = 0;
int32_t tilecount = 0;
QWidget *mergepic = nullptr;
QWidget *viewpic = nullptr;

const char *optext(int code)
{
    static const char *const kTexts[] = {
        "",
        "Dessin de l'image 2D...",
        "Extraction des données GTOPO30...",
        "Ouverture du fichier carte...",
        "Compilation des statistiques de la carte...",
        "Extraction des données Terrain...",
        "Extraction des données DTED...",
        "Dessin de l'image 3D...",
        "Dessin de l'image ADRG...",
        "Dessin du panorama...",
        "Mélange des images...",
        "Calcul de la couverture ...",
        "Dessin d'une image stereo 2D...",
        "Mélange avec une carte Quo Vadis...",
    };
    return (code >= 1 && code <= 13) ? kTexts[code] : "";
}

static int32_t hook(int32_t counter) { return opcallback(counter); }

void beginop(int16_t code)
{
    progcount = 0;
    engine::callback(&hook);
    runflag = code;
}

int32_t opcallback(int32_t)
{
    QCoreApplication::processEvents();
    return runflag != 0 ? 1 : 0;
}

void showprogress(double) {}

void endop() { runflag = 0; }

}  // namespace zk
