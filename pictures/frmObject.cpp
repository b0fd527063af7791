#include "frmObject.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDate>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QSaveFile>
#include <QTime>
#include <QVBoxLayout>

#include <algorithm>

#include "base/controls.h"
#include "base/controls.h"
#include "base/dialogs.h"
#include "base/dialogs.h"
#include "base/hooks.h"
#include "base/hooks.h"
#include "base/longop.h"
#include "base/longop.h"
#include "base/placement.h"
#include "base/routines.h"
#include "base/routines.h"
#include "base/settings.h"
#include "base/settings.h"
#include "cp1252.h"
#include "msgbox.h"
#include "pictures/cursor.h"
#include "pictures/mainlink.h"
#include "pictures/objectfiles.h"
#include "pictures/picbox.h"
#include "pictures/pichooks.h"

namespace zk {

bool objedit = false;
int16_t objkind = 0;

namespace {

QPointer<frmObject> g_editor;

const QString kFilter = QStringLiteral("Fichier objet (PLT DAT)");
const QString kPattern = QStringLiteral("*.plt;*.dat");

// A number of the file as the box shows it: the user's decimal separator,
// so that reading the box back (in the user's number format) gives the same
// number. Other texts stay as they are.
QString boxnumber(const QString &field)
{
    const QString t = field.trimmed();
    bool ok = false;
    QLocale::c().toDouble(t, &ok);
    if (!ok) return field;
    QString s = t;
    return s.replace(QLatin1Char('.'), QLocale().decimalPoint());
}

// A text field as the file holds it: in double quotes when it has a comma,
// so the comma stays inside the field (its own double quotes would end the
// quoted part early, and readers drop them anyway).
QString textfield(QString text)
{
    if (!text.contains(QLatin1Char(','))) return text;
    text.remove(QLatin1Char('"'));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString hexcolour(uint32_t c) { return QString::number(c & 0xFFFFFF, 16).toUpper(); }

}  // namespace

frmObject *frmObject::loaded() { return g_editor; }

frmObject *frmObject::showEditor()
{
    if (!g_editor) g_editor = new frmObject;
    // On screen and active, so that its keys reach it.
    showPlaced(g_editor);
    return g_editor;
}

frmObject::frmObject() : QWidget(mainowner(), Qt::Tool)
{
    setObjectName(QStringLiteral("frmObject"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Éditeur d'objets"));
    setProperty("objedit", false);

    auto *menubar = new QMenuBar(this);
    QMenu *file = menubar->addMenu(QStringLiteral("&Fichier"));
    file->setObjectName(QStringLiteral("mnuFile"));
    QMenu *fresh = file->addMenu(QStringLiteral("&Nouveau"));
    fresh->setObjectName(QStringLiteral("mnuNew"));
    mnuNewLines = fresh->addAction(QStringLiteral("&Lignes"));
    mnuNewLines->setObjectName(QStringLiteral("mnuNewLines"));
    mnuNewLabels = fresh->addAction(QStringLiteral("&Etiquettes"));
    mnuNewLabels->setObjectName(QStringLiteral("mnuNewLabels"));
    mnuOpen = file->addAction(QStringLiteral("&Ouvrir"));
    mnuOpen->setObjectName(QStringLiteral("mnuOpen"));
    mnuSave = file->addAction(QStringLiteral("&Enregistrer"));
    mnuSave->setObjectName(QStringLiteral("mnuSave"));
    file->addSeparator();
    mnuExit = file->addAction(QStringLiteral("&Exit"));
    mnuExit->setObjectName(QStringLiteral("mnuExit"));
    connect(mnuNewLines, &QAction::triggered, this, &frmObject::newtrack);
    connect(mnuNewLabels, &QAction::triggered, this, &frmObject::newlabels);
    connect(mnuOpen, &QAction::triggered, this, &frmObject::openfile);
    connect(mnuSave, &QAction::triggered, this, &frmObject::savefile);
    connect(mnuExit, &QAction::triggered, this, &QWidget::close);

    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    List1->setMinimumWidth(300);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));

    Frame1 = new QGroupBox(QStringLiteral("Lignes"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto *grid = new QGridLayout(Frame1);
    for (int i = 0; i < 4; ++i) {
        Label2[size_t(i)] = new QLabel(Frame1);
        Label2[size_t(i)]->setObjectName(QStringLiteral("Label2(%1)").arg(i));
        Text1[size_t(i)] = new QLineEdit(Frame1);
        Text1[size_t(i)]->setObjectName(QStringLiteral("Text1(%1)").arg(i));
        grid->addWidget(Label2[size_t(i)], i, 0);
        grid->addWidget(Text1[size_t(i)], i, 1);
        connect(Text1[size_t(i)], &QLineEdit::textChanged, this, [this] {
            if (objbusy) return;
            if (objkind == 0) SetLine();
            else SetLabel();
        });
    }
    Label2[0]->setText(QStringLiteral("Latitude"));
    Label2[1]->setText(QStringLiteral("Longitude"));
    Label2[2]->setText(QStringLiteral("Séquence"));
    Label2[3]->setText(QStringLiteral("Altitude"));

    Shape1 = new Shape(Frame1, Shape::Rectangle, Qt::black, Qt::black);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setFixedSize(24, 16);
    Command1 = new QPushButton(QStringLiteral("Couleur"), Frame1);
    Command1->setObjectName(QStringLiteral("Command1"));
    Shape2 = new Shape(Frame1, Shape::Rectangle, Qt::white, Qt::black);
    Shape2->setObjectName(QStringLiteral("Shape2"));
    Shape2->setFixedSize(24, 16);
    Command2 = new QPushButton(QStringLiteral("Fond"), Frame1);
    Command2->setObjectName(QStringLiteral("Command2"));
    Check1 = new QCheckBox(QStringLiteral("Transparent"), Frame1);
    Check1->setObjectName(QStringLiteral("Check1"));
    Label4 = new QLabel(QStringLiteral("Epaisseur"), Frame1);
    Label4->setObjectName(QStringLiteral("Label4"));
    Text2 = new QLineEdit(Frame1);
    Text2->setObjectName(QStringLiteral("Text2"));
    grid->addWidget(Shape1, 4, 0);
    grid->addWidget(Command1, 4, 1);
    grid->addWidget(Shape2, 5, 0);
    grid->addWidget(Command2, 5, 1);
    grid->addWidget(Check1, 6, 1);
    grid->addWidget(Label4, 7, 0);
    grid->addWidget(Text2, 7, 1);

    Command3 = new QPushButton(QStringLiteral("Débuter ajouter"), this);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command4 = new QPushButton(QStringLiteral("Supprimer"), this);
    Command4->setObjectName(QStringLiteral("Command4"));
    Command5 = new QPushButton(QStringLiteral("Prochaine séquence"), this);
    Command5->setObjectName(QStringLiteral("Command5"));
    connect(Command1, &QPushButton::clicked, this, &frmObject::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmObject::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmObject::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &frmObject::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &frmObject::Command5_Click);
    connect(Check1, &QCheckBox::clicked, this, [this] { SetLabel(); });
    connect(Text2, &QLineEdit::textChanged, this, &frmObject::Text2_Change);
    connect(List1, &QListWidget::itemSelectionChanged, this, [this] {
        if (!objbusy) updatelist();
    });
    connect(List1, &QListWidget::currentRowChanged, this, [this] {
        if (!objbusy) updatelist();
    });

    auto *side = new QVBoxLayout;
    side->addWidget(Label1);
    side->addWidget(Frame1);
    side->addWidget(Command3);
    side->addWidget(Command4);
    side->addWidget(Command5);
    side->addStretch(1);
    auto *body = new QHBoxLayout;
    body->addWidget(List1, 1);
    body->addLayout(side);
    auto *outer = new QVBoxLayout(this);
    outer->setMenuBar(menubar);
    outer->addLayout(body);
    // Controls come and go with the current line; the window keeps its size.
    outer->setSizeConstraint(QLayout::SetNoConstraint);
    resize(560, 380);

    // The first open dialog starts in the object folder.
    objfile = objectroot() + QStringLiteral("*.*");
    updatefile();
}

void frmObject::setobjedit(bool on)
{
    objedit = on;
    setProperty("objedit", on);
}

bool frmObject::datacurrent() const
{
    const int cur = List1->currentRow();
    return cur >= firstdata() && cur < List1->count();
}

int frmObject::selectedcount() const { return int(List1->selectedItems().size()); }

int frmObject::addmode() const
{
    if (!objedit || selectedcount() > 1) return -1;
    return objkind;
}

QString frmObject::getprm(int line, int k) const
{
    if (line < 0 || line >= List1->count() || k < 1) return QString();
    const QStringList f = splitfields(List1->item(line)->text());
    return k <= f.size() ? unquoted(f[k - 1]) : QString();
}

void frmObject::updatefile()
{
    const bool was = objbusy;
    objbusy = true;
    const bool track = objkind == 0;
    objcount = std::max(0, List1->count() - firstdata());
    if (track) {
        const double c = std::clamp(leadingNumber(getprm(4, 3)), 0.0, 4294967295.0);
        Shape1->setFillColor(qcolor(uint32_t(c) & 0xFFFFFF));
        Shape2->hide();
        Command2->hide();
        Text2->setText(getprm(4, 2));
        Text2->show();
        Label4->show();
        Label2[2]->setText(QStringLiteral("Séquence"));
        Label2[3]->setText(QStringLiteral("Altitude"));
    } else {
        Text2->hide();
        Label4->hide();
        Label2[2]->setText(QStringLiteral("Text"));
        Label2[3]->setText(QStringLiteral("Position"));
    }
    Label1->setText(fileof(objfile) + QLatin1Char('\n') + QString::number(objcount) + QStringLiteral(" entrées"));
    updatelist();
    objbusy = was;
}

void frmObject::updatelist()
{
    const bool was = objbusy;
    objbusy = true;
    const bool track = objkind == 0;
    QString caption = track ? QStringLiteral("Lignes") : QStringLiteral("Étiquettes");
    if (track) {
        Command1->show();
        Shape1->show();
        Text2->show();
        Label4->show();
        Check1->hide();
    } else {
        Text2->hide();
        Label4->hide();
    }
    const int cur = List1->currentRow();
    const bool data = datacurrent();
    if (data && selectedcount() == 1) {
        const int entry = cur - (track ? 5 : 0);
        if (track) {
            for (int i = 0; i < 4; ++i) Text1[size_t(i)]->setText(boxnumber(getprm(cur, i + 1)));
            Command5->show();
        } else {
            const auto f = labelfields(List1->item(cur)->text()).value_or(std::array<QString, 6>{});
            Shape1->setFillColor(qcolor(leadhex(f[0])));
            if (f[5].trimmed() == QLatin1String("-1")) {
                Check1->setChecked(true);
            } else {
                Shape2->setFillColor(qcolor(leadhex(f[5])));
                Check1->setChecked(false);
            }
            Shape2->show();
            Check1->show();
            Command2->show();
            Text1[0]->setText(boxnumber(f[1]));
            Text1[1]->setText(boxnumber(f[2]));
            Text1[2]->setText(f[3]);
            Text1[3]->setText(boxnumber(f[4]));
            Command5->hide();
        }
        for (int i = 0; i < 4; ++i) {
            Text1[size_t(i)]->show();
            Label2[size_t(i)]->show();
        }
        caption += QStringLiteral(" # ") + QString::number(entry);
        Command1->show();
        Command3->show();
        Command4->show();
        Shape1->show();
        showcursor(float(localeValue(Text1[1]->text())), float(localeValue(Text1[0]->text())));
    } else {
        for (int i = 0; i < 4; ++i) {
            Text1[size_t(i)]->hide();
            Label2[size_t(i)]->hide();
        }
        Command2->hide();
        Shape2->hide();
        Shape1->hide();
        if (!track) {
            Command1->hide();
            Check1->hide();
        }
        Command3->setVisible(List1->count() == firstdata());
        Command5->hide();
    }
    Frame1->setTitle(caption);
    Command4->setVisible(selectedcount() >= 1 && data);
    Command3->setText(objedit ? QStringLiteral("Arrêter ajouter") : QStringLiteral("Débuter ajouter"));
    objbusy = was;
}

void frmObject::SetLine()
{
    if (objbusy || objkind != 0 || !datacurrent()) return;
    const double lat = checkrange(-90, 90, Text1[0]);
    const double lon = checkrange(-180, 180, Text1[1]);
    const double code = checkrange(0, 1, Text1[2]);
    const double alt = checkrange(-777, 29999, Text1[3]);
    List1->currentItem()->setText(FixNbr(float(lat)) + QLatin1Char(',') + FixNbr(float(lon)) + QLatin1Char(',') +
                                  plainnumber(code) + QLatin1Char(',') + plainnumber(alt));
}

void frmObject::SetLabel()
{
    if (objbusy || objkind != 1 || !datacurrent()) return;
    const double lat = checkrange(-90, 90, Text1[0]);
    const double lon = checkrange(-180, 180, Text1[1]);
    const double pos = checkrange(0, 4, Text1[3]);
    const QString back = Check1->isChecked() ? QStringLiteral("-1") : hexcolour(rgbof(Shape2->fillColor()));
    List1->currentItem()->setText(hexcolour(rgbof(Shape1->fillColor())) + QLatin1Char(',') + FixNbr(float(lat)) +
                                  QLatin1Char(',') + FixNbr(float(lon)) + QLatin1Char(',') +
                                  textfield(Text1[2]->text().trimmed()) + QLatin1Char(',') + plainnumber(pos) +
                                  QLatin1Char(',') + back);
}

void frmObject::rewriteheader(const QString &width, const QString &colour)
{
    if (List1->count() < 5 || getprm(4, 1) != QLatin1String("0")) return;
    List1->item(4)->setText(QStringLiteral("0,") + width + QLatin1Char(',') + colour + QLatin1Char(',') +
                            textfield(getprm(4, 4)));
}

void frmObject::newtrack()
{
    objbusy = true;
    List1->clear();
    const QLocale l;
    QString stamp = l.toString(QDate::currentDate(), QLocale::ShortFormat) + QLatin1Char(' ') +
                    l.toString(QTime::currentTime(), QStringLiteral("HH:mm:ss"));
    // The description is one field.
    stamp.replace(QLatin1Char(','), QLatin1Char(' '));
    List1->addItems({QStringLiteral("OziExplorer Track Point File Version 2.1"), QStringLiteral("WGS 84"),
                     QStringLiteral("Altitude is in Feet"), QStringLiteral("Reserved 3"),
                     QStringLiteral("0,1,0,") + stamp, QStringLiteral("0")});
    objbusy = false;
    objfile = QStringLiteral("L1X-line00.plt");
    objkind = 0;
    setobjedit(true);
    updatefile();
    hooks::clearoverlay();
}

void frmObject::newlabels()
{
    objbusy = true;
    List1->clear();
    List1->addItem(QStringLiteral("Kestrova Labels"));
    objbusy = false;
    objfile = QStringLiteral("labels.dat");
    objkind = 1;
    setobjedit(true);
    updatefile();
    hooks::clearoverlay();
}

void frmObject::openfile()
{
    const QString path =
        getopenfile(this, objfile, kFilter, kPattern, QStringLiteral("Ouvrir un fichier objet"), QString());
    if (path.isEmpty()) return;
    openpath(path);
}

bool frmObject::openpath(const QString &path)
{
    objfile = path;
    objbusy = true;
    List1->clear();
    objkind = path.right(3).compare(QLatin1String("plt"), Qt::CaseInsensitive) == 0 ? 0 : 1;
    // A track keeps the four fields it uses (the points of OziExplorer files
    // carry dates after them). A label of more than six fields is a text
    // written with commas in it: the line stays as it is, so that nothing of
    // the text is cut or moved.
    QString error;
    const auto lines = readobjectlines(path, &error);
    if (lines) {
        for (const QString &line : *lines) {
            QStringList f = splitfields(line);
            QString joined;
            if (objkind == 1 && f.size() > 6) {
                joined = line.trimmed();
            } else {
                if (objkind == 0 && f.size() > 4) f = f.mid(0, 4);
                for (QString &s : f) s = s.trimmed();
                joined = f.join(QLatin1Char(','));
            }
            if (!joined.trimmed().isEmpty()) List1->addItem(joined);
        }
    }
    objbusy = false;
    updatefile();
    const int first = std::min(firstdata(), List1->count() - 1);
    if (first >= 0) {
        List1->setCurrentRow(first, QItemSelectionModel::NoUpdate);
        if (first >= firstdata()) List1->item(first)->setSelected(true);
    }
    updatelist();
    if (!lines) {
        msgbox(QStringLiteral("Le fichier objet n'a pas pu être lu :\r\n") + path + QStringLiteral("\r\n") + error,
               mbOK | mbExclamation);
        return false;
    }
    return true;
}

void frmObject::savefile()
{
    // A name typed without an extension gets the one of the kind being
    // saved: a label file named ".plt" would reopen as a track.
    const QString extension = objkind == 0 ? QStringLiteral("plt") : QStringLiteral("dat");
    const QString path =
        getsavefile(this, objfile, kFilter, kPattern, QStringLiteral("Enregistrer le fichier objet"), extension);
    if (path.isEmpty()) return;
    savepath(path);
}

bool frmObject::savepath(const QString &path)
{
    objfile = path;
    QByteArray bytes;
    const auto put = [&bytes](const QString &line) { bytes += toCp1252(line.trimmed()) + "\r\n"; };
    const int n = List1->count();
    if (objkind == 0) {
        for (int i = 0; i <= 4 && i < n; ++i) put(List1->item(i)->text());
        put(QString::number(std::max(0, n - 6)));
        for (int i = 6; i < n; ++i) put(List1->item(i)->text());
    } else {
        for (int i = 0; i < n; ++i) put(List1->item(i)->text());
    }
    QSaveFile f(path);
    bool ok = f.open(QIODevice::WriteOnly);
    ok = ok && f.write(bytes) == bytes.size();
    ok = ok && f.commit();
    if (!ok) {
        const QString why = f.errorString();
        f.cancelWriting();
        msgbox(QStringLiteral("Le fichier objet n'a pas pu être enregistré :\r\n") + path + QStringLiteral("\r\n") + why,
               mbOK | mbExclamation);
    }
    updatefile();
    return ok;
}

void frmObject::Command1_Click()
{
    const uint32_t c = pickcolor(this, rgbof(Shape1->fillColor()));
    Shape1->setFillColor(qcolor(c));
    if (objbusy) return;
    if (objkind == 1) SetLabel();
    else rewriteheader(getprm(4, 2), QString::number(c & 0xFFFFFF));
}

void frmObject::Command2_Click()
{
    const uint32_t c = pickcolor(this, rgbof(Shape2->fillColor()));
    Shape2->setFillColor(qcolor(c));
    Check1->setChecked(false);
    SetLabel();
}

void frmObject::Command3_Click()
{
    setobjedit(!objedit);
    updatelist();
}

void frmObject::Command4_Click()
{
    objbusy = true;
    for (int i = List1->count() - 1; i >= firstdata(); --i)
        if (List1->item(i)->isSelected()) delete List1->takeItem(i);
    objbusy = false;
    updatefile();
}

void frmObject::Command5_Click()
{
    if (objkind != 0) return;
    objbusy = true;
    const int cur = List1->currentRow();
    if (cur >= 0) List1->item(cur)->setSelected(false);
    List1->setCurrentRow(-1, QItemSelectionModel::NoUpdate);
    for (int i = std::max(cur + 1, 6); i < List1->count(); ++i) {
        if (leadingNumber(getprm(i, 3)) == 1.0) {
            List1->setCurrentRow(i, QItemSelectionModel::NoUpdate);
            List1->item(i)->setSelected(true);
            break;
        }
    }
    objbusy = false;
    updatelist();
}

void frmObject::Text2_Change()
{
    if (objbusy || objkind != 0) return;
    const long long w = roundEven(checkrange(1, 9, Text2));
    objbusy = true;
    rewriteheader(QString::number(w), getprm(4, 3));
    objbusy = false;
}

void frmObject::addline(const QString &line)
{
    // The coordinates as FixNbr writes them.
    QStringList f = splitfields(line);
    const int lat = objkind == 0 ? 0 : 1;
    if (f.size() > lat + 1) {
        f[lat] = FixNbr(float(leadingNumber(f[lat])));
        f[lat + 1] = FixNbr(float(leadingNumber(f[lat + 1])));
    }
    objbusy = true;
    List1->addItem(f.join(QLatin1Char(',')));
    List1->clearSelection();
    const int last = List1->count() - 1;
    List1->item(last)->setSelected(true);
    List1->setCurrentRow(last, QItemSelectionModel::NoUpdate);
    objbusy = false;
    updatefile();
}

void frmObject::closeEvent(QCloseEvent *e)
{
    setobjedit(false);
    if (msgbox(QStringLiteral("Fermer l'éditeur d'objets"), mbYesNo | mbQuestion) == idYes) {
        e->accept();
        return;
    }
    e->ignore();
    updatelist();
    runflag = 0;
}

void frmObject::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(e);
}

void installobjecthooks()
{
    pichooks.objectaddmode = [] {
        frmObject *e = frmObject::loaded();
        return e ? e->addmode() : -1;
    };
    pichooks.objectaddline = [](const QString &line) {
        if (frmObject *e = frmObject::loaded()) e->addline(line);
    };
}

}  // namespace zk
