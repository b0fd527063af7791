#include "radio/frmNet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include <algorithm>

#include "base/formkit.h"
#include "base/longop.h"
#include "base/routines.h"
#include "base/screen.h"
#include "base/settings.h"
#include "pictures/frmCustom.h"
#include "pictures/frmPic.h"
#include "radio/linkcolors.h"
#include "radio/radiosys.h"
#include "radio/roles.h"

namespace zk {

namespace {

// Where a tab frame or list that is not shown stands: out of view.
constexpr double kOutOfView_twips = -20000;
constexpr int kTabY = 40;
constexpr int kListX = 8;  // 120 twips

int px(double twips) { return qRound(twips / twipsPerPixelX()); }

QLabel *label(QWidget *parent, const QString &name, const QString &text, int x, int y, int w, int h = 20)
{
    return form::label(parent, name, text, QRect(x, y, w, h));
}

QLineEdit *field(QWidget *parent, const QString &name, int x, int y, int w)
{
    return form::field(parent, name, QRect(x, y, w, 22));
}

QPushButton *button(QWidget *parent, const QString &name, const QString &caption, int x, int y, int w, int h = 28)
{
    return form::button(parent, name, caption, QRect(x, y, w, h));
}

QRadioButton *option(QWidget *parent, const QString &name, const QString &caption, int x, int y, int w)
{
    return form::option(parent, name, caption, QRect(x, y, w, 22));
}

QCheckBox *check(QWidget *parent, const QString &name, const QString &caption, int x, int y, int w)
{
    return form::check(parent, name, caption, QRect(x, y, w, 22));
}

QGroupBox *frame(QWidget *parent, const QString &name, const QString &caption, int x, int y, int w, int h)
{
    auto *f = new QGroupBox(caption, parent);
    f->setObjectName(name);
    f->setGeometry(x, y, w, h);
    return f;
}

QString arrayName(const char *name, int index) { return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index); }

void settext(QLineEdit *box, const QString &text)
{
    box->setText(text);
    box->selectAll();
}

// Leaves both buttons of a group unchecked (a checked auto-exclusive radio
// button cannot be cleared otherwise).
void clearoptions(const std::array<QRadioButton *, 2> &group)
{
    for (QRadioButton *o : group) {
        o->setAutoExclusive(false);
        o->setChecked(false);
        o->setAutoExclusive(true);
    }
}

void setTextColor(QWidget *w, const QColor &c)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, c);
    w->setPalette(pal);
}

void setBackColor(QWidget *w, const QColor &c)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, c);
    pal.setColor(w->backgroundRole(), c);  // a button fills with its Button colour
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

// Numbers shown in a box: the value of a single as text in the user's locale.
QString num(float v) { return floatText(double(v)); }

}  // namespace

