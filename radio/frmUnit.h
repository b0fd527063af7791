// frmUnit, the station dialog ("Propriétés des stations"): the 50 units of
// the document (name, ground elevation, activation, the colours of the name
// label, the icon, the position from the map cursor, the position dialog or
// the city list) and the appending of a unit to the cities file. Every edit
// goes into `units` at once and redraws the unit on the pictures; "Défaire
// la station" puts back the unit as it was when it was selected in the list.
// There is no cancel button.
//
// Shown modal by the station-properties command and by a double click on a
// unit's label, both of which set curunit first (netmenus.h).
#pragma once

#include <QByteArray>
#include <QDialog>

#include "radio/radiodata.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollBar;

namespace zk {

// The line "Ajouter la station à cities.dat" appends for a unit, CR LF
// included: its text colour as upper-case hexadecimal, its latitude, its
// longitude west positive and its trimmed name, texts in double quotes,
// numbers with a point, Windows-1252. The name is written so that the
// readers of the file (which split at every comma and drop every double
// quote) read it back as one field: a double quote becomes an apostrophe, a
// comma a semicolon and a control character a blank.
QByteArray cityline(const UnitRecord &u);

// The header of a cities file that the dialog has to create.
QByteArray citiesheader();

class frmUnit : public QDialog {
    Q_OBJECT
public:
    // Form_Load: clears the pictures' drawings, fills the list and shows
    // unit curunit.
    explicit frmUnit(QWidget *owner = nullptr);

    // Shows unit curunit in the controls (their change rules store what
    // they show).
    void updatefields();

    // The unit as it was when it was selected last, and which one that is.
    const UnitRecord &backup() const { return backup_; }
    int lastselected() const { return last_; }

    // Controls, by their names.
    QListWidget *List1 = nullptr;
    QLabel *Label3 = nullptr, *Label5 = nullptr;
    QLineEdit *Text1 = nullptr;  // name
    QLineEdit *Text2 = nullptr;  // elevation
    QCheckBox *Check1 = nullptr;  // "Activée"
    QCheckBox *Check2 = nullptr;  // "Transparente"
    QLabel *Label4 = nullptr;     // "Exemple"
    QPushButton *Command9 = nullptr;  // "Couleur"
    QPushButton *Command8 = nullptr;  // "Fond"
    QLabel *Label6 = nullptr;
    QLabel *Image1 = nullptr;
    QScrollBar *HScroll1 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QLabel *Label1 = nullptr;  // grid reference
    QLabel *Label2 = nullptr;  // degrees, minutes, seconds
    QPushButton *Command3 = nullptr;  // "Importer la station de cities.dat"
    QPushButton *Command1 = nullptr;  // "Ajouter la station à cities.dat"
    QPushButton *Command4 = nullptr;  // "Entrer LAT LON ou" + " QRA" / " MGRS"
    QPushButton *Command5 = nullptr;  // "Placer la station à la position du curseur"
    QPushButton *Command6 = nullptr;  // "Placer le curseur à la position de la station"
    QPushButton *Command7 = nullptr;  // "Défaire la station"
    QPushButton *Command2 = nullptr;  // "Appliquer"

    // Event handlers, by their names.
    void List1_Click(int row);
    void Text1_Change();
    void Text2_Change();
    void Check1_Click();
    void Check2_Click();
    void Command9_Click();
    void Command8_Click();
    void HScroll1_Change();
    void Command1_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();

    // Closing by the user or by the dialog's own commands shows all units
    // again on every picture.
    void done(int result) override;

private:
    int unit() const;
    void setsample();
    void showicon(int position);

    UnitRecord backup_{};
    int last_ = 0;
};

}  // namespace zk
