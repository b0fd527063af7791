#include "frmMerge.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "base/routines.h"
#include "pictures/frmPic.h"
#include "pictures/merge.h"

namespace zk {

frmMerge::frmMerge(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmMerge"));
    setWindowTitle(QStringLiteral("Mélange d'images"));

    auto *g = new QGridLayout(this);
    static const char *const kLabels[2] = {"Image (source)", "Image (destination)"};
    for (int i = 0; i < 2; ++i) {
        Label1[size_t(i)] = new QLabel(QString::fromUtf8(kLabels[i]), this);
        Label1[size_t(i)]->setObjectName(QStringLiteral("Label1(%1)").arg(i));
        Combo1[size_t(i)] = new QComboBox(this);
        Combo1[size_t(i)]->setObjectName(QStringLiteral("Combo1(%1)").arg(i));
        Combo1[size_t(i)]->setPlaceholderText(QStringLiteral("Pas d'image"));
        Combo1[size_t(i)]->setMinimumContentsLength(24);
        g->addWidget(Label1[size_t(i)], 0, i);
        g->addWidget(Combo1[size_t(i)], 1, i);
    }
    static const char *const kButtons[3] = {"Copier", "Mélange addition", "Mélange multiplication"};
    auto *row = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        Command1[size_t(i)] = new QPushButton(QString::fromUtf8(kButtons[i]), this);
        Command1[size_t(i)]->setObjectName(QStringLiteral("Command1(%1)").arg(i));
        Command1[size_t(i)]->setAutoDefault(false);
        connect(Command1[size_t(i)], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
        row->addWidget(Command1[size_t(i)]);
    }
    Command3 = new QPushButton(QStringLiteral("Annuler"), this);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command3->setAutoDefault(false);
    connect(Command3, &QPushButton::clicked, this, &QDialog::reject);
    row->addWidget(Command3);
    g->addLayout(row, 2, 0, 1, 2);

    // Form_Load: the pictures with corners, by their file names.
    for (frmPic *p : picwindows()) {
        if (p->Pictype != 1 && p->Pictype != 2) continue;
        pics_.append(p);
        const QString name = fileof(p->Filename);
        Combo1[0]->addItem(name);
        Combo1[1]->addItem(name);
    }
    if (!pics_.isEmpty()) {
        Combo1[0]->setCurrentIndex(int(pics_.size()) - 1);
        Combo1[1]->setCurrentIndex(int(pics_.size()) - 1);
    }
}

frmPic *frmMerge::entry(int index) const
{
    if (index < 0 || index >= pics_.size()) return nullptr;
    return pics_.at(index).data();
}

void frmMerge::Command1_Click(int index)
{
    const int s = Combo1[0]->currentIndex(), d = Combo1[1]->currentIndex();
    // A picture is never merged into itself (nor anything when both lists
    // are empty).
    if (s == d) return;
    const QPointer<frmPic> src = entry(s), dst = entry(d);
    accept();
    QCoreApplication::processEvents();
    mergepics(src, dst, index);
}

}  // namespace zk
