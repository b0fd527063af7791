#include "commands.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrinter>
#include <QPrinterInfo>

#include <functional>
#include <memory>

#include "app/clipboard.h"
#include "app/mainwindow.h"
#include "app/mru.h"
#include "app/shutdown.h"
#include "base/dialogs.h"
#include "base/printing.h"
#include "base/settings.h"
#include "map/mapdata.h"
#include "map/mapfile.h"
#include "msgbox.h"
#include "pictures/frmPic.h"
#include "pictures/picfiles.h"
#include "radio/linkbudget.h"
#include "radio/netdoc.h"
#include "radio/netdraw.h"
#include "radio/radiodata.h"
#include "radio/unitdraw.h"

namespace zk {

namespace {

const QString kNetDescription = QStringLiteral("Fichier de réseaux (NET)");
const QString kMapDescription = QStringLiteral("Fichier carte (MAP)");

QWidget *owner() { return mainform; }

}  // namespace

void mnuFileNewNet_Click()
{
    const QString text = QStringLiteral("Effacer toutes les données du réseau ") + QStringLiteral("\r\n") +
                         settings.lastproject + QStringLiteral("?");
    if (msgbox(text, mbYesNo | mbQuestion) != idYes) return;
    if (CleanNet()) return;
    newnet(true);
}

void mnuFileOpenNet_Click()
{
    const QString name = getopenfile(owner(), settings.lastproject, kNetDescription, QStringLiteral("*.net"),
                                     QStringLiteral("Ouvrir des réseaux"), QStringLiteral("net"));
    if (name.isEmpty() || CleanNet()) return;
    opennet(name);
}

bool mnuFileSaveNet_Click()
{
    const QString name = getsavefile(owner(), settings.lastproject, kNetDescription, QStringLiteral("*.net"),
                                     QStringLiteral("Enregistrer les réseaux sous"), QStringLiteral("net"));
    if (name.isEmpty()) return false;
    return savenet(name);
}

void mnuFileOpenMap_Click()
{
    // A name that is not a map's is not proposed.
    if (mapfile.right(3).compare(QLatin1String("map"), Qt::CaseInsensitive) != 0) mapfile.clear();
    const QString name = getopenfile(owner(), mapfile, kMapDescription, QStringLiteral("*.map"),
                                     QStringLiteral("Ouvrir une carte"), QStringLiteral("map"));
    if (name.isEmpty()) return;
    const QString crlf = QStringLiteral("\r\n");
    if (openmap(name)) {
        msgbox(name + crlf + QStringLiteral("Largeur=") + QString::number(elevgrid.ubound1() + 1) + crlf +
                   QStringLiteral("Hauteur=") + QString::number(elevgrid.ubound2() + 1) + crlf +
                   QStringLiteral("Données d'altitude récupérées avec succès"),
               mbInformation | mbOK);
    } else {
        msgbox(QStringLiteral("Echec en cours de lecture") + crlf + name, mbExclamation | mbOK);
    }
}

bool mnuFileSaveMap_Click()
{
    const QString name = getsavefile(owner(), mapfile, kMapDescription, QStringLiteral("*.map"),
                                     QStringLiteral("Enregistrer la carte"), QStringLiteral("map"));
    if (name.isEmpty()) return false;
    return savemap(name);
}

void mnuFileOpenPic_Click()
{
    const QString name = getopenfile(owner(), QString(), QStringLiteral("Fichier image (BMP JPEG GIF)"),
                                     QStringLiteral("*.bmp;*.jpg;*.jpeg;*.gif"), QStringLiteral("Ouvrir une image"),
                                     QStringLiteral("bmp"));
    if (name.isEmpty()) return;
    openpicture(name, 2);
}

bool savepictureas(frmPic *w)
{
    if (!w) return false;
    const QString name = getsavefile(owner(), w->Filename, QStringLiteral("Fichier image (BMP)"), QStringLiteral("*.bmp"),
                                     QStringLiteral("Enregistrer l'image"), QStringLiteral("bmp"));
    if (name.isEmpty()) return false;
    return savepicture(w, name);
}

bool mnuFileSavePic_Click() { return savepictureas(activepic()); }

void mnuModel_Click(int index)
{
    if (index != 1 && index != 2) return;
    if (mainform) {
        if (QAction *a = mainform->action(QStringLiteral("mnuModel(%1)").arg(index))) a->setChecked(true);
        if (QAction *a = mainform->action(QStringLiteral("mnuModel(%1)").arg(3 - index))) a->setChecked(false);
    }
    lrprm.interf = index - 1;
    drawnets();
}

void mnuFileMRU_Click(int index) { loadprevious(int16_t(index)); }

void mnuViewShowNet_Click() { drawnets(); }

void mnuViewHideNet_Click() { clearoverlay(); }

void mnuFilePrint_Click()
{
    frmPic *w = activepic();
    if (!w) return;
    const QImage image = w->Picture1->image().copy();
    if (image.isNull() || image.height() <= 0) return;

    // One printer for the program: its orientation stays for the next job.
    static std::unique_ptr<QPrinter> printer;
    if (!printer) printer = std::make_unique<QPrinter>(QPrinter::HighResolution);

    QString pdf = printpdfoverride;
    const QPrinterInfo def = QPrinterInfo::defaultPrinter();
    if (pdf.isEmpty() && def.isNull()) pdf = printpdfname();
    if (!pdf.isEmpty()) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
    } else {
        printer->setOutputFormat(QPrinter::NativeFormat);
        printer->setPrinterName(def.printerName());
    }
    if (!printimage(image, *printer)) return;
    if (!pdf.isEmpty() && mainform) mainform->label2()->setText(QStringLiteral("Impression enregistrée dans ") + pdf);
}

void installcommands(frmMain *w)
{
    if (!w) return;
    connectitem(w, QStringLiteral("mnuFileNewNet"), [] { mnuFileNewNet_Click(); });
    connectitem(w, QStringLiteral("mnuFileOpenNet"), [] { mnuFileOpenNet_Click(); });
    connectitem(w, QStringLiteral("mnuFileSaveNet"), [] { mnuFileSaveNet_Click(); });
    connectitem(w, QStringLiteral("mnuFileOpenMap"), [] { mnuFileOpenMap_Click(); });
    connectitem(w, QStringLiteral("mnuFileSaveMap"), [] { mnuFileSaveMap_Click(); });
    connectitem(w, QStringLiteral("mnuFileOpenPic"), [] { mnuFileOpenPic_Click(); });
    connectitem(w, QStringLiteral("mnuFileSavePic"), [] { mnuFileSavePic_Click(); });
    for (int i = 1; i <= 2; ++i) connectitem(w, QStringLiteral("mnuModel(%1)").arg(i), [i] { mnuModel_Click(i); });
    connectitem(w, QStringLiteral("mnuFilePrint"), [] { mnuFilePrint_Click(); });
    for (int i = 0; i < 4; ++i) connectitem(w, QStringLiteral("mnuFileMRU(%1)").arg(i), [i] { mnuFileMRU_Click(i); });
    connectitem(w, QStringLiteral("mnuEditCopy"), [] { mnuEditCopy_Click(); });
    connectitem(w, QStringLiteral("mnuEditPaste"), [] { mnuEditPaste_Click(); });
    connectitem(w, QStringLiteral("mnuEditPasteNew"), [] { mnuEditPasteNew_Click(); });
    connectitem(w, QStringLiteral("mnuViewShowNet"), [] { mnuViewShowNet_Click(); });
    connectitem(w, QStringLiteral("mnuViewHideNet"), [] { mnuViewHideNet_Click(); });
}

}  // namespace zk
