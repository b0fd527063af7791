// frmMapPro, the map-properties window: the user defines a new elevation
// map (centre, north-south extent, grid size in pixels, terrain sources and
// their data roots) and builds it. "Appliquer" reshapes the grid, extracts
// every selected source (Terrain, GTOPO30, DTED, in that order) and draws
// the new map as a 2D picture, into the window that already shows this map
// or into a new one.
//
// The window works on editmap (centre, extent, sources) and shows the
// corners it computes in editcorners; mapset changes only on Apply.
#pragma once

#include <QDialog>

#include <array>
#include <cstdint>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zk {

class frmMapPro : public QDialog {
    Q_OBJECT
public:
    // Loads the window (Form_Load) from mapset and the grid's size.
    explicit frmMapPro(QWidget *owner = nullptr);

    // Refills the fields from editmap and the pixel size, then updatesize().
    void updatefields();
    // Recomputes the derived texts and the corners.
    void updatesize();

    // The grid size being edited, pixels.
    int16_t gridwidth() const { return W_; }
    int16_t gridheight() const { return H_; }

    // Controls, by their names.
    QGroupBox *Frame1 = nullptr, *Frame3 = nullptr, *Frame4 = nullptr, *Frame5 = nullptr;
    QLineEdit *Text1 = nullptr, *Text2 = nullptr, *Text3 = nullptr, *Text4 = nullptr, *Text5 = nullptr,
              *Text6 = nullptr;
    std::array<QLineEdit *, 3> Text7{};
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label10 = nullptr;
    std::array<QCheckBox *, 3> Check1{};
    QCheckBox *Check2 = nullptr;
    QPushButton *Command1 = nullptr;  // "Mappemonde"
    QPushButton *Command2 = nullptr;  // "Choisir une ville"
    QPushButton *Command3 = nullptr;  // "Utiliser la position du curseur"
    QPushButton *Command4 = nullptr;  // "Entrer LAT LON ou" + " MGRS" / " QRA"
    QPushButton *Command5 = nullptr;  // "Appliquer"
    QPushButton *Command6 = nullptr;  // "Annuler"

    // Event handlers, by their names.
    void Text1_Change();
    void Text2_Change();
    void Text3_Change();
    void Text4_Change();
    void Text6_Change();
    void Text7_Change(int index);
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();

protected:
    void keyPressEvent(QKeyEvent *e) override;

private:
    int16_t W_ = 10, H_ = 10;
};

// Shows the window modeless, owned by the main window: a fresh loading each
// time (a window still open is closed first).
frmMapPro *showmappro();

// The picture file name of a map: its last three characters replaced by "bmp".
QString mappicturename(const QString &mapname);

// The corners list of the window: four blocks ("Supérieur gauche",
// "Supérieur droit", "Inférieur gauche", "Inférieur droit"), each the title,
// the longitude and the latitude text, separated by empty lines.
QString cornerslist(const float lon[4], const float lat[4]);

// The world map of the "Mappemonde" button (installed by the picture side;
// an empty one does nothing).
extern std::function<void()> mapproworldmap;

}  // namespace zk
