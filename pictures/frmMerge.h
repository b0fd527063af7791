// frmMerge, "Mélange d'images": the user picks a source and a destination
// among the open pictures that have corners, and a merge mode by its button.
#pragma once

#include <QDialog>
#include <QList>
#include <QPointer>

#include <array>

class QComboBox;
class QLabel;
class QPushButton;

namespace zk {

class frmPic;

class frmMerge : public QDialog {
    Q_OBJECT
public:
    // Loads the dialog (Form_Load): both lists get the file names of the
    // picture windows of kind 1 or 2, in the order they were opened, and
    // select their last entry.
    explicit frmMerge(QWidget *owner = nullptr);

    // Controls, by their names.
    std::array<QComboBox *, 2> Combo1{};     // 0 source, 1 destination
    std::array<QLabel *, 2> Label1{};
    std::array<QPushButton *, 3> Command1{}; // "Copier", "Mélange addition", "Mélange multiplication"
    QPushButton *Command3 = nullptr;         // "Annuler"

    // The picture window behind a list entry (null when it went away).
    frmPic *entry(int index) const;

    // Merges with the button's mode when the two lists point at different
    // pictures; else nothing happens and the dialog stays.
    void Command1_Click(int index);

private:
    QList<QPointer<frmPic>> pics_;
};

}  // namespace zk
