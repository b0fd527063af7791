// frmGPS, "Localisation GPS": the settings of the live positions (serial
// GPS, position sharing, replay of the GPS log). Modal, owned by the main
// window. "Appliquer" stores the values and reopens the channels,
// "Reprise" does the same and starts replaying the log, "Annuler" and Esc
// change nothing.
#pragma once

#include <QDialog>
#include <QString>

#include <array>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zk {
struct AppSettings;
}

namespace zk::positions {

// What the window's controls hold, as texts and states.
struct GpsFormValues {
    std::array<bool, 7> check{};  // Check1..Check6 (index 0 unused)
    QString text1, text3, text4, text5, text6, text7, text8, text9;
    bool baud9600 = false;        // Option1(1)
    int unitindex = 0;            // Combo1 entry, from 0
};

// A typed number: read from the start of the text, a point or a comma as
// the decimal separator (the boxes show numbers in the system's format),
// no digits giving 0.
double typednumber(const QString &text);

// Reads the values into the settings: the flags from the boxes (bit 2
// cleared), the port number rounded, the numbers clamped to their ranges
// and rounded where the variable is whole.
void gpsupdate(const GpsFormValues &v, AppSettings &s);

class frmGPS : public QDialog {
    Q_OBJECT
public:
    explicit frmGPS(QWidget *owner = nullptr);

    std::array<QCheckBox *, 7> Check{};  // Check1..Check6
    QLineEdit *Text1 = nullptr, *Text3 = nullptr, *Text4 = nullptr, *Text5 = nullptr, *Text6 = nullptr,
              *Text7 = nullptr, *Text8 = nullptr, *Text9 = nullptr;
    std::array<QRadioButton *, 2> Option1{};
    QComboBox *Combo1 = nullptr;
    QPushButton *Command1 = nullptr, *Command2 = nullptr, *Command3 = nullptr;

    // Form_Load: the controls from the variables (my unit clamped to 1..50).
    void load();
    // update: the variables from the controls.
    void update();
    GpsFormValues values() const;

private:
    void onApply();
    void onReplay();
};

// The GPS command: shows the window modal, owned by the main window.
void showgpswindow();

}  // namespace zk::positions
