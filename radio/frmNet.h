// frmNet, the network dialog ("Propriétés des réseaux"): the 25 networks of
// the document (propagation parameters, topology, members with their roles,
// radio systems and antenna heights), the 25 radio systems and the
// link-colour rules, on five tabs. Every edit goes into the tables at once;
// "Annuler" puts back the networks, the systems and the antenna heights as
// they were when the dialog opened, "Appliquer" stores the link-colour rules
// of the Style tab and closes, Esc and the close box close and keep the
// edits.
//
// The main window's network-properties command shows it modal and redraws
// or clears the network drawings afterwards (netmenus.h).
#pragma once

#include <QDialog>

#include <array>

#include "radio/radiodata.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;

namespace zk {

class frmNet : public QDialog {
    Q_OBJECT
public:
    // Form_Load: marks the document changed, clears the pictures' drawings,
    // keeps copies for "Annuler", fills the lists and shows network curnet.
    explicit frmNet(QWidget *owner = nullptr);

    // Shows network curnet in the controls (their change rules store what
    // they show).
    void updatefields();
    // Shows and stores the system and antenna height of the selected station.
    void updateheight();

    // Tabs and the left column.
    std::array<QPushButton *, 5> Command4{};  // "Paramètres" .. "Style"
    std::array<QFrame *, 5> tabframe{};
    QLabel *Label12 = nullptr, *Label13 = nullptr;
    QListWidget *List1 = nullptr;  // networks
    QListWidget *List5 = nullptr;  // systems
    QPushButton *Command1 = nullptr;  // "Appliquer"
    QPushButton *Command2 = nullptr;  // "Paramètres par défaut"
    QPushButton *Command3 = nullptr;  // "Annuler"

    // Paramètres.
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr, *Label5 = nullptr,
           *Label6 = nullptr, *Label31 = nullptr, *Label32 = nullptr, *Label33 = nullptr;
    QLineEdit *Text1 = nullptr, *Text2 = nullptr, *Text3 = nullptr, *Text4 = nullptr, *Text5 = nullptr,
              *Text6 = nullptr, *Text7 = nullptr, *Text8 = nullptr, *Text9 = nullptr;
    QGroupBox *Frame3 = nullptr, *Frame4 = nullptr, *Frame5 = nullptr;
    std::array<QRadioButton *, 2> Option1{};  // polarisation
    std::array<QRadioButton *, 4> Option2{};  // statistics mode
    std::array<QRadioButton *, 8> Option3{};  // climate, 1..7
    QCheckBox *Check2 = nullptr;              // urban factor

    // Topologie.
    std::array<QRadioButton *, 3> Option4{};
    QLabel *Label14 = nullptr;
    QLineEdit *Text11 = nullptr;  // retransmissions
    QCheckBox *Check1 = nullptr;  // "Visible"

    // Participants.
    QLabel *Label7 = nullptr;
    QListWidget *List2 = nullptr;  // the 50 stations, with check boxes
    QGroupBox *Frame1 = nullptr, *Frame2 = nullptr;
    QLabel *Label10 = nullptr, *Label8 = nullptr, *Label20 = nullptr;
    QComboBox *Combo2 = nullptr;  // roles
    QComboBox *Combo3 = nullptr;  // systems
    std::array<QRadioButton *, 2> Option5{};  // "Système" / "Autre"
    QLineEdit *Text17 = nullptr;

    // Système.
    QLabel *Label11 = nullptr, *Label15 = nullptr, *Label18 = nullptr, *Label9 = nullptr, *Label16 = nullptr,
           *Label17 = nullptr, *Label19 = nullptr;
    QLineEdit *Text10 = nullptr, *Text12 = nullptr, *Text13 = nullptr, *Text14 = nullptr, *Text15 = nullptr,
              *Text16 = nullptr;
    QComboBox *Combo1 = nullptr;  // predefined systems

    // Style.
    std::array<QCheckBox *, 4> Check3{};   // 1 red, 2 yellow, 3 green
    std::array<QLineEdit *, 3> Text18{};   // 1 yellow threshold, 2 green threshold
    QCheckBox *Check4 = nullptr;           // opaque background
    QLabel *Label21 = nullptr;

    // Event handlers, by their names.
    void Command4_Click(int index);
    void List1_Click(int row);
    void List2_Click(int row);
    void List2_ItemCheck(int row);
    void List5_Click(int row);
    void Combo1_Click(int index);
    void Combo2_Click(int index);
    void Combo3_Click(int index);
    void Option5_Click(int index);
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

private:
    void buildParams();
    void buildTopology();
    void buildMembers();
    void buildSystem();
    void buildStyle();
    void connectAll();
    void showtab(int index);
    void updatemember(int row);
    void showsystem(int k);
    void fillpredefined();
    void showthresholddbm(int k);
    int net() const;
    int selectedsystem() const;
    int selectedunit() const;

    // Copies taken at opening for "Annuler".
    std::array<NetRecord, kNets> savednets_{};
    std::array<SystemRecord, kSystems> savedsystems_{};
    NetHeights savedheights_;
    // While a system is being shown its threshold text is the stored value
    // rounded to two decimals of a microvolt: it must not be stored back.
    bool showingsystem_ = false;
};

}  // namespace zk
