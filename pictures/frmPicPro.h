// frmPicPro, the picture-properties dialog: how a 2D picture of the map is
// drawn (draw mode, colour floor and ceiling, contrast, brightness, light
// azimuth, contour lines, cities and objects, label font and transparency)
// and the data roots of ADRG charts and objects. It edits the working copies
// editmap and editcorners, loaded from the map and from the active picture;
// "Appliquer" copies them back and sets runflag to 1 so that the caller
// redraws. Three buttons start other picture operations (ADRG chart, 3D
// picture, stereo picture) and one opens the colour-scale editor.
#pragma once

#include <QDialog>

#include <array>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zk {

class frmPic;

class frmPicPro : public QDialog {
    Q_OBJECT
public:
    // Loads the dialog (Form_Load: updatefields).
    explicit frmPicPro(QWidget *owner = nullptr);

    // Fills the working copies and every control.
    void updatefields();

    // Controls, by their names.
    QGroupBox *Frame2 = nullptr;
    std::array<QRadioButton *, 6> Option1{};
    std::array<QLineEdit *, 8> Text{};  // Text[1] .. Text[7] (index 0 unused)
    std::array<QLabel *, 9> Label{};    // Label[1] .. Label[8] (index 0 unused)
    QCheckBox *Check1 = nullptr, *Check2 = nullptr, *Check3 = nullptr, *Check4 = nullptr, *Check5 = nullptr,
              *Check6 = nullptr;
    QPushButton *Command1 = nullptr;  // "ADRG"
    QPushButton *Command2 = nullptr;  // "Appliquer"
    QPushButton *Command3 = nullptr;  // "Image 3D"
    QPushButton *Command4 = nullptr;  // "Police"
    QPushButton *Command5 = nullptr;  // "Annuler"
    QPushButton *Command6 = nullptr;  // "Stéréo"
    QPushButton *Command7 = nullptr;  // "Couleurs..."

    // Event handlers, by their names.
    void Option1_Click(int index);
    void Text_Change(int index);
    void Check3_Click();
    void Check5_Click();
    void Check6_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();

protected:
    void keyPressEvent(QKeyEvent *e) override;

private:
    void applyswitches();
};

// "Corresponds" when the picture is the 2D picture of the map in memory
// (kind 1, corners 1 and 3 on the map's within 0.0001 degree, not stereo,
// not the world map, its picture within 2 pixels of the grid's last
// indices), else "Ne corresponds pas".
QString correspondence(const frmPic *w);

// The operations of other parts that the dialog starts. An empty one is a
// step that is skipped.
struct PicProHooks {
    // openadrg(window or null): an ADRG chart from the root adrgdrive.
    std::function<void(frmPic *w)> openadrg;
    // Shows the 3D-picture dialog frm3Dpic modal, owned by the main window.
    std::function<void()> show3dpic;
    // drawstereo(): the red/blue stereo picture of the map.
    std::function<void()> drawstereo;
};
extern PicProHooks picprohooks;

}  // namespace zk
