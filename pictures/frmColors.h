// frmColors, the colour-scale editor ("Couleurs arc-en-ciel"): twelve colour
// buttons and the eleven thresholds between them, with the blend and legend
// switches, the relative and absolute scale presets and four colour
// presets. It edits the altitude thresholds (scalekind 0, opened from the
// picture-properties dialog) or only shows the signal thresholds (scalekind
// 1, opened from the coverage dialog). It changes the scale's globals on an
// apply button and nothing else; whoever opened it redraws if he wants.
#pragma once

#include <QDialog>

#include <array>
#include <cstdint>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zk {

class frmColors : public QDialog {
    Q_OBJECT
public:
    // Loads the dialog from the scale (Form_Load), for the kind in scalekind.
    explicit frmColors(QWidget *owner = nullptr);

    // Controls, by their names.
    QLabel *Label1 = nullptr;   // "Altitude (m)" or "Signal"
    QLabel *Label7 = nullptr;   // "Color"
    QLabel *Label8 = nullptr;   // "< " + the first threshold
    std::array<QPushButton *, 12> Command1{};  // the colours, captioned "1" .. "12"
    std::array<QLineEdit *, 11> Text1{};       // thresholds, box k level with colour k + 1
    std::array<QFrame *, 12> Shape1{};         // decoration of the rows
    QPushButton *Command2 = nullptr;  // "Appliquer"
    QPushButton *Command8 = nullptr;  // "Appliquer et garder"
    QPushButton *Command3 = nullptr;  // "Annuler"
    QCheckBox *Check1 = nullptr;      // "Montrer légende"
    QCheckBox *Check4 = nullptr;      // "Couleurs statifiées"
    QPushButton *Command5 = nullptr;  // "Échelle relative"
    QPushButton *Command6 = nullptr;  // "Échelle absolue"
    std::array<QPushButton *, 4> Command4{};  // "Couleurs 1" .. "Couleurs 4"

    // The colour a button shows (red in the low byte).
    uint32_t buttoncolor(int k) const;
    void setbuttoncolor(int k, uint32_t colour);

    // Event handlers, by their names.
    void Command1_Click(int index);
    void Command2_Click();
    void Command8_Click();
    void Command4_Click(int index);
    void Command5_Click();
    void Command6_Click();

protected:
    void keyPressEvent(QKeyEvent *e) override;

private:
    void apply();
    std::array<uint32_t, 12> shown_{};
};

// The dialog's own scale choice, kept for the whole run: 1 after "Échelle
// absolue", 0 after "Échelle relative". Each loading of the dialog starts it
// from the scale in use, so that applying without pressing either button
// keeps the scale as it was.
int16_t fixedscale();

// Shows the dialog modal, owned by the window.
void showcolors(QWidget *owner);

}  // namespace zk
