// frmStrat, "Stratification de l'image": the altitude band and the colour of
// a stratification, remembered in the settings Strath1, Strath2, Stratcol.
#pragma once

#include <QDialog>

#include <cstdint>

class QLabel;
class QLineEdit;
class QPushButton;

namespace zk {

class Shape;

class frmStrat : public QDialog {
    Q_OBJECT
public:
    // Loads the dialog (Form_Load) from the settings.
    explicit frmStrat(QWidget *owner = nullptr);

    // Controls, by their names.
    QLineEdit *Text1 = nullptr;  // "Altitude minimale (m)"
    QLineEdit *Text2 = nullptr;  // "Altitude maximale (m)"
    QLabel *Label1 = nullptr, *Label2 = nullptr;
    Shape *Shape1 = nullptr;          // the colour swatch
    QPushButton *Command1 = nullptr;  // "Couleur"
    QPushButton *Command2 = nullptr;  // "Exécute"

    // The swatch colour, red in the low byte.
    uint32_t colour() const { return colour_; }
    void setColour(uint32_t c);

    // "Couleur": the colour dialog, starting from the swatch.
    void Command1_Click();
    // "Exécute": stores the settings, closes, and stratifies the current
    // picture when both altitudes are numbers.
    void Command2_Click();

private:
    uint32_t colour_ = 0;
};

}  // namespace zk
