// frm3Dpic, the 3D picture properties dialog: seven scroll bars place the
// camera of `view3d` (all but the map's extent), an eighth sets the altitude
// of networks on 3D pictures; a small preview sketches the map block from
// the camera after every change. "Appliquer" draws the 3D picture,
// "Annuler" restores the view found on opening, "Défaut" the defaults, and
// "Réseaux" draws the networks. Esc closes and keeps the moved values.
#pragma once

#include <QDialog>
#include <QPointer>

#include <array>

#include "pictures/frmPic.h"
#include "pictures/view3d.h"

class QLabel;
class QPushButton;
class QScrollBar;

namespace zk {

class PicBox;

class frm3Dpic : public QDialog {
    Q_OBJECT
public:
    // Loads the dialog (Form_Load): keeps a copy of view3d for "Annuler",
    // sets the bars from the view and names the picture it is for.
    explicit frm3Dpic(QWidget *owner = nullptr);

    // Clamps the view, redraws the preview and sets every bar from it.
    void updatectl();
    // Sketches the map block (base at sea level, top 500 m up, a north
    // marker) from the current camera into Picture3, and writes the
    // read-outs Label1(0..4).
    void preview3d();

    // True once "Appliquer" found a 2D picture of the map: the caller draws.
    bool applied() const { return applied_; }
    // The 3D picture the dialog was opened for (null for a new picture, or
    // when that window has closed since).
    frmPic *target() const { return target_; }

    // Controls, by their names.
    PicBox *Picture3 = nullptr;
    QScrollBar *VScroll1 = nullptr;  // ofy
    QScrollBar *VScroll2 = nullptr;  // phi
    QScrollBar *HScroll1 = nullptr;  // ofx
    QScrollBar *HScroll2 = nullptr;  // theta
    QScrollBar *HScroll3 = nullptr;  // disto
    QScrollBar *HScroll4 = nullptr;  // amplx
    QScrollBar *HScroll5 = nullptr;  // aper
    QScrollBar *HScroll6 = nullptr;  // netalt
    std::array<QLabel *, 6> Label1{};
    QPushButton *Command1 = nullptr;  // "Appliquer"
    QPushButton *Command2 = nullptr;  // "Annuler"
    QPushButton *Command3 = nullptr;  // "Défaut"
    QPushButton *Command4 = nullptr;  // "Réseaux"

    // Event handlers, by their names.
    void HScroll6_Change();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();

private:
    // A parameter bar changed: the parameter takes its value.
    void paramChange(float View3D::*field, const QScrollBar *bar);

    View3D saved_;
    bool applied_ = false;
    QPointer<frmPic> target_;
};

// Shows frm3Dpic modal over the main window and, when "Appliquer" closed it,
// draws the 3D picture: into a new window when new3d is set, else into the
// 3D picture that was active when the dialog opened.
void show3dpic();

// The read-out texts of the preview: "Angle horizontal 010°" and the like
// (a label, a blank, the value rounded and padded with zeros).
QString maskedvalue(const QString &label, float value, int digits, const QString &unit = QString());
// "Altitude des réseaux " followed by the altitude as the Str function
// writes it (a blank before a number that is not negative) and "m".
QString netalttext(float alt);

}  // namespace zk
