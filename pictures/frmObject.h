// frmObject, the object editor ("Éditeur d'objets"): a modeless tool window
// holding one track file or labels file as the list of its lines. Points and
// labels are added by clicking on picture windows while the add-points mode
// is on, edited in four boxes, deleted, and the file is saved as the list
// holds it. The saved files are drawn by pictures/overlays.h.
#pragma once

#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace zk {

class Shape;

// The add-points mode (picture clicks add entries) and the kind of object
// edited (0 track, 1 labels). Shared with the picture windows' click handler.
extern bool objedit;
extern int16_t objkind;

class frmObject : public QWidget {
    Q_OBJECT
public:
    // The main window's "Edition des objects": shows the editor, loading it
    // when it is not open.
    static frmObject *showEditor();
    // The editor when it is open, else null.
    static frmObject *loaded();

    // Controls, by their names.
    QListWidget *List1 = nullptr;
    QLabel *Label1 = nullptr;                 // file name and entry count
    QGroupBox *Frame1 = nullptr;
    std::array<QLineEdit *, 4> Text1{};       // the four fields of the current entry
    std::array<QLabel *, 4> Label2{};         // their captions
    Shape *Shape1 = nullptr;                  // line or text colour
    Shape *Shape2 = nullptr;                  // label background
    QPushButton *Command1 = nullptr;          // "Couleur"
    QPushButton *Command2 = nullptr;          // "Fond"
    QCheckBox *Check1 = nullptr;              // "Transparent"
    QLineEdit *Text2 = nullptr;               // "Epaisseur"
    QLabel *Label4 = nullptr;
    QPushButton *Command3 = nullptr;          // "Débuter ajouter" / "Arrêter ajouter"
    QPushButton *Command4 = nullptr;          // "Supprimer"
    QPushButton *Command5 = nullptr;          // "Prochaine séquence"
    QAction *mnuNewLines = nullptr, *mnuNewLabels = nullptr, *mnuOpen = nullptr, *mnuSave = nullptr,
            *mnuExit = nullptr;

    QString objfile;     // the file edited, proposed by the file dialogs
    int32_t objcount = 0;  // data entries
    bool objbusy = false;  // filling the controls: edits are not written back

    // Refreshes the read-out and the kind-dependent controls, then updatelist.
    void updatefile();
    // Refreshes the boxes, swatches and buttons from the current line.
    void updatelist();
    // Field k (from 1) of list line `line`, without double quotes; "" when
    // there is none.
    QString getprm(int line, int k) const;
    // Writes the boxes back into the current track point / label.
    void SetLine();
    void SetLabel();

    // The menu and button commands.
    void newtrack();
    void newlabels();
    void openfile();   // asks for the file
    void savefile();   // asks for the file
    bool openpath(const QString &path);
    bool savepath(const QString &path);
    void Command1_Click();  // "Couleur"
    void Command2_Click();  // "Fond"
    void Command3_Click();  // add-points mode
    void Command4_Click();  // "Supprimer"
    void Command5_Click();  // "Prochaine séquence"
    void Text2_Change();    // line width

    // A picture click: the entry line goes to the end of the list and
    // becomes the only selected and the current line.
    void addline(const QString &line);
    // -1 while picture clicks add nothing, else objkind.
    int addmode() const;

    // The first data line (6 for a track, 1 for labels) and the header count.
    int firstdata() const { return objkind == 0 ? 6 : 1; }

protected:
    void closeEvent(QCloseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    frmObject();
    void setobjedit(bool on);
    void rewriteheader(const QString &width, const QString &colour);
    bool datacurrent() const;
    int selectedcount() const;
};

// Sets the picture windows' hooks to the object editor (the mode and the
// lines appended by a click).
void installobjecthooks();

}  // namespace zk