frmNet::frmNet(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmNet"));
    setWindowTitle(QStringLiteral("Propriétés des réseaux"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    static const char *const kTabs[5] = {"Paramètres", "Topologie", "Participants", "Système", "Style"};
    for (int i = 0; i < 5; ++i) {
        Command4[size_t(i)] = button(this, arrayName("Command4", i), QString::fromUtf8(kTabs[i]), 206 + i * 96, 8, 94);
        auto *f = new QFrame(this);
        f->setObjectName(arrayName("tabframe", i));
        f->setFrameShape(QFrame::StyledPanel);
        f->setGeometry(207, kTabY, 470, 420);
        tabframe[size_t(i)] = f;
    }
    Label13 = label(this, QStringLiteral("Label13"), QStringLiteral("Liste de tous les réseaux"), kListX, 44, 190, 18);
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setGeometry(kListX, 64, 190, 396);
    Label12 = label(this, QStringLiteral("Label12"), QStringLiteral("Liste de tous les systèmes"), kListX, 44, 190, 18);
    List5 = new QListWidget(this);
    List5->setObjectName(QStringLiteral("List5"));
    List5->setGeometry(kListX, 64, 190, 396);

    Command1 = button(this, QStringLiteral("Command1"), QStringLiteral("Appliquer"), 8, 470, 120);
    Command3 = button(this, QStringLiteral("Command3"), QStringLiteral("Annuler"), 136, 470, 120);
    Command2 = button(this, QStringLiteral("Command2"), QStringLiteral("Paramètres par défaut"), 264, 470, 190);

    buildParams();
    buildTopology();
    buildMembers();
    buildSystem();
    buildStyle();
    setFixedSize(685, 506);
    connectAll();

    // Form_Load.
    // 1. Opening the dialog counts as a change of the document.
    netmodified = true;
    // 2. No network drawing while the networks are being edited.
    for (frmPic *w : picwindows()) {
        if (!w->Picture1) continue;
        w->Picture1->cls();
        w->Picture1->refresh();
    }
    // 3.
    curnet = int16_t(std::clamp<int>(curnet, 1, kNets));
    // 4. Copies for "Annuler" (the antenna heights too: "Annuler" puts back
    // everything the dialog can change but the colour rules, which only
    // "Appliquer" writes) and the names.
    {
        const QSignalBlocker b3(Combo3);
        for (int i = 1; i <= kNets; ++i) {
            savednets_[size_t(i - 1)] = nets[i];
            List1->addItem(fixedText(nets[i].name).trimmed());
        }
        for (int i = 1; i <= kSystems; ++i) {
            savedsystems_[size_t(i - 1)] = systems[i];
            Combo3->addItem(fixedText(systems[i].name).trimmed());
            List5->addItem(fixedText(systems[i].name).trimmed());
        }
        Combo3->setCurrentIndex(-1);
        savedheights_ = netheight;
    }
    // 5. The stations, each with its check box.
    {
        const QSignalBlocker b2(List2);
        for (int u = 1; u <= kUnits; ++u) {
            QString text = fixedText(units[u].name, sizeof(units[u].name));
            text = text.leftJustified(int(sizeof(units[u].name)), QLatin1Char(' '));
            if (units[u].enabled == 0) text += QStringLiteral(" (Désactivée)");
            auto *item = new QListWidgetItem(text, List2);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
    }
    // 6. Predefined systems and the colour rules.
    fillpredefined();
    const LinkStyleTab tab = linkstyletab(linkstyle);
    settext(Text18[1], tab.yellow);
    settext(Text18[2], tab.green);
    for (int i = 1; i <= 3; ++i) Check3[size_t(i)]->setChecked(tab.draw[size_t(i - 1)]);
    Check4->setChecked(tab.opaque);
    // 7. The first predefined entry, system 1 and network curnet, on the
    // Paramètres tab.
    showtab(0);
    Combo1->setCurrentIndex(0);
    List5->setCurrentRow(0);
    List1->setCurrentRow(curnet - 1);
}

void frmNet::buildParams()
{
    QFrame *f = tabframe[0];
    const int lx = 8, tx = 250, lw = 238;
    Label1 = label(f, QStringLiteral("Label1"), QStringLiteral("Nom du réseau"), lx, 10, lw);
    Label1->setToolTip(QStringLiteral("Jusqu'à 30 caractères"));
    Text1 = field(f, QStringLiteral("Text1"), tx, 8, 210);
    Label2 = label(f, QStringLiteral("Label2"), QStringLiteral("Fréquence minimale (MHz)"), lx, 36, lw);
    Label2->setToolTip(QStringLiteral("20 à 20 000 MHz"));
    Text2 = field(f, QStringLiteral("Text2"), tx, 34, 100);
    Label3 = label(f, QStringLiteral("Label3"), QStringLiteral("Fréquence maximale  (MHz)"), lx, 62, lw);
    Label3->setToolTip(QStringLiteral("20 à 20 000 MHz"));
    Text3 = field(f, QStringLiteral("Text3"), tx, 60, 100);
    Label4 = label(f, QStringLiteral("Label4"), QStringLiteral("Réfractivité en surface (N-Units)"), lx, 88, lw);
    Label4->setToolTip(QStringLiteral("250 à 400 N-units"));
    Text7 = field(f, QStringLiteral("Text7"), tx, 86, 100);
    Label5 = label(f, QStringLiteral("Label5"), QStringLiteral("Conductivité du sol (S/m)"), lx, 114, lw);
    Label5->setToolTip(QStringLiteral("0.005 pour sol moyen "));
    Text8 = field(f, QStringLiteral("Text8"), tx, 112, 100);
    Label6 = label(f, QStringLiteral("Label6"), QStringLiteral("Permittivité relative du sol"), lx, 140, lw);
    Label6->setToolTip(QStringLiteral("15 pour sol moyen "));
    Text9 = field(f, QStringLiteral("Text9"), tx, 138, 100);

    Frame3 = frame(f, QStringLiteral("Frame3"), QStringLiteral("Polarisation"), 8, 168, 220, 70);
    Option1[0] = option(Frame3, arrayName("Option1", 0), QStringLiteral("Horizontale"), 10, 20, 200);
    Option1[1] = option(Frame3, arrayName("Option1", 1), QStringLiteral("Verticale"), 10, 42, 200);

    Frame5 = frame(f, QStringLiteral("Frame5"), QStringLiteral("Climat"), 8, 242, 220, 172);
    static const char *const kClimates[8] = {"",
                                             "Équatorial",
                                             "Continental sous-tropical",
                                             "Maritime sous-tropical",
                                             "Désert",
                                             "Continental tempéré",
                                             "Maritime tempéré sur terre",
                                             "Maritime tempéré sur mer"};
    for (int k = 1; k <= 7; ++k)
        // Seven climates 21 px apart: each option one step high, so that
        // none lies over the next.
        Option3[size_t(k)] = form::option(Frame5, arrayName("Option3", k), QString::fromUtf8(kClimates[k]),
                                          QRect(10, 18 + (k - 1) * 21, 205, 21));

    Frame4 = frame(f, QStringLiteral("Frame4"), QStringLiteral("Mode statistique"), 236, 168, 226, 246);
    static const char *const kModes[4] = {"Essai", "Accidentel", "Mobile", "Diffusion"};
    for (int k = 0; k < 4; ++k)
        Option2[size_t(k)] = option(Frame4, arrayName("Option2", k), QString::fromUtf8(kModes[k]), 10, 20 + k * 22, 200);
    Check2 = check(Frame4, QStringLiteral("Check2"), QStringLiteral("Ajouter le facteur urbain"), 10, 112, 210);
    Label31 = label(Frame4, QStringLiteral("Label31"), QStringLiteral("% du temps"), 10, 146, 130);
    Text4 = field(Frame4, QStringLiteral("Text4"), 144, 144, 70);
    Label32 = label(Frame4, QStringLiteral("Label32"), QStringLiteral("% des locations"), 10, 174, 130);
    Text5 = field(Frame4, QStringLiteral("Text5"), 144, 172, 70);
    Label33 = label(Frame4, QStringLiteral("Label33"), QStringLiteral("% des situations"), 10, 202, 130);
    Text6 = field(Frame4, QStringLiteral("Text6"), 144, 200, 70);
    for (QLabel *l : {Label31, Label32, Label33}) l->setToolTip(QStringLiteral("0.1 à 99.9%"));
}

void frmNet::buildTopology()
{
    QFrame *f = tabframe[1];
    static const char *const kTopologies[3] = {"Réseau de voix (Commande/Subordonné/Relais)",
                                               "Réseau de données,  topologie en étoile (Maître/Esclave)",
                                               "Réseau de données, essaim (Noeud/Terminal)"};
    for (int k = 0; k < 3; ++k)
        Option4[size_t(k)] = option(f, arrayName("Option4", k), QString::fromUtf8(kTopologies[k]), 10, 10 + k * 28, 450);
    Label14 = label(f, QStringLiteral("Label14"), QStringLiteral("Nombre maximal de retransmissions"), 10, 104, 260);
    Text11 = field(f, QStringLiteral("Text11"), 274, 102, 60);
    Text11->setToolTip(QStringLiteral("0 à 20 retransmissions"));
    Check1 = check(f, QStringLiteral("Check1"), QStringLiteral("Visible"), 10, 138, 200);
}

void frmNet::buildMembers()
{
    QFrame *f = tabframe[2];
    Label7 = label(f, QStringLiteral("Label7"), QStringLiteral("Liste des stations"), 8, 8, 220, 18);
    List2 = new QListWidget(f);
    List2->setObjectName(QStringLiteral("List2"));
    List2->setGeometry(8, 28, 226, 384);
    QFont mono(QStringLiteral("DejaVu Sans Mono"));
    mono.setStyleHint(QFont::TypeWriter);
    List2->setFont(mono);

    Frame1 = frame(f, QStringLiteral("Frame1"), QString(), 242, 28, 220, 250);
    Label10 = label(Frame1, QStringLiteral("Label10"), QStringLiteral("Rôle"), 10, 22, 200, 18);
    Combo2 = new QComboBox(Frame1);
    Combo2->setObjectName(QStringLiteral("Combo2"));
    Combo2->setGeometry(10, 42, 200, 24);
    Label8 = label(Frame1, QStringLiteral("Label8"), QStringLiteral("Système"), 10, 74, 200, 18);
    Combo3 = new QComboBox(Frame1);
    Combo3->setObjectName(QStringLiteral("Combo3"));
    Combo3->setGeometry(10, 94, 200, 24);
    Frame2 = frame(Frame1, QStringLiteral("Frame2"), QStringLiteral("Hauteur d'antenne (m)"), 10, 128, 200, 110);
    Option5[0] = option(Frame2, arrayName("Option5", 0), QStringLiteral("Système"), 8, 24, 90);
    Label20 = label(Frame2, QStringLiteral("Label20"), QString(), 104, 25, 86);
    Option5[1] = option(Frame2, arrayName("Option5", 1), QStringLiteral("Autre"), 8, 60, 90);
    Option5[1]->setToolTip(QStringLiteral("0.5 à 2999 m"));
    Text17 = field(Frame2, QStringLiteral("Text17"), 104, 60, 80);
}

void frmNet::buildSystem()
{
    QFrame *f = tabframe[3];
    Combo1 = new QComboBox(f);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setGeometry(8, 10, 320, 24);
    const int lx = 8, tx = 230, lw = 218;
    struct Row {
        QLabel **label;
        QLineEdit **text;
        const char *lname, *tname, *caption, *tip;
    };
    const Row rows[] = {
        {&Label11, &Text10, "Label11", "Text10", "Nom du système", "Jusqu'à 30 caractères"},
        {&Label15, &Text12, "Label15", "Text12", "Puissance d'émission (Watt)", "1.0E-8 à 1.0E+6 Watts"},
        {&Label18, &Text13, "Label18", "Text13", "Seuil de réception (µV)", "0.01 à 2000 microVolts"},
        {&Label16, &Text14, "Label16", "Text14", "Perte de ligne (dB)", "0 à 500 dB"},
        {&Label17, &Text15, "Label17", "Text15", "Gain d'antenne (dBi)", "-10 à 100 dBi"},
        {&Label19, &Text16, "Label19", "Text16", "Hauteur d'antenne (m)", "0.5 à 2999 m"},
    };
    int y = 50;
    for (const Row &r : rows) {
        *r.label = label(f, QLatin1String(r.lname), QString::fromUtf8(r.caption), lx, y + 2, lw);
        *r.text = field(f, QLatin1String(r.tname), tx, y, r.text == &Text10 ? 230 : 110);
        (*r.label)->setToolTip(QString::fromUtf8(r.tip));
        (*r.text)->setToolTip(QString::fromUtf8(r.tip));
        y += 30;
    }
    Label9 = label(f, QStringLiteral("Label9"), QString(), 346, Text13->y() + 2, 120);
}

void frmNet::buildStyle()
{
    QFrame *f = tabframe[4];
    Check3[3] = check(f, arrayName("Check3", 3), QStringLiteral("Dessiner une ligne verte si le signal RX (dB) is >="), 8, 10, 450);
    setBackColor(Check3[3], QColor(128, 255, 128));
    Text18[2] = field(f, arrayName("Text18", 2), 8, 38, 70);
    Check3[2] = check(f, arrayName("Check3", 2), QStringLiteral("Sinon dessiner une ligne jaune si le signal RX (dB) is >="), 8, 70, 450);
    setBackColor(Check3[2], QColor(255, 255, 128));
    Text18[1] = field(f, arrayName("Text18", 1), 8, 98, 70);
    Check3[1] = check(f, arrayName("Check3", 1), QStringLiteral("Sinon dessiner un ligne rouge"), 8, 130, 450);
    setBackColor(Check3[1], QColor(255, 128, 128));
    Check4 = check(f, QStringLiteral("Check4"), QStringLiteral("Dessiner avec fond opaque"), 8, 164, 300);
    Label21 = label(f, QStringLiteral("Label21"),
                    QStringLiteral("Noter que si la topologie est du type essaim et que le nombre de retransmissions>0 , "
                                   "alors la couleur jaune n'est pas affichée et les seuils pour le vert et le rouge sont "
                                   "mis a zéro."),
                    8, 200, 450, 80);
    Label21->setWordWrap(true);
    Label21->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void frmNet::connectAll()
{
    for (int i = 0; i < 5; ++i) connect(Command4[size_t(i)], &QPushButton::clicked, this, [this, i] { Command4_Click(i); });
    connect(List1, &QListWidget::currentRowChanged, this, &frmNet::List1_Click);
    connect(List5, &QListWidget::currentRowChanged, this, &frmNet::List5_Click);
    connect(List2, &QListWidget::currentRowChanged, this, &frmNet::List2_Click);
    connect(List2, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) { List2_ItemCheck(List2->row(item)); });
    connect(Combo1, &QComboBox::activated, this, &frmNet::Combo1_Click);
    connect(Combo2, &QComboBox::currentIndexChanged, this, &frmNet::Combo2_Click);
    connect(Combo3, &QComboBox::currentIndexChanged, this, &frmNet::Combo3_Click);
    for (int k = 0; k < 2; ++k)
        connect(Option5[size_t(k)], &QRadioButton::toggled, this, [this, k](bool on) {
            if (on) Option5_Click(k);
        });
    connect(Command1, &QPushButton::clicked, this, &frmNet::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmNet::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmNet::Command3_Click);

    // Live edits of the network shown.
    connect(Text1, &QLineEdit::textChanged, this, [this] {
        const int n = net();
        setFixedText(nets[n].name, Text1->text().trimmed());
        if (QListWidgetItem *it = List1->item(n - 1)) it->setText(fixedText(nets[n].name).trimmed());
    });
    auto ranged = [this](QLineEdit *box, double lo, double hi, float NetRecord::*field) {
        connect(box, &QLineEdit::textChanged, this, [this, box, lo, hi, field] { nets[net()].*field = float(checkrange(lo, hi, box)); });
    };
    ranged(Text2, 20, 20000, &NetRecord::fmin);
    ranged(Text3, 20, 20000, &NetRecord::fmax);
    ranged(Text4, 0.1, 99.9, &NetRecord::ptime);
    ranged(Text5, 0.1, 99.9, &NetRecord::ploc);
    ranged(Text6, 0.1, 99.9, &NetRecord::psit);
    ranged(Text7, 250, 400, &NetRecord::ns);
    ranged(Text8, 0.0001, 10000, &NetRecord::sigma);
    ranged(Text9, 0.0001, 10000, &NetRecord::eps);
    connect(Text11, &QLineEdit::textChanged, this, [this] { nets[net()].maxretrans = int16_t(roundEven(checkrange(0, 20, Text11))); });
    for (int k = 0; k < 2; ++k)
        connect(Option1[size_t(k)], &QRadioButton::toggled, this, [this, k](bool on) {
            if (on) nets[net()].polar = int16_t(k);
        });
    for (int k = 1; k <= 7; ++k)
        connect(Option3[size_t(k)], &QRadioButton::toggled, this, [this, k](bool on) {
            if (on) nets[net()].climate = int16_t(k);
        });
    for (int k = 0; k < 4; ++k)
        connect(Option2[size_t(k)], &QRadioButton::toggled, this, [this, k](bool on) {
            if (!on) return;
            nets[net()].statmode = int16_t(k + (Check2->isChecked() ? 100 : 0));
            // Accidentel needs % of locations only, Mobile % of time only.
            Text4->setEnabled(k == 2 || k == 3);
            Text5->setEnabled(k == 1 || k == 3);
        });
    connect(Check2, &QCheckBox::toggled, this, [this](bool on) {
        NetRecord &r = nets[net()];
        r.statmode = int16_t(r.statmode % 100 + (on ? 100 : 0));
    });
    for (int k = 0; k < 3; ++k)
        connect(Option4[size_t(k)], &QRadioButton::toggled, this, [this, k](bool on) {
            if (!on) return;
            NetRecord &r = nets[net()];
            const int visible = (uint16_t(r.topology) >> 8) & 1;
            r.topology = int16_t(k | (visible << 8));
            const bool mesh = k == 2;
            if (mesh) settext(Text11, QLatin1Char(' ') + QString::number(r.maxretrans));
            Label14->setEnabled(mesh);
            Text11->setEnabled(mesh);
        });
    connect(Check1, &QCheckBox::toggled, this, [this](bool on) {
        NetRecord &r = nets[net()];
        r.topology = on ? int16_t(uint16_t(r.topology) | 0x100) : int16_t(r.topology & 0xFF);
    });

    // Antenna height of the selected station.
    connect(Text17, &QLineEdit::textChanged, this, [this] {
        const double v = checkrange(0.5, 2999, Text17);
        const int u = selectedunit();
        if (Option5[1]->isChecked() && u >= 1) netheight(net(), u) = float(v);
    });

    // The system edited.
    connect(Text10, &QLineEdit::textChanged, this, [this] {
        const int k = selectedsystem();
        if (k < 1) return;
        setFixedText(systems[k].name, Text10->text());
        const QString shown = fixedText(systems[k].name).trimmed();
        if (QListWidgetItem *it = List5->item(k - 1)) it->setText(shown);
        Combo3->setItemText(k - 1, shown);
    });
    auto sysranged = [this](QLineEdit *box, double lo, double hi, float SystemRecord::*field) {
        connect(box, &QLineEdit::textChanged, this, [this, box, lo, hi, field] {
            const double v = checkrange(lo, hi, box);
            const int k = selectedsystem();
            if (k >= 1) systems[k].*field = float(v);
        });
    };
    sysranged(Text12, 1e-8, 1e6, &SystemRecord::power);
    sysranged(Text14, 0, 500, &SystemRecord::loss);
    sysranged(Text15, -10, 100, &SystemRecord::gain);
    connect(Text13, &QLineEdit::textChanged, this, [this] {
        const double uv = checkrange(0.01, 2000, Text13);
        const int k = selectedsystem();
        if (k < 1) return;
        if (!showingsystem_) systems[k].threshold = thresholddbm(uv);
        showthresholddbm(k);
    });
    connect(Text16, &QLineEdit::textChanged, this, [this] {
        const double v = checkrange(0.5, 2999, Text16);
        const int k = selectedsystem();
        if (k < 1) return;
        systems[k].height = float(v);
        updateheight();
    });
}

int frmNet::net() const { return std::clamp<int>(curnet, 1, kNets); }

int frmNet::selectedsystem() const
{
    const int r = List5->currentRow();
    return (r >= 0 && r < kSystems) ? r + 1 : 0;
}

int frmNet::selectedunit() const
{
    const int r = List2->currentRow();
    return (r >= 0 && r < kUnits) ? r + 1 : 0;
}

void frmNet::showtab(int index)
{
    for (int i = 0; i < 5; ++i) {
        QFont f = Command4[size_t(i)]->font();
        f.setBold(i == index);
        Command4[size_t(i)]->setFont(f);
    }
    const int left = Command4[0]->x() + px(20);
    for (int i = 0; i < 5; ++i) {
        QFrame *f = tabframe[size_t(i)];
        if (i == index) {
            f->move(left, kTabY);
            f->setEnabled(true);
            f->raise();
        } else {
            f->move(px(kOutOfView_twips), kTabY);
            f->setEnabled(false);
        }
    }
    const bool systemsTab = index == 3;
    Label12->move(systemsTab ? px(120) : px(kOutOfView_twips), Label12->y());
    List5->move(systemsTab ? px(120) : px(kOutOfView_twips), List5->y());
    Label13->move(systemsTab ? px(kOutOfView_twips) : px(120), Label13->y());
    List1->move(systemsTab ? px(kOutOfView_twips) : px(120), List1->y());
}

void frmNet::Command4_Click(int index)
{
    if (index < 0 || index > 4) return;
    updatefields();
    showtab(index);
}

void frmNet::List1_Click(int row)
{
    if (row + 1 < 1 || row + 1 > kNets) return;
    curnet = int16_t(row + 1);
    updatefields();
}

void frmNet::updatefields()
{
    const int n = net();
    // 1. Texts; each change rule stores what is shown (clamped).
    {
        const NetRecord r = nets[n];
        settext(Text1, fixedText(r.name).trimmed());
        settext(Text2, num(r.fmin));
        settext(Text3, num(r.fmax));
        settext(Text4, num(r.ptime));
        settext(Text5, num(r.ploc));
        settext(Text6, num(r.psit));
        settext(Text7, num(r.ns));
        settext(Text8, num(r.sigma));
        settext(Text9, num(r.eps));
    }
    // 2. Options.
    Option1[size_t(std::clamp<int>(nets[n].polar, 0, 1))]->setChecked(true);
    Option3[size_t(std::clamp<int>(nets[n].climate, 1, 7))]->setChecked(true);
    Check2->setChecked(nets[n].statmode >= 100);
    Option2[size_t(std::clamp<int>(nets[n].statmode % 100, 0, 3))]->setChecked(true);

    // 3. The check marks of the stations; runflag keeps their events from
    // running the member panel.
    runflag = 1;
    const int selected = List2->currentRow();
    {
        const QSignalBlocker b(Combo2);
        Combo2->clear();
        curtopo = int16_t(nets[n].topology & 0xFF);
        topologyname();
        for (const QString &role : rolenames)
            if (!role.isEmpty()) Combo2->addItem(role);
        Combo2->setCurrentIndex(-1);
    }
    for (int u = 1; u <= kUnits; ++u)
        if (QListWidgetItem *it = List2->item(u - 1)) it->setCheckState((nets[n].member[u - 1] & 128) ? Qt::Checked : Qt::Unchecked);
    List2->setCurrentRow(-1);
    runflag = 0;
    if (selected >= 0) List2->setCurrentRow(selected);

    // 4. Visible and topology. A topology byte the dialog has no option for
    // (a file from elsewhere) is shown and stored as a mesh, which is how
    // every reader of the byte already takes it.
    Check1->setChecked(nets[n].topology >= 256);
    if ((nets[n].topology & 0xFF) > 2) nets[n].topology = int16_t((nets[n].topology & 0xFF00) | 2);
    const int topo = nets[n].topology & 0xFF;
    Option4[size_t(topo)]->setChecked(true);
    // The retransmissions box belongs to the network shown, also when the
    // previous network had the same topology (no option event then).
    if (topo == 2) settext(Text11, QLatin1Char(' ') + QString::number(nets[n].maxretrans));
}

void frmNet::List2_Click(int row) { updatemember(row); }

void frmNet::List2_ItemCheck(int row)
{
    if (runflag != 0) return;
    // A check mark belongs to the station it is on: that station becomes the
    // selected one, whose panel the role and system lists edit.
    if (List2->currentRow() != row) List2->setCurrentRow(row);
    updatemember(row);
}

void frmNet::updatemember(int row)
{
    if (runflag != 0) return;
    const int u = row + 1;
    if (u < 1 || u > kUnits) return;
    const int n = net();
    // 1. A role the topology does not have becomes 0.
    int role = nets[n].member[u - 1] & 127;
    if (role > Combo2->count() - 1) role = 0;
    Combo2->setCurrentIndex(role);
    const int s = nets[n].system[u - 1];
    if (s >= 1 && s <= kSystems) {
        Combo3->setCurrentIndex(s - 1);
        updateheight();
    } else {
        // A system number the tables do not hold (a damaged or foreign
        // file): no system and no height are shown, never those of the
        // station shown before, and nothing is stored until one is chosen.
        Combo3->setCurrentIndex(-1);
        clearoptions(Option5);
        Label20->clear();
        Text17->clear();
    }
    // 2.
    Label10->setText(QStringLiteral("Rôle de ") + fixedText(units[u].name).trimmed());
    // 3.
    QListWidgetItem *it = List2->item(row);
    if (it && it->checkState() == Qt::Checked) {
        nets[n].member[u - 1] = uint8_t(role | 128);
        Frame1->setTitle(QStringLiteral("Membre de ") + fixedText(nets[n].name).trimmed());
        setTextColor(Frame1, QColor(0, 0, 0));
        Frame1->setEnabled(true);
    } else {
        nets[n].member[u - 1] = uint8_t(nets[n].member[u - 1] & 127);
        Frame1->setTitle(QStringLiteral("Non membre"));
        setTextColor(Frame1, QColor(200, 0, 0));
        Frame1->setEnabled(false);
    }
}

void frmNet::Combo2_Click(int index)
{
    const int u = selectedunit();
    if (u < 1 || index < 0) return;
    nets[net()].member[u - 1] = uint8_t(128 | index);
}

void frmNet::Combo3_Click(int) { updateheight(); }

void frmNet::updateheight()
{
    const int u = selectedunit();
    const int k = Combo3->currentIndex();
    if (u < 1 || k < 0) return;
    const int n = net();
    const int s = std::clamp(k + 1, 1, kSystems);
    // 1.
    nets[n].system[u - 1] = uint8_t(s);
    // 2.
    Label20->setText(num(systems[s].height));
    // 3. With neither option selected, showing the height stores nothing.
    clearoptions(Option5);
    Text17->setText(num(std::max(0.5f, netheight(n, u))));
    checkrange(0.5, 2999, Text17);
    // 4.
    Option5[netheight(n, u) == 0 ? 0 : 1]->setChecked(true);
}

void frmNet::Option5_Click(int index)
{
    const int u = selectedunit();
    if (u < 1) return;
    const int n = net();
    if (index == 0) {
        netheight(n, u) = 0;
        Text17->setEnabled(false);
    } else {
        Text17->setEnabled(true);
        netheight(n, u) = float(checkrange(0.5, 2999, Text17));
    }
}

void frmNet::List5_Click(int row)
{
    if (row < 0 || row >= kSystems) return;
    showsystem(row + 1);
}

void frmNet::showsystem(int k)
{
    const SystemRecord s = systems[k];
    showingsystem_ = true;
    settext(Text10, fixedText(s.name).trimmed());
    settext(Text12, num(s.power));
    settext(Text13, maskText(thresholduv(s.threshold), 1, 2));
    settext(Text14, num(s.loss));
    settext(Text15, num(s.gain));
    settext(Text16, num(s.height));
    showingsystem_ = false;
    // The box may not have changed (two systems with the same rounded
    // microvolts): the dBm label always follows the system shown.
    checkrange(0.01, 2000, Text13);
    showthresholddbm(k);
}

void frmNet::showthresholddbm(int k)
{
    Label9->setText(QStringLiteral("( ") + maskText(systems[k].threshold, 1, 1) + QStringLiteral(" dBm )"));
}

void frmNet::fillpredefined()
{
    const QSignalBlocker b(Combo1);
    Combo1->addItem(QStringLiteral("Prédéfinis..."));
    QFile f(radiosysfile());
    if (!f.open(QIODevice::ReadOnly)) return;
    Combo1->addItems(predefinednames(radiosyslines(f)));
}

void frmNet::Combo1_Click(int index)
{
    const QString chosen = Combo1->itemText(index);
    QFile f(radiosysfile());
    if (f.open(QIODevice::ReadOnly)) {
        const QStringList lines = radiosyslines(f);
        f.close();
        QLineEdit *const boxes[5] = {Text12, Text13, Text14, Text15, Text16};
        for (const QStringList &g : predefinedmatches(lines, chosen)) {
            Text10->setText(g[0]);
            for (qsizetype i = 1; i < g.size(); ++i) boxes[i - 1]->setText(predefinedvalue(g[i]));
        }
    }
    const QSignalBlocker b(Combo1);
    Combo1->setCurrentIndex(0);
}

void frmNet::Command1_Click()
{
    LinkStyleTab tab;
    tab.yellow = Text18[1]->text();
    tab.green = Text18[2]->text();
    for (int i = 1; i <= 3; ++i) tab.draw[size_t(i - 1)] = Check3[size_t(i)]->isChecked();
    tab.opaque = Check4->isChecked();
    linkstyle = storelinkstyle(tab, linkstyle);
    accept();
}

void frmNet::Command2_Click()
{
    netdefaults(int16_t(net()));
    updatefields();
}

void frmNet::Command3_Click()
{
    for (int i = 1; i <= kNets; ++i) nets[i] = savednets_[size_t(i - 1)];
    for (int i = 1; i <= kSystems; ++i) systems[i] = savedsystems_[size_t(i - 1)];
    netheight = savedheights_;
    reject();
}

}  // namespace zk
